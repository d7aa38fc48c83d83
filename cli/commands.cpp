#include "cli/commands.h"

#include "cli/sample_data.h"
#include "document/document_reader.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/file_session.h"
#include "document/io_code.h"
#include "document/name_codec.h"
#include "document/record_codec.h"
#include "document/whole_file.h"
#include "tabletext/table_io.h"
#include "tabletext/value_text.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace cli {

// The export, the import and the value forms are the table text the editor shares.
using namespace tabletext;

namespace {

/** An import source larger than this is refused: a full table exports to about 100 KB. */
constexpr std::int64_t kMaxSourceSize = 16 * 1024 * 1024;

[[noreturn]] void failOn(const std::string& path, const doc::Error& error) {
    throw CommandError(path + ": " + error.what());
}

doc::StoredDocument readStored(const std::string& path) {
    try {
        return doc::readStoredDocument(doc::FileSystem::real(), path);
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
}

doc::ObjectTable tableOf(const doc::StoredDocument& stored) {
    doc::ObjectTable table;
    for (int r = 0; r < stored.count; ++r) {
        table.records[static_cast<std::size_t>(r)] = stored.records[static_cast<std::size_t>(r)];
        table.names[static_cast<std::size_t>(r)] = stored.names[static_cast<std::size_t>(r)];
    }
    table.lastIndex = static_cast<std::uint16_t>(stored.count - 1);
    return table;
}

void write(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

std::string readSource(const std::string& path) {
    try {
        const auto file = doc::FileSystem::real().openReadOnly(path);
        std::string text;
        char buffer[65536];
        for (;;) {
            const std::size_t got =
                file->readAt(static_cast<std::int64_t>(text.size()), buffer, sizeof buffer);
            if (got == 0)
                break;
            text.append(buffer, got);
            if (static_cast<std::int64_t>(text.size()) > kMaxSourceSize)
                throw CommandError(path + ": larger than an export can be (16 MB)");
        }
        file->close();
        return text;
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

std::u32string namesSlotText(const doc::StoredDocument& stored, int r) {
    return doc::readNameSlot(stored.names[static_cast<std::size_t>(r)]);
}

/** Made-up names for the sample: nothing in them comes from the game. */
std::u32string sampleName(int r) {
    static const char* const kFirst[] = {"Ash", "Bel", "Cor", "Dun", "Eld", "Fen",
                                         "Gal", "Hal", "Ivo", "Jor", "Kel", "Lum"};
    static const char* const kLast[] = {"wick", "mere", "ford", "crest", "vale", "holt", "stead"};
    static const char* const kThing[] = {"Tower",  "Barge", "Lantern", "Crate", "Mill",
                                         "Beacon", "Cart",  "Well",    "Gate",  "Kiln"};
    const std::string name = std::string(kFirst[r % 12]) + kLast[(r / 12) % 7] + " " +
                             kThing[(r * 7) % 10] + " " + std::to_string(r);
    return std::u32string(name.begin(), name.end());
}

} // namespace

void finishOutput() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw CommandError(std::string("cannot write the output: ") + std::strerror(errno));
}

int runShow(const std::string& path, std::optional<int> record) {
    const doc::StoredDocument stored = readStored(path);
    if (!record) {
        std::string out = std::to_string(stored.count) + " records" +
                          (stored.hasNamesFile ? "" : ", no names file") +
                          "\nRec#;Class;Type;Object Name\n";
        // The escapes leave the digits and the ";" of a row text as they are.
        for (int r = 0; r < stored.count; ++r)
            out += escapedForTerminal(doc::rowText(r, stored.records[static_cast<std::size_t>(r)],
                                                   namesSlotText(stored, r))) +
                   '\n';
        write(out);
        return 0;
    }
    if (*record < 0 || *record >= stored.count)
        throw CommandError("record " + std::to_string(*record) + " does not exist (records 0 to " +
                           std::to_string(stored.count - 1) + ")");
    const auto& fields = stored.records[static_cast<std::size_t>(*record)].fields;
    std::string out = "record: " + std::to_string(*record) +
                      "\nname: " + escapedForTerminal(namesSlotText(stored, *record)) + '\n';
    for (const doc::FieldInfo& field : doc::kFields)
        out += std::string(field.shortName) + ": " +
               valueText(field.type, fields[static_cast<std::size_t>(field.index)]) + '\n';
    write(out);
    return 0;
}

int runExport(const std::string& path, ExportFormat format, const std::string& outputPath,
              bool byteOrderMark) {
    const doc::ObjectTable table = tableOf(readStored(path));
    const std::string text = format == ExportFormat::Csv
                                 ? (byteOrderMark ? "\xEF\xBB\xBF" : "") + exportCsv(table)
                                 : exportJson(table);
    if (outputPath.empty()) {
        write(text);
        return 0;
    }
    if (sameFile(outputPath, path) || sameFile(outputPath, doc::namesFilePath(path)))
        throw CommandError(outputPath +
                           ": is the data file or its names file; it is left as it is");
    try {
        // Replaced whole, so a failed export leaves the previous file as it was.
        auto& files = doc::FileSystem::real();
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        doc::placeWholeFile(files, outputPath, std::span(bytes, text.size()), true)->close();
        files.syncFolderOf(outputPath);
    } catch (const doc::Error& e) {
        failOn(outputPath, e);
    }
    return 0;
}

int runImport(const std::string& path, const std::string& sourcePath, bool dryRun) {
    const std::string source = readSource(sourcePath);
    // Checked against the files as they are first, so that a bad source creates nothing.
    const doc::StoredDocument stored = readStored(path);
    ImportPlan plan = planImport(tableOf(stored), source);
    if (!plan.errors.empty()) {
        std::string out;
        for (const std::string& error : plan.errors)
            out += sourcePath + ": " + error + '\n';
        std::fputs(out.c_str(), stderr);
        throw CommandError(std::to_string(plan.errors.size()) +
                           (plan.errors.size() == 1 ? " error" : " errors") + "; nothing written");
    }
    if (!dryRun) {
        doc::FileSession session;
        try {
            session.open(path);
            // Against the opened table again when the open created the names file: it holds
            // names the first reading did not see.
            if (!stored.hasNamesFile)
                plan = planImport(session.table(), source);
            if (!plan.changes.empty()) {
                for (int i = 0; i < plan.added; ++i)
                    session.appendRecord();
                session.table() = plan.result;
                session.save();
            }
            session.close();
        } catch (const doc::Error& e) {
            failOn(path, e);
        }
    }
    std::string out;
    for (const std::string& change : plan.changes)
        out += change + '\n';
    out += std::to_string(plan.changes.size()) +
           (plan.changes.size() == 1 ? " change" : " changes") +
           (dryRun                 ? "; nothing written (dry run)\n"
            : plan.changes.empty() ? "; nothing written\n"
                                   : " written\n");
    write(out);
    return 0;
}

int runScale(const std::string& path, doc::ScalePercentages damage, doc::ScalePercentages size) {
    doc::FileSession session;
    int scaled = 0;
    try {
        session.open(path);
        doc::scaleTable(session.table(), damage, size);
        session.save();
        session.close();
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
    for (int r = 0; r < session.table().recordCount(); ++r)
        scaled += doc::isScaled(session.table().records[static_cast<std::size_t>(r)]);
    write("Scaled " + std::to_string(scaled) + " of " +
          std::to_string(session.table().recordCount()) + " records: damage " +
          std::to_string(damage.from) + "% -> " + std::to_string(damage.to) + "%, sizes " +
          std::to_string(size.from) + "% -> " + std::to_string(size.to) + "%\n");
    return 0;
}

int runDiff(const std::string& first, const std::string& second) {
    const doc::StoredDocument a = readStored(first);
    const doc::StoredDocument b = readStored(second);
    std::string out;
    for (int r = 0; r < std::max(a.count, b.count); ++r) {
        if (r >= a.count || r >= b.count) {
            out +=
                "record " + std::to_string(r) + " only in " + (r < a.count ? first : second) + '\n';
            continue;
        }
        const std::u32string nameA = namesSlotText(a, r);
        const std::u32string nameB = namesSlotText(b, r);
        if (nameA != nameB)
            out += nameChangeLine(r, nameA, nameB) + '\n';
        const auto& fa = a.records[static_cast<std::size_t>(r)].fields;
        const auto& fb = b.records[static_cast<std::size_t>(r)].fields;
        for (int k = 0; k < doc::kFieldCount; ++k)
            if (fa[static_cast<std::size_t>(k)] != fb[static_cast<std::size_t>(k)])
                out += fieldChangeLine(r, k, fa[static_cast<std::size_t>(k)],
                                       fb[static_cast<std::size_t>(k)]) +
                       '\n';
    }
    write(out);
    return out.empty() ? 0 : 1;
}

int runCheck(const std::string& path) {
    std::vector<std::string> problems;
    auto& files = doc::FileSystem::real();
    std::unique_ptr<doc::FileHandle> data;
    try {
        data = files.openReadOnly(path);
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
    // How many whole units of size from offset the file holds, up to wanted.
    const auto held = [](doc::FileHandle& file, std::int64_t offset, int size, int wanted) {
        int low = 0, high = wanted;
        while (low < high) {
            const int middle = (low + high + 1) / 2;
            std::uint8_t byte = 0;
            if (file.readAt(offset + std::int64_t{size} * middle - 1, &byte, 1) == 1)
                low = middle;
            else
                high = middle - 1;
        }
        return low;
    };
    int count = 0;
    try {
        count = doc::readRecordCount(*data);
    } catch (const doc::Error& e) {
        problems.push_back(std::string("record count: ") + e.what());
    }
    std::vector<doc::ObjectRecord> records;
    if (count > 0) {
        const int whole = held(*data, doc::kHeaderSize, doc::kRecordSize, count);
        if (whole < count)
            problems.push_back("data file: holds " + std::to_string(whole) + " of the " +
                               std::to_string(count) + " records its count names");
        records = doc::readRecords(*data, whole);
    }
    data->close();

    const std::string namesPath = doc::namesFilePath(path);
    switch (files.kindOf(namesPath)) {
    case doc::PathKind::Missing:
        problems.push_back("names file: " + namesPath + " is missing (the editor creates it)");
        break;
    case doc::PathKind::Other:
        problems.push_back("names file: " + namesPath + ": " +
                           doc::IoError::messageFor(static_cast<int>(doc::IoCode::AccessDenied)));
        break;
    case doc::PathKind::RegularFile:
        if (count > 0) {
            try {
                const auto names = files.openReadOnly(namesPath);
                const int whole = held(*names, 0, doc::kNameSlotSize, count);
                if (whole < count)
                    problems.push_back("names file: holds " + std::to_string(whole) + " of the " +
                                       std::to_string(count) + " names the count needs");
                names->close();
            } catch (const doc::Error& e) {
                problems.push_back("names file: " + namesPath + ": " + e.what());
            }
        }
        break;
    }
    for (std::size_t r = 0; r < records.size(); ++r) {
        for (const doc::FieldInfo& field : doc::kFields) {
            const std::uint32_t bits = records[r].fields[static_cast<std::size_t>(field.index)];
            const std::string where =
                "record " + std::to_string(r) + " " + std::string(field.shortName) + ": ";
            if (field.type == doc::FieldType::Flag && bits > 1)
                problems.push_back(where + std::to_string(bits) + " is neither 0 nor 1");
            if (field.type == doc::FieldType::Float && !std::isfinite(std::bit_cast<float>(bits)))
                problems.push_back(where + valueText(field.type, bits) + " is not a finite number");
        }
    }
    std::string out;
    for (const std::string& problem : problems)
        out += problem + '\n';
    write(problems.empty() ? "no problems found\n" : out);
    return problems.empty() ? 0 : 1;
}

int runSample(const std::string& path, int count) {
    auto& files = doc::FileSystem::real();
    std::string namesPath;
    try {
        namesPath = doc::pairedNamesPath(path);
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
    for (const std::string& target : {path, namesPath})
        if (files.kindOf(target) != doc::PathKind::Missing || std::filesystem::is_symlink(target))
            throw CommandError(target + ": already exists; it is left as it is");
    const std::vector<std::uint8_t> data = sampleDataFile(count);
    std::vector<std::uint8_t> names(static_cast<std::size_t>(doc::nameSlotOffset(count)), 0);
    for (int r = 0; r < count; ++r) {
        doc::NameSlot slot{};
        doc::writeNameSlot(slot, sampleName(r));
        std::copy(slot.begin(), slot.end(), names.begin() + doc::nameSlotOffset(r));
    }
    // Each file appears whole under its name or not at all, and never through a link; the data
    // file is taken back when the names file cannot be made.
    try {
        doc::placeWholeFile(files, path, data, false)->close();
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
    try {
        doc::placeWholeFile(files, namesPath, names, false)->close();
        files.syncFolderOf(path);
    } catch (const doc::Error& e) {
        try {
            files.remove(path);
        } catch (const doc::Error&) {
        }
        failOn(namesPath, e);
    }
    write("Wrote " + std::to_string(count) + " records to " + path + " and their names to " +
          namesPath + "\n");
    return 0;
}

} // namespace cli

#include "cli/commands.h"

#include "cli/command_support.h"
#include "cli/sample_data.h"
#include "document/document_reader.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/file_session.h"
#include "document/io_code.h"
#include "document/name_codec.h"
#include "document/pair_guard.h"
#include "document/record_codec.h"
#include "document/table_comparison.h"
#include "document/whole_file.h"
#include "tabletext/patch.h"
#include "tabletext/table_io.h"
#include "tabletext/value_text.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

namespace cli {

// The export, the import and the value forms are the table text the editor shares.
using namespace tabletext;

namespace support {

[[noreturn]] void failOn(const std::string& path, const doc::Error& error) {
    throw CommandError(path + ": " + error.what());
}

/** An opening of the pair at dataPath failed with error: thrown with the path of the file it is
 * about. A failing file operation is the names file's when the data file opens as the failed
 * opening wanted it and the names file does not (one that is missing fails only an opening that
 * must make it). */
[[noreturn]] void failOnPair(const std::string& dataPath, const doc::Error& error, bool writing) {
    if (dynamic_cast<const doc::IoError*>(&error)) {
        auto& files = doc::FileSystem::real();
        const auto opens = [&](const std::string& path) {
            try {
                (writing ? files.openExisting(path) : files.openReadOnly(path))->close();
                return true;
            } catch (const doc::Error&) {
                return false;
            }
        };
        const std::string namesPath = doc::namesFilePath(dataPath);
        if (opens(dataPath) && (writing || files.kindOf(namesPath) != doc::PathKind::Missing) &&
            !opens(namesPath))
            failOn(namesPath, error);
    }
    failOn(dataPath, error);
}

/** The data file import or scale wrote, once it is written; the summary printed afterwards then
 * has to say so should it be lost. */
std::string& writtenPath() {
    static std::string path;
    return path;
}

/** "cvnobj: <notice>" on standard error, unless there is nothing to tell. */
void tell(const std::string& notice) {
    if (notice.empty())
        return;
    const std::string line = "cvnobj: " + messageForTerminal(notice) + '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

std::chrono::milliseconds& writerWait() {
    static std::chrono::milliseconds wait = std::chrono::seconds(5);
    return wait;
}

/** Opens the pair for writing (its writer lock held until the session closes) and tells of a
 * save that was cut off and had to be put back first. */
void openForWriting(doc::FileSession& session, const std::string& path, bool createMissingNames) {
    session.waitForBatchWriters(writerWait());
    try {
        session.open(path, createMissingNames);
    } catch (const doc::Error& e) {
        failOnPair(path, e, true);
    }
    tell(session.recoveryNotice());
}

/** The save of import and scale: from here on a summary that cannot be printed is reported as
 * such, with a broken pipe as the error it is rather than the end of the program. */
void saveWritten(doc::FileSession& session, const std::string& path) {
    session.save();
    writtenPath() = path;
#ifdef SIGPIPE // Windows has no signal for it: the write fails
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

doc::StoredDocument readStored(const std::string& path) {
    try {
        doc::StoredDocument stored = doc::readStoredDocument(doc::FileSystem::real(), path);
        tell(stored.journalNotice);
        return stored;
    } catch (const doc::Error& e) {
        failOnPair(path, e, false);
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

/** Lines on standard error, each "PREFIX: LINE" and escaped for a terminal, and "PREFIX: and N
 * more" when count is more than the lines listed. */
void reportLines(const std::string& prefix, const std::vector<std::string>& lines,
                 std::size_t count) {
    std::string out;
    for (const std::string& line : lines)
        out += messageForTerminal(prefix + line) + '\n';
    if (count > lines.size())
        out +=
            messageForTerminal(prefix) + "and " + std::to_string(count - lines.size()) + " more\n";
    std::fwrite(out.data(), 1, out.size(), stderr);
}

std::string counted(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + (count == 1 ? one : many);
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
            if (static_cast<std::int64_t>(text.size()) > tabletext::kMaxSourceSize)
                throw CommandError(path + ": larger than an export can be (16 MB)");
        }
        file->close();
        return text;
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
}

/** A path of the command line, UTF-8 on every system (a plain string is read in the ANSI code
 * page on Windows). */
std::filesystem::path fileSystemPath(const std::string& path) {
    return std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size());
}

std::string requireNewPair(const std::string& path) {
    std::string namesPath;
    try {
        namesPath = doc::pairedNamesPath(path);
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
    for (const std::string& target : {path, namesPath})
        if (doc::FileSystem::real().kindOf(target) != doc::PathKind::Missing ||
            std::filesystem::is_symlink(fileSystemPath(target)))
            throw CommandError(target + ": already exists; it is left as it is");
    return namesPath;
}

void placeNewPair(const std::string& path, const std::string& namesPath,
                  std::span<const std::uint8_t> data, std::span<const std::uint8_t> names) {
    auto& files = doc::FileSystem::real();
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
}

} // namespace support

using namespace support;

namespace {

/** Whether two paths name one file: the same file now, or the same place once the links of the
 * folders are followed, whether anything is there yet or not. */
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(fileSystemPath(a), fileSystemPath(b), error))
        return true;
    const auto place = [](const std::string& path) {
        std::error_code ignored;
        const std::filesystem::path absolute =
            std::filesystem::absolute(fileSystemPath(path), ignored);
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, ignored);
        return (resolved.empty() ? absolute : resolved).lexically_normal();
    };
    return place(a) == place(b);
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
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return;
    const std::string reason = std::strerror(errno);
    if (!writtenPath().empty())
        throw UnreportedWrite(writtenPath() +
                              ": written; the summary could not be printed: " + reason);
    throw CommandError("cannot write the output: " + reason);
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

void setWriterWait(std::chrono::milliseconds wait) {
    writerWait() = wait;
}

int runImport(const std::string& path, const std::string& sourcePath, bool dryRun,
              doc::FileSystem& files) {
    const std::string source = readSource(sourcePath);
    ImportPlan plan;
    if (dryRun) {
        plan = planImport(tableOf(readStored(path)), source);
    } else {
        // Planned against the pair as it is under the writer lock, held until the last write, so
        // no other program's change comes in between and is overwritten. A bad source creates
        // nothing: the names file, when missing, is made only for a source that is good.
        doc::FileSession session(files);
        openForWriting(session, path, false);
        try {
            plan = planImport(session.table(), source);
            if (!plan.refusal.refuses() && session.lacksNamesFile()) {
                session.createNamesFile();
                plan = planImport(session.table(), source);
            }
            if (!plan.refusal.refuses() && !plan.changes.empty()) {
                for (int i = 0; i < plan.added; ++i)
                    session.appendRecord();
                session.table() = plan.result;
                saveWritten(session, path);
            }
            session.close();
        } catch (const doc::Error& e) {
            failOn(path, e);
        }
    }
    if (plan.refusal.refuses()) {
        reportLines(sourcePath + ": ", plan.refusal.items(), plan.refusal.count());
        throw CommandError(counted(plan.refusal.count(), " error", " errors") +
                           "; nothing written");
    }
    reportLines(sourcePath + ": warning: ", plan.warnings, plan.warningCount);
    std::string out;
    for (const std::string& change : plan.changes)
        out += change + '\n';
    out +=
        std::to_string(plan.changes.size()) + (plan.changes.size() == 1 ? " change" : " changes") +
        (dryRun                 ? "; nothing written (dry run)"
         : plan.changes.empty() ? "; nothing written"
                                : " written") +
        (plan.warningCount > 0 ? "; " + counted(plan.warningCount, " warning", " warnings") : "") +
        '\n';
    write(out);
    return 0;
}

int runScale(const std::string& path, doc::ScalePercentages damage, doc::ScalePercentages size,
             doc::FileSystem& files) {
    doc::FileSession session(files);
    int scaled = 0;
    try {
        openForWriting(session, path, true);
        doc::scaleTable(session.table(), damage, size);
        saveWritten(session, path);
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

int runDiff(const std::string& first, const std::string& second, bool patch) {
    const doc::StoredDocument a = readStored(first);
    const doc::StoredDocument b = readStored(second);
    if (patch) {
        const doc::TableRows from{a.records, a.names}, to{b.records, b.names};
        std::string text;
        try {
            text = patchText(from, to);
        } catch (const doc::Error& e) {
            failOn(second, e);
        }
        write(text);
        const auto records = doc::compareTables(from, to);
        return std::any_of(records.begin(), records.end(),
                           [](const auto& record) { return record.differs(); })
                   ? 1
                   : 0;
    }
    std::string out;
    for (const doc::RecordComparison& record :
         doc::compareTables({a.records, a.names}, {b.records, b.names})) {
        const int r = record.index;
        if (!record.inBoth()) {
            out += "record " + std::to_string(r) + " only in " +
                   escapedForTerminal(record.inFirst ? first : second) + '\n';
            continue;
        }
        if (record.nameDiffers)
            out += nameChangeLine(r, namesSlotText(a, r), namesSlotText(b, r)) + '\n';
        const auto& fa = a.records[static_cast<std::size_t>(r)].fields;
        const auto& fb = b.records[static_cast<std::size_t>(r)].fields;
        for (std::size_t k = 0; k < doc::kFieldCount; ++k)
            if (record.fieldDiffers[k])
                out += fieldChangeLine(r, static_cast<int>(k), fa[k], fb[k]) + '\n';
    }
    write(out);
    return out.empty() ? 0 : 1;
}

int runCheck(const std::string& path) {
    std::vector<std::string> problems;
    auto& files = doc::FileSystem::real();
    std::unique_ptr<doc::FileHandle> data;
    std::optional<doc::SaveLock> reading;
    try {
        data = files.openReadOnly(path);
        reading.emplace(*data, path, doc::LockMode::Shared);
    } catch (const doc::Error& e) {
        failOnPair(path, e, false);
    }
    try {
        if (const std::string notice = doc::checkInterruptedSave(files, path, *data);
            !notice.empty())
            problems.push_back("journal: " + notice);
    } catch (const doc::Error& e) {
        problems.push_back(std::string("journal: ") + e.what());
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
        problems.push_back("record count: " + messageForTerminal(e.what()));
    }
    std::vector<doc::ObjectRecord> records;
    if (count > 0) {
        const int whole = held(*data, doc::kHeaderSize, doc::kRecordSize, count);
        if (whole < count)
            problems.push_back("data file: holds " + std::to_string(whole) + " of the " +
                               std::to_string(count) + " records its count names");
        records = doc::readRecords(*data, whole);
    }
    reading.reset();

    const std::string namesPath = doc::namesFilePath(path);
    switch (files.kindOf(namesPath)) {
    case doc::PathKind::Missing:
        problems.push_back("names file: " + messageForTerminal(namesPath) +
                           " is missing (the editor creates it)");
        break;
    case doc::PathKind::Other:
        problems.push_back("names file: " + messageForTerminal(namesPath) + ": " +
                           doc::IoError::messageFor(static_cast<int>(doc::IoCode::AccessDenied)));
        break;
    case doc::PathKind::RegularFile:
        try {
            const auto names = files.openReadOnly(namesPath);
            // A link to the data file, which every writer refuses.
            doc::requireSeparateFiles(*names, *data);
            if (count > 0) {
                const int whole = held(*names, 0, doc::kNameSlotSize, count);
                if (whole < count)
                    problems.push_back("names file: holds " + std::to_string(whole) + " of the " +
                                       std::to_string(count) + " names the count needs");
            }
            names->close();
        } catch (const doc::Error& e) {
            problems.push_back("names file: " + messageForTerminal(namesPath) + ": " +
                               messageForTerminal(e.what()));
        }
        break;
    }
    data->close();
    for (std::size_t r = 0; r < records.size(); ++r) {
        for (const doc::FieldInfo& field : doc::kFields) {
            const std::uint32_t bits = records[r].fields[static_cast<std::size_t>(field.index)];
            const std::string where =
                "record " + std::to_string(r) + " " + std::string(field.shortName) + ": ";
            if (const std::string problem = valueProblem(field.type, bits); !problem.empty())
                problems.push_back(where + problem);
        }
    }
    std::string out;
    for (const std::string& problem : problems)
        out += problem + '\n';
    write(problems.empty() ? "no problems found\n" : out);
    return problems.empty() ? 0 : 1;
}

int runSample(const std::string& path, int count) {
    const std::string namesPath = requireNewPair(path);
    const std::vector<std::uint8_t> data = sampleDataFile(count);
    std::vector<std::uint8_t> names(static_cast<std::size_t>(doc::nameSlotOffset(count)), 0);
    for (int r = 0; r < count; ++r) {
        doc::NameSlot slot{};
        doc::writeNameSlot(slot, sampleName(r));
        std::copy(slot.begin(), slot.end(), names.begin() + doc::nameSlotOffset(r));
    }
    placeNewPair(path, namesPath, data, names);
    write("Wrote " + std::to_string(count) + " records to " + messageForTerminal(path) +
          " and their names to " + messageForTerminal(namesPath) + "\n");
    return 0;
}

} // namespace cli

// cvnobj: the editor's command-line companion.
//
//   cvnobj sample PATH [COUNT]   writes a sample data file (200 records by default)
//   cvnobj show PATH [RECORD]    lists the records, or every field of one record
//
// Nothing here writes a names file: the editor creates it at the first open.

#include "cli/sample_data.h"
#include "document/document_reader.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/name_codec.h"
#include "document/object_table.h"
#include "document/text_forms.h"

#include <bit>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kDefaultSampleCount = 200;

int usage() {
    std::cerr << "usage: cvnobj sample PATH [COUNT]   write a sample data file (COUNT 1 to 512, "
                 "default 200)\n"
                 "       cvnobj show PATH [RECORD]    list the records, or the fields of one\n";
    return 2;
}

std::optional<int> parseNumber(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string toUtf8(const std::u32string& text) {
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

int sample(const std::string& path, int count) {
    if (count < 1 || count > doc::kTableCapacity) {
        std::cerr << "cvnobj: the record count must lie between 1 and 512\n";
        return 2;
    }
    if (std::filesystem::exists(path)) {
        std::cerr << "cvnobj: " << path << " already exists; it is left as it is\n";
        return 1;
    }
    const Bytes bytes = cli::sampleDataFile(count);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "cvnobj: cannot write " << path << "\n";
        return 1;
    }
    std::cout << "Wrote " << count << " records to " << path << "\n";
    return 0;
}

std::string fieldText(const doc::FieldInfo& field, std::uint32_t value) {
    if (field.type == doc::FieldType::Float)
        return doc::formatFloat(std::bit_cast<float>(value), ".");
    return doc::formatUnsigned(value);
}

int show(const std::string& path, std::optional<int> record) {
    doc::StoredDocument file;
    try {
        file = doc::readStoredDocument(doc::FileSystem::real(), path);
    } catch (const doc::Error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    auto nameOf = [&](int r) {
        return toUtf8(doc::readNameSlot(file.names[static_cast<std::size_t>(r)]));
    };
    if (!record) {
        std::cout << file.count << " records" << (file.hasNamesFile ? "" : ", no names file")
                  << "\nRec#;Class;Type;Object Name\n";
        for (int r = 0; r < file.count; ++r) {
            const auto& fields = file.records[static_cast<std::size_t>(r)].fields;
            std::cout << r << ';' << fields[0] << ';' << fields[1] << ';' << nameOf(r) << '\n';
        }
        return 0;
    }
    if (*record < 0 || *record >= file.count) {
        std::cerr << "cvnobj: record " << *record << " does not exist (records 0 to "
                  << file.count - 1 << ")\n";
        return 1;
    }
    const auto& fields = file.records[static_cast<std::size_t>(*record)].fields;
    std::cout << "record: " << *record << "\nname: " << nameOf(*record) << '\n';
    for (const doc::FieldInfo& field : doc::kFields)
        std::cout << field.shortName << ": "
                  << fieldText(field, fields[static_cast<std::size_t>(field.index)]) << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() >= 2 && args.size() <= 3 && args[0] == "sample") {
            const auto count = args.size() == 3 ? parseNumber(args[2]) : kDefaultSampleCount;
            return count ? sample(args[1], *count) : usage();
        }
        if (args.size() >= 2 && args.size() <= 3 && args[0] == "show") {
            std::optional<int> record;
            if (args.size() == 3) {
                record = parseNumber(args[2]);
                if (!record)
                    return usage();
            }
            return show(args[1], record);
        }
    } catch (const std::exception& e) {
        std::cerr << "cvnobj: " << e.what() << '\n';
        return 1;
    }
    return usage();
}

#include "tests/support/data_files.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testsupport {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    // A name no folder has yet, made here: every system makes a folder only when the name is
    // free. Its path is written with "/" on every system.
    static std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "corvane-test-%08x", static_cast<unsigned>(seed()));
        const fs::path folder = fs::temp_directory_path() / name;
        std::error_code error;
        if (fs::create_directory(folder, error)) {
            m_path = folder.generic_string();
            return;
        }
        if (error)
            break;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string TempFolder::file(const std::string& name) const {
    return m_path + "/" + name;
}

std::array<std::uint8_t, doc::kHeaderSize> patternedHeader() {
    std::array<std::uint8_t, doc::kHeaderSize> header{};
    for (std::size_t i = 0; i < header.size(); ++i)
        header[i] = static_cast<std::uint8_t>(0xA0 + i * 7 % 0x5F);
    return header;
}

doc::ObjectRecord sampleRecord(int r) {
    doc::ObjectRecord record;
    const auto base = static_cast<std::uint32_t>(r);
    for (int k = 0; k < doc::kFieldCount; ++k)
        record.fields[static_cast<std::size_t>(k)] = base * 1000 + static_cast<std::uint32_t>(k);
    for (int k : {4, 5, 6, 7, 8, 9, 17, 18, 19, 20, 21, 22})
        record.setFloatField(k, 1.5f + static_cast<float>(r) + 0.25f * static_cast<float>(k));
    record.fields[23] = 1;
    record.fields[24] = static_cast<std::uint32_t>(r % 2);
    return record;
}

std::vector<doc::ObjectRecord> sampleRecords(int count) {
    std::vector<doc::ObjectRecord> records;
    for (int r = 0; r < count; ++r)
        records.push_back(sampleRecord(r));
    return records;
}

Bytes DataFile::bytes() const {
    Bytes out(header.begin(), header.end());
    const std::uint16_t stored = count.value_or(static_cast<std::uint16_t>(records.size()));
    out[doc::kCountOffset] = static_cast<std::uint8_t>(stored & 0xFF);
    out[doc::kCountOffset + 1] = static_cast<std::uint8_t>(stored >> 8);
    for (const auto& record : records)
        for (const std::uint32_t field : record.fields)
            for (int i = 0; i < 4; ++i)
                out.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

void DataFile::write(const std::string& path) const {
    writeFile(path, bytes());
}

DataFile sampleFile(int count) {
    DataFile file;
    file.records = sampleRecords(count);
    return file;
}

std::vector<doc::NameSlot> numberedNames(int count) {
    std::vector<doc::NameSlot> names;
    for (int r = 0; r < count; ++r)
        names.push_back(nameSlot("Object " + std::to_string(r)));
    return names;
}

doc::NameSlot nameSlot(const std::string& cp1252Name) {
    if (cp1252Name.size() > doc::kNameSlotSize)
        throw std::invalid_argument("a name slot holds at most 30 bytes");
    doc::NameSlot slot{};
    std::transform(cp1252Name.begin(), cp1252Name.end(), slot.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c); });
    return slot;
}

static void writeSlots(const std::string& dataPath, const std::vector<doc::NameSlot>& names) {
    Bytes out;
    for (const auto& slot : names)
        out.insert(out.end(), slot.begin(), slot.end());
    writeFile(doc::namesFilePath(dataPath), out);
}

void writePair(const std::string& dataPath, const DataFile& file,
               const std::vector<doc::NameSlot>& names) {
    file.write(dataPath);
    writeSlots(dataPath, names);
}

void writeNamesFile(const std::string& dataPath, const std::vector<std::string>& cp1252Names) {
    std::vector<doc::NameSlot> slots;
    for (const auto& name : cp1252Names)
        slots.push_back(nameSlot(name));
    writeSlots(dataPath, slots);
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void cutFile(const std::string& path, std::int64_t size) {
    fs::resize_file(path, static_cast<std::uintmax_t>(size));
}

std::uint16_t storedCount(const Bytes& dataFile) {
    return static_cast<std::uint16_t>(dataFile.at(doc::kCountOffset) |
                                      dataFile.at(doc::kCountOffset + 1) << 8);
}

doc::ObjectRecord recordAt(const Bytes& dataFile, int r) {
    doc::ObjectRecord record;
    for (int k = 0; k < doc::kFieldCount; ++k) {
        const auto at = static_cast<std::size_t>(testsupport::fieldOffset(r, k));
        record.fields[static_cast<std::size_t>(k)] =
            std::uint32_t{dataFile.at(at)} | std::uint32_t{dataFile.at(at + 1)} << 8 |
            std::uint32_t{dataFile.at(at + 2)} << 16 | std::uint32_t{dataFile.at(at + 3)} << 24;
    }
    return record;
}

doc::NameSlot slotAt(const Bytes& namesFile, int r) {
    doc::NameSlot slot{};
    const auto at = static_cast<std::size_t>(doc::nameSlotOffset(r));
    if (at + slot.size() > namesFile.size())
        throw std::out_of_range("the names file has no slot " + std::to_string(r));
    std::copy_n(namesFile.begin() + static_cast<std::ptrdiff_t>(at), slot.size(), slot.begin());
    return slot;
}

} // namespace testsupport

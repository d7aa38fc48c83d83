#include "document/document_reader.h"

#include "document/errors.h"
#include "document/file_layout.h"
#include "document/pair_guard.h"
#include "document/record_codec.h"

#include <algorithm>
#include <memory>

namespace doc {

namespace {

const char* const kNamesFileAsDataFile = "A names file cannot be opened as a data file";

/** count items of itemSize bytes from offset, or "Read beyond end of file". The buffer is not
 * cleared first: the read fills it whole or fails. */
std::unique_ptr<std::uint8_t[]> readItems(FileHandle& file, std::int64_t offset, int count,
                                          std::size_t itemSize) {
    const std::size_t size = static_cast<std::size_t>(count) * itemSize;
    auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    if (file.readAt(offset, bytes.get(), size) != size)
        throw IoError(IoCode::ReadBeyondEnd);
    return bytes;
}

} // namespace

std::string pairedNamesPath(const std::string& dataPath) {
    std::string namesPath = namesFilePath(dataPath);
    if (namesPath == dataPath)
        throw Error(kNamesFileAsDataFile);
    return namesPath;
}

void requireSeparateFiles(const FileHandle& namesFile, const FileHandle& dataFile) {
    const FileIdentity names = namesFile.identity();
    if (names.known() && names == dataFile.identity())
        throw Error(kNamesFileAsDataFile);
}

int readRecordCount(FileHandle& dataFile) {
    CountBytes bytes{};
    if (dataFile.readAt(kCountOffset, bytes.data(), bytes.size()) != bytes.size())
        throw IoError(IoCode::ReadBeyondEnd);
    const int count = decodeCount(bytes);
    if (count < 1 || count > kTableCapacity)
        throw Error("Record count " + std::to_string(count) + " is out of range (1 to " +
                    std::to_string(kTableCapacity) + ")");
    return count;
}

std::vector<ObjectRecord> readRecords(FileHandle& dataFile, int count) {
    const auto bytes = readItems(dataFile, recordOffset(0), count, kRecordSize);
    std::vector<ObjectRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (std::size_t r = 0; r < static_cast<std::size_t>(count); ++r)
        records.push_back(decodeRecord(std::span<const std::uint8_t, kRecordSize>(
            bytes.get() + r * kRecordSize, kRecordSize)));
    return records;
}

std::vector<NameSlot> readNameSlots(FileHandle& namesFile, int count) {
    const auto bytes = readItems(namesFile, nameSlotOffset(0), count, kNameSlotSize);
    std::vector<NameSlot> slots;
    slots.reserve(static_cast<std::size_t>(count));
    for (std::size_t r = 0; r < static_cast<std::size_t>(count); ++r) {
        NameSlot& slot = slots.emplace_back();
        std::copy_n(bytes.get() + r * kNameSlotSize, kNameSlotSize, slot.begin());
    }
    return slots;
}

StoredDocument readStoredDocument(FileSystem& fileSystem, const std::string& dataPath) {
    const std::string namesPath = pairedNamesPath(dataPath);
    StoredDocument stored;
    const auto dataFile = fileSystem.openReadOnly(dataPath);
    // No save is under way while the pair is read, and none was cut off part-way.
    const SaveLock reading(*dataFile, dataPath, LockMode::Shared);
    requireNoInterruptedSave(fileSystem, dataPath);
    stored.count = readRecordCount(*dataFile);
    stored.records = readRecords(*dataFile, stored.count);
    const PathKind namesKind = fileSystem.kindOf(namesPath);
    if (namesKind == PathKind::Other)
        throw IoError(IoCode::AccessDenied);
    stored.hasNamesFile = namesKind == PathKind::RegularFile;
    if (stored.hasNamesFile) {
        const auto namesFile = fileSystem.openReadOnly(namesPath);
        requireSeparateFiles(*namesFile, *dataFile);
        stored.names = readNameSlots(*namesFile, stored.count);
    } else {
        stored.names.resize(static_cast<std::size_t>(stored.count));
    }
    return stored;
}

} // namespace doc

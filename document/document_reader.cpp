#include "document/document_reader.h"

#include "document/errors.h"
#include "document/file_layout.h"
#include "document/pair_guard.h"
#include "document/record_codec.h"

#include <type_traits>
#include <vector>

namespace doc {

namespace {

const char* const kNamesFileAsDataFile = "A names file cannot be opened as a data file";

/** count items read from offset straight into items' storage, or "Read beyond end of file". */
template <typename Item>
void readItems(FileHandle& file, std::int64_t offset, std::vector<Item>& items, int count) {
    static_assert(std::is_trivially_copyable_v<Item>);
    items.resize(static_cast<std::size_t>(count));
    const std::size_t size = items.size() * sizeof(Item);
    if (file.readAt(offset, items.data(), size) != size)
        throw IoError(IoCode::ReadBeyondEnd);
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
    std::vector<ObjectRecord> records;
    readItems(dataFile, recordOffset(0), records, count);
    decodeRecordsInPlace(records);
    return records;
}

std::vector<NameSlot> readNameSlots(FileHandle& namesFile, int count) {
    static_assert(sizeof(NameSlot) == kNameSlotSize);
    std::vector<NameSlot> slots;
    readItems(namesFile, nameSlotOffset(0), slots, count);
    return slots;
}

StoredDocument readStoredDocument(FileSystem& fileSystem, const std::string& dataPath) {
    const std::string namesPath = pairedNamesPath(dataPath);
    StoredDocument stored;
    const auto dataFile = fileSystem.openReadOnly(dataPath);
    // No save is under way while the pair is read, and none was cut off part-way.
    const SaveLock reading(*dataFile, dataPath, LockMode::Shared);
    stored.journalNotice = checkInterruptedSave(fileSystem, dataPath, *dataFile);
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

#include "document/file_session.h"

#include "document/errors.h"
#include "document/field_table.h"

#include <algorithm>
#include <vector>

namespace doc {

namespace {

constexpr int kFileNotFound = 2;
constexpr int kReadBeyondEnd = 100;
constexpr int kDiskFull = 101;
constexpr int kNotOpen = 103;

std::uint32_t loadLe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

void storeLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

/** Closes a handle of an open that failed; its own failure would hide the one that counts. */
void closeQuietly(std::unique_ptr<FileHandle>& handle) {
    if (!handle)
        return;
    try {
        handle->close();
    } catch (const Error&) {
    }
    handle.reset();
}

void writeExactly(FileHandle& file, std::int64_t offset, const void* data, std::size_t size) {
    if (file.writeAt(offset, data, size) != size)
        throw IoError(kDiskFull);
}

/** A new names file: "No Name Entered" and zero bytes in every slot the count announces. */
void fillCreatedNamesFile(FileHandle& names, int count) {
    NameSlot slot{};
    std::copy(kCreatedSlotName.begin(), kCreatedSlotName.end(), slot.begin());
    for (int r = 0; r < count; ++r)
        writeExactly(names, nameSlotOffset(r), slot.data(), slot.size());
}

} // namespace

FileSession::FileSession(FileSystem& fileSystem) : m_fileSystem(fileSystem) {}

FileSession::~FileSession() {
    closeQuietly(m_dataFile);
    closeQuietly(m_namesFile);
}

void FileSession::open(const std::string& dataPath) {
    const std::string namesPath = namesFilePath(dataPath);
    if (namesPath == dataPath)
        throw Error("A names file cannot be opened as a data file");

    // Everything is loaded beside the current document and only taken over once the whole
    // load has succeeded, so a failed open leaves the previous document as it was.
    std::unique_ptr<FileHandle> dataFile;
    std::unique_ptr<FileHandle> namesFile;
    try {
        dataFile = m_fileSystem.openExisting(dataPath);

        std::uint8_t countBytes[kCountSize] = {};
        if (dataFile->readAt(kCountOffset, countBytes, kCountSize) != kCountSize)
            throw IoError(kReadBeyondEnd);
        const int count = countBytes[0] | countBytes[1] << 8;
        if (count < 1 || count > kTableCapacity)
            throw Error("Record count " + std::to_string(count) + " is out of range (1 to " +
                        std::to_string(kTableCapacity) + ")");

        if (m_fileSystem.exists(namesPath)) {
            namesFile = m_fileSystem.openExisting(namesPath);
        } else {
            namesFile = m_fileSystem.create(namesPath);
            fillCreatedNamesFile(*namesFile, count);
        }
        // A names path that is a link to the data file would let the save write name slots
        // into the data file.
        if (namesFile->isStillAt(dataPath))
            throw Error("A names file cannot be opened as a data file");

        // Both files are read whole; the load fails at the first name slot or field that is
        // not wholly in its file, which is "Read beyond end of file" whichever it is.
        const auto countSize = static_cast<std::size_t>(count);
        std::vector<std::uint8_t> names(countSize * kNameSlotSize);
        std::vector<std::uint8_t> records(countSize * kRecordSize);
        if (namesFile->readAt(0, names.data(), names.size()) != names.size())
            throw IoError(kReadBeyondEnd);
        if (dataFile->readAt(recordOffset(0), records.data(), records.size()) != records.size())
            throw IoError(kReadBeyondEnd);

        // Entries above the new last index keep what they held.
        for (std::size_t r = 0; r < countSize; ++r) {
            std::copy_n(names.begin() + static_cast<std::ptrdiff_t>(r * kNameSlotSize),
                        kNameSlotSize, m_table.names[r].begin());
            for (std::size_t k = 0; k < kFieldCount; ++k)
                m_table.records[r].fields[k] =
                    loadLe32(records.data() + r * kRecordSize + k * kFieldSize);
        }
        m_table.lastIndex = static_cast<std::uint16_t>(count - 1);
    } catch (...) {
        closeQuietly(dataFile);
        closeQuietly(namesFile);
        throw;
    }

    // The previous pair is let go without saving.
    closeQuietly(m_dataFile);
    closeQuietly(m_namesFile);
    m_dataFile = std::move(dataFile);
    m_namesFile = std::move(namesFile);
    m_dataPath = dataPath;
    m_namesPath = namesPath;
}

void FileSession::requireWritable() const {
    if (!isOpen())
        throw IoError(kNotOpen);
    // A write into a file that was deleted or replaced would succeed and be lost.
    if (!m_dataFile->isStillAt(m_dataPath) || !m_namesFile->isStillAt(m_namesPath))
        throw IoError(kFileNotFound);
}

void FileSession::save() {
    requireWritable();
    std::uint8_t record[kRecordSize];
    for (int r = 0; r <= m_table.lastIndex; ++r) {
        const auto index = static_cast<std::size_t>(r);
        const NameSlot& slot = m_table.names[index];
        writeExactly(*m_namesFile, nameSlotOffset(r), slot.data(), slot.size());
        for (std::size_t k = 0; k < kFieldCount; ++k)
            storeLe32(record + k * kFieldSize, m_table.records[index].fields[k]);
        writeExactly(*m_dataFile, recordOffset(r), record, kRecordSize);
    }
}

void FileSession::recordCountUpdate() {
    requireWritable();
    if (m_table.recordCount() >= kTableCapacity)
        throw Error("The table is full: a file holds at most " + std::to_string(kTableCapacity) +
                    " records");
    const int newCount = m_table.lastIndex + 2;
    const std::uint8_t countBytes[kCountSize] = {static_cast<std::uint8_t>(newCount & 0xFF),
                                                 static_cast<std::uint8_t>(newCount >> 8)};
    writeExactly(*m_dataFile, kCountOffset, countBytes, kCountSize);
    m_table.lastIndex = static_cast<std::uint16_t>(newCount - 1);
}

void FileSession::close() {
    // Each handle is let go before its close is checked, so a failing close is not retried
    // for ever and a second close at exit finds nothing left to close.
    auto dataFile = std::move(m_dataFile);
    auto namesFile = std::move(m_namesFile);
    try {
        if (dataFile)
            dataFile->close();
    } catch (...) {
        closeQuietly(namesFile);
        throw;
    }
    if (namesFile)
        namesFile->close();
}

bool FileSession::isOpen() const {
    return m_dataFile && m_namesFile;
}

} // namespace doc

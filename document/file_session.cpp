#include "document/file_session.h"

#include "document/document_reader.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "document/record_codec.h"
#include "document/whole_file.h"

#include <algorithm>
#include <vector>

namespace doc {

namespace {

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
        throw IoError(IoCode::DiskFull);
}

/** Removes a file an open made and must not leave; the failure that led here is the one that
 * counts, so this one's own failure is not reported. */
void removeQuietly(FileSystem& fileSystem, const std::string& path) {
    try {
        fileSystem.remove(path);
    } catch (const Error&) {
    }
}

/** A new names file at namesPath with "No Name Entered" and zero bytes in every slot the count
 * announces, open for reading and writing. Written whole, so no names file is ever seen
 * half-written and nothing is left behind when a step fails; a names file that another program
 * put there since the check is kept. */
std::unique_ptr<FileHandle> createNamesFile(FileSystem& fileSystem, const std::string& namesPath,
                                            int count) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(count) * kNameSlotSize);
    for (int r = 0; r < count; ++r) {
        NameSlot slot{};
        std::copy(kCreatedSlotName.begin(), kCreatedSlotName.end(), slot.begin());
        bytes.insert(bytes.end(), slot.begin(), slot.end());
    }
    return placeWholeFile(fileSystem, namesPath, bytes, false);
}

} // namespace

FileSession::FileSession(FileSystem& fileSystem) : m_fileSystem(fileSystem) {}

FileSession::~FileSession() {
    closeQuietly(m_dataFile);
    closeQuietly(m_namesFile);
}

void FileSession::open(const std::string& dataPath) {
    const std::string namesPath = pairedNamesPath(dataPath);

    // Everything is loaded beside the current document and only taken over once the whole
    // load has succeeded, so a failed open leaves the previous document as it was.
    std::unique_ptr<FileHandle> dataFile;
    std::unique_ptr<FileHandle> namesFile;
    bool createdNames = false;
    try {
        dataFile = m_fileSystem.openExisting(dataPath);
        const int count = readRecordCount(*dataFile);
        // The whole record area is read before the names file is looked at, so a data file
        // that ends too early is refused without a names file made for it.
        const std::vector<ObjectRecord> records = readRecords(*dataFile, count);
        switch (m_fileSystem.kindOf(namesPath)) {
        case PathKind::RegularFile:
            namesFile = m_fileSystem.openExisting(namesPath);
            break;
        case PathKind::Missing:
            namesFile = createNamesFile(m_fileSystem, namesPath, count);
            createdNames = true;
            m_fileSystem.syncFolderOf(namesPath);
            break;
        case PathKind::Other:
            throw IoError(IoCode::AccessDenied);
        }
        requireSeparateFiles(*namesFile, dataPath);
        const std::vector<NameSlot> names = readNameSlots(*namesFile, count);

        // Entries above the new last index keep what they held.
        std::copy(records.begin(), records.end(), m_table.records.begin());
        std::copy(names.begin(), names.end(), m_table.names.begin());
        m_table.lastIndex = static_cast<std::uint16_t>(count - 1);
    } catch (...) {
        // A names file this open made does not outlive it, unless something else took its
        // place meanwhile.
        if (createdNames && namesFile->isStillAt(namesPath))
            removeQuietly(m_fileSystem, namesPath);
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
    m_storedCount = m_table.recordCount();
}

void FileSession::requireWritable() const {
    if (!isOpen())
        throw IoError(IoCode::NotOpen);
    // A write into a file that was deleted or replaced would succeed and be lost.
    if (!m_dataFile->isStillAt(m_dataPath) || !m_namesFile->isStillAt(m_namesPath))
        throw IoError(IoCode::FileNotFound);
}

void FileSession::save() {
    requireWritable();
    for (int r = 0; r <= m_table.lastIndex; ++r) {
        const auto index = static_cast<std::size_t>(r);
        const NameSlot& slot = m_table.names[index];
        writeExactly(*m_namesFile, nameSlotOffset(r), slot.data(), slot.size());
        const RecordBytes record = encodeRecord(m_table.records[index]);
        writeExactly(*m_dataFile, recordOffset(r), record.data(), record.size());
    }
    // A save is done only when it is on the disk: an error the disk reports late (a full disk
    // on a file system that reserves space lazily, a failing device) is reported here.
    m_namesFile->sync();
    m_dataFile->sync();
    // Only now that every record is on disk may the count name them.
    if (m_table.recordCount() != m_storedCount) {
        const CountBytes count = encodeCount(static_cast<std::uint16_t>(m_table.recordCount()));
        writeExactly(*m_dataFile, kCountOffset, count.data(), count.size());
        m_storedCount = m_table.recordCount();
        m_dataFile->sync();
    }
}

void FileSession::appendRecord() {
    requireWritable();
    if (m_table.recordCount() >= kTableCapacity)
        throw Error("The table is full: a file holds at most " + std::to_string(kTableCapacity) +
                    " records");
    ++m_table.lastIndex;
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

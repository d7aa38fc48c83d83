#include "document/file_session.h"

#include "document/document_reader.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "document/journal.h"
#include "document/own_files.h"
#include "document/pair_guard.h"
#include "document/record_codec.h"
#include "document/whole_file.h"

#include <algorithm>

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

/** A new names file at namesPath with "No Name Entered" and zero bytes in every slot the count
 * announces, open for reading and writing. Written whole, so no names file is ever seen
 * half-written; a names file that another program put there since the check is kept. What a
 * process killed while making one left is removed first. */
std::unique_ptr<FileHandle> makeNamesFile(FileSystem& fileSystem, const std::string& namesPath,
                                          int count) {
    removeLeftTemporaries(fileSystem, namesPath);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(count) * kNameSlotSize);
    for (int r = 0; r < count; ++r) {
        NameSlot slot{};
        std::copy(kCreatedSlotName.begin(), kCreatedSlotName.end(), slot.begin());
        bytes.insert(bytes.end(), slot.begin(), slot.end());
    }
    auto file = placeWholeFile(fileSystem, namesPath, bytes, false);
    try {
        fileSystem.syncFolderOf(namesPath);
    } catch (...) {
        closeQuietly(file);
        removeQuietly(fileSystem, namesPath);
        throw;
    }
    return file;
}

/** Up to size bytes from offset: as many as the file of fileSize bytes holds there. */
std::vector<std::uint8_t> readUpTo(FileHandle& file, std::int64_t offset, std::int64_t size,
                                   std::int64_t fileSize) {
    const std::int64_t held = std::clamp<std::int64_t>(fileSize - offset, 0, size);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(held));
    bytes.resize(file.readAt(offset, bytes.data(), bytes.size()));
    return bytes;
}

/** Whether bytes begin with the records, as the file holds them. */
bool holdsRecords(const std::vector<std::uint8_t>& bytes,
                  const std::vector<ObjectRecord>& records) {
    if (bytes.size() < records.size() * kRecordSize)
        return false;
    for (std::size_t r = 0; r < records.size(); ++r) {
        const RecordBytes record = encodeRecord(records[r]);
        if (!std::equal(record.begin(), record.end(),
                        bytes.begin() + std::ptrdiff_t(r * kRecordSize)))
            return false;
    }
    return true;
}

/** Whether bytes begin with the name slots. */
bool holdsSlots(const std::vector<std::uint8_t>& bytes, const std::vector<NameSlot>& slots) {
    if (bytes.size() < slots.size() * kNameSlotSize)
        return false;
    for (std::size_t r = 0; r < slots.size(); ++r)
        if (!std::equal(slots[r].begin(), slots[r].end(),
                        bytes.begin() + std::ptrdiff_t(r * kNameSlotSize)))
            return false;
    return true;
}

} // namespace

FileSession::FileSession(FileSystem& fileSystem) : m_fileSystem(fileSystem) {}

std::unique_ptr<FileHandle> FileSession::openOrReuse(const std::string& path,
                                                     const std::unique_ptr<FileHandle>& held) {
    // Opened first and compared after, which costs nothing in the usual case of another file.
    std::unique_ptr<FileHandle> opened;
    try {
        opened = m_fileSystem.openExisting(path);
    } catch (const Error&) {
        // The held file may still be written through even when it can no longer be opened.
        if (held && held->isStillAt(path))
            return nullptr;
        throw;
    }
    if (held && held->identity() == opened->identity()) {
        closeQuietly(opened);
        return nullptr;
    }
    return opened;
}

FileSession::~FileSession() {
    closeQuietly(m_dataFile);
    closeQuietly(m_namesFile);
}

void FileSession::open(const std::string& dataPath, bool createMissingNames) {
    const std::string namesPath = pairedNamesPath(dataPath);

    // Everything is loaded beside the current document and only taken over once the whole
    // load has succeeded, so a failed open leaves the previous document as it was. The files
    // held already are used again where the paths name them (a second open description of the
    // data file would find its lock taken by the first).
    std::unique_ptr<FileHandle> openedData;
    std::unique_ptr<FileHandle> openedNames;
    FileHandle* data = nullptr;
    FileHandle* names = nullptr;
    bool createdNames = false;
    std::string notice;
    const auto openNames = [&] {
        openedNames = openOrReuse(namesPath, m_namesFile);
        names = openedNames ? openedNames.get() : m_namesFile.get();
    };
    std::vector<ObjectRecord> records;
    std::vector<NameSlot> slots;
    int count = 0;
    std::pair<std::int64_t, std::int64_t> sizes;
    try {
        openedData = openOrReuse(dataPath, m_dataFile);
        // A writer waited for may have changed the file since it was opened.
        bool waited = false;
        if (openedData)
            waited = lockForWriting(*openedData, dataPath, m_batchWait);
        data = openedData ? openedData.get() : m_dataFile.get();
        // A save that was cut off, through this name or another one of the file, is put back
        // before anything is read; readers wait meanwhile.
        const bool recorded = hasSaveRecord(m_fileSystem, *data);
        if (recorded || m_fileSystem.kindOf(journalPathFor(dataPath)) != PathKind::Missing) {
            const SaveLock puttingBack(*data, dataPath, LockMode::Exclusive);
            notice = putBackSaveThroughOtherName(m_fileSystem, dataPath, *data);
            if (m_fileSystem.kindOf(namesPath) == PathKind::RegularFile)
                openNames();
            const std::string own = putBackInterruptedSave(m_fileSystem, dataPath, *data, names);
            notice += (notice.empty() || own.empty() ? "" : "\n") + own;
            if (recorded)
                forgetFinishedSave(m_fileSystem, *data);
        }
        removeLeftJournal(m_fileSystem, dataPath);

        count = readRecordCount(*data);
        // The whole record area is read before the names file is looked at, so a data file
        // that ends too early is refused without a names file made for it.
        records = readRecords(*data, count);
        if (!names) {
            // Opened straight away: a missing one is told from a link that leads nowhere only
            // then (anything but a regular file is refused by the open itself).
            try {
                openNames();
            } catch (const IoError& error) {
                if (error.code() != static_cast<int>(IoCode::FileNotFound))
                    throw;
                switch (m_fileSystem.kindOf(namesPath)) {
                case PathKind::Missing:
                    break;
                case PathKind::RegularFile:
                    throw; // made just now by another program
                case PathKind::Other:
                    throw IoError(IoCode::AccessDenied);
                }
                if (createMissingNames) {
                    openedNames = makeNamesFile(m_fileSystem, namesPath, count);
                    names = openedNames.get();
                    createdNames = true;
                }
            }
        }
        if (names) {
            requireSeparateFiles(*names, *data);
            slots = readNameSlots(*names, count);
        } else {
            slots.resize(static_cast<std::size_t>(count));
        }
        // The sizes the files had when they were opened, or, once a put-back wrote them, now.
        const std::int64_t dataSize = waited ? data->size() : data->lastKnownSize();
        const std::int64_t namesSize = names ? names->lastKnownSize() : 0;

        // Entries above the new last index keep what they held.
        std::copy(records.begin(), records.end(), m_table.records.begin());
        std::copy(slots.begin(), slots.end(), m_table.names.begin());
        m_table.lastIndex = static_cast<std::uint16_t>(count - 1);
        sizes = {dataSize, namesSize};
    } catch (...) {
        // A names file this open made does not outlive it, unless something else took its
        // place meanwhile.
        if (createdNames && openedNames->isStillAt(namesPath))
            removeQuietly(m_fileSystem, namesPath);
        closeQuietly(openedData);
        closeQuietly(openedNames);
        throw;
    }

    // The previous pair is let go without saving, and with it its lock.
    if (openedData) {
        closeQuietly(m_dataFile);
        m_dataFile = std::move(openedData);
    }
    if (names != m_namesFile.get()) {
        closeQuietly(m_namesFile);
        m_namesFile = std::move(openedNames);
    }
    m_dataPath = dataPath;
    m_namesPath = namesPath;
    m_recoveryNotice = notice;
    // What was read is what the files hold: kept as it is, without a copy.
    m_stored = {count, std::move(records), std::move(slots), sizes.first, sizes.second};
    m_attempted.reset();
}

void FileSession::createNamesFile() {
    if (!lacksNamesFile())
        throw IoError(IoCode::NotOpen);
    const int count = m_table.recordCount();
    auto names = makeNamesFile(m_fileSystem, m_namesPath, count);
    std::vector<NameSlot> slots;
    std::int64_t size = 0;
    try {
        requireSeparateFiles(*names, *m_dataFile);
        slots = readNameSlots(*names, count);
        size = names->size();
    } catch (...) {
        if (names->isStillAt(m_namesPath))
            removeQuietly(m_fileSystem, m_namesPath);
        closeQuietly(names);
        throw;
    }
    std::copy(slots.begin(), slots.end(), m_table.names.begin());
    m_namesFile = std::move(names);
    m_stored.names = std::move(slots);
    m_stored.namesSize = size;
}

FileSession::Stored FileSession::storedTable(std::int64_t dataSize, std::int64_t namesSize) const {
    const auto count = static_cast<std::ptrdiff_t>(m_table.recordCount());
    return {m_table.recordCount(),
            std::vector<ObjectRecord>(m_table.records.begin(), m_table.records.begin() + count),
            std::vector<NameSlot>(m_table.names.begin(), m_table.names.begin() + count), dataSize,
            namesSize};
}

FileSession::OnDisk FileSession::readOnDisk(int count) const {
    OnDisk now;
    now.dataSize = m_dataFile->size();
    now.namesSize = m_namesFile->size();
    now.count = readUpTo(*m_dataFile, kCountOffset, kCountSize, now.dataSize);
    now.records =
        readUpTo(*m_dataFile, recordOffset(0), std::int64_t{kRecordSize} * count, now.dataSize);
    now.names = readUpTo(*m_namesFile, nameSlotOffset(0), nameSlotOffset(count), now.namesSize);
    return now;
}

std::string FileSession::changedFile(const OnDisk& now) const {
    const auto differs = [&](const Stored& stored) -> std::string {
        const CountBytes count = encodeCount(static_cast<std::uint16_t>(stored.count));
        if (now.dataSize != stored.dataSize ||
            !std::equal(now.count.begin(), now.count.end(), count.begin(), count.end()) ||
            !holdsRecords(now.records, stored.records))
            return fileNameOf(m_dataPath);
        if (now.namesSize != stored.namesSize || !holdsSlots(now.names, stored.names))
            return fileNameOf(m_namesPath);
        return {};
    };
    std::string changed = differs(m_stored);
    if (!changed.empty() && m_attempted && differs(*m_attempted).empty())
        return {};
    return changed;
}

bool FileSession::changedOnDisk() const {
    if (!isOpen())
        return false;
    try {
        return !m_dataFile->isStillAt(m_dataPath) || !m_namesFile->isStillAt(m_namesPath) ||
               !changedFile(
                    readOnDisk(std::max(m_stored.count, m_attempted ? m_attempted->count : 0)))
                    .empty();
    } catch (const Error&) {
        return true;
    }
}

void FileSession::requirePathsExist() const {
    for (const std::string& path : {m_dataPath, m_namesPath}) {
        switch (m_fileSystem.kindOf(path)) {
        case PathKind::RegularFile:
            break;
        case PathKind::Missing:
            throw IoError(IoCode::FileNotFound);
        case PathKind::Other:
            throw IoError(IoCode::AccessDenied);
        }
    }
}

void FileSession::followPaths() {
    if (!m_dataFile->isStillAt(m_dataPath)) {
        auto data = m_fileSystem.openExisting(m_dataPath);
        lockForWriting(*data, m_dataPath, m_batchWait);
        closeQuietly(m_dataFile);
        m_dataFile = std::move(data);
    }
    if (!m_namesFile->isStillAt(m_namesPath)) {
        auto names = m_fileSystem.openExisting(m_namesPath);
        requireSeparateFiles(*names, *m_dataFile);
        closeQuietly(m_namesFile);
        m_namesFile = std::move(names);
    }
}

void FileSession::save(SaveMode mode) {
    if (!isOpen())
        throw IoError(IoCode::NotOpen);
    requirePathsExist();
    if (mode == SaveMode::Overwrite)
        followPaths();

    // Checked with the save lock held, right before the first write: a program that reads the
    // pair, or one that waits to write it, sees it whole.
    const SaveLock saving(*m_dataFile, m_dataPath, LockMode::Exclusive);
    if (mode == SaveMode::RefuseChanged) {
        if (!m_dataFile->isStillAt(m_dataPath))
            throw ChangedOnDiskError(fileNameOf(m_dataPath));
        if (!m_namesFile->isStillAt(m_namesPath))
            throw ChangedOnDiskError(fileNameOf(m_namesPath));
    }
    // An earlier save of this session that failed and could not put the old bytes back left
    // its journal; with it applied, the files are again as this session last knew them.
    putBackSaveThroughOtherName(m_fileSystem, m_dataPath, *m_dataFile);
    putBackInterruptedSave(m_fileSystem, m_dataPath, *m_dataFile, m_namesFile.get());
    // As far as the save writes, and as far as the files were read or last written: a table that
    // has shrunk since (an "Add Record" undone) is checked against all that was there.
    const OnDisk now = readOnDisk(
        std::max({m_table.recordCount(), m_stored.count, m_attempted ? m_attempted->count : 0}));
    if (mode == SaveMode::RefuseChanged) {
        if (const std::string changed = changedFile(now); !changed.empty())
            throw ChangedOnDiskError(changed);
    }
    writeJournaled(now);
    // A program that does not lock may still have put another file in place meanwhile; the
    // save then went into the file it replaced, and the user must know.
    for (const auto& [file, path] :
         {std::pair{m_dataFile.get(), &m_dataPath}, std::pair{m_namesFile.get(), &m_namesPath}})
        if (!file->isStillAt(*path))
            throw Error(fileNameOf(*path) +
                        " was replaced by another program while it was saved; the save went "
                        "into the file it replaced, not into the one there now");
}

void FileSession::writeJournaled(const OnDisk& now) {
    const int count = m_table.recordCount();
    const CountBytes newCount = encodeCount(static_cast<std::uint16_t>(count));
    const bool countChanges =
        !std::equal(now.count.begin(), now.count.end(), newCount.begin(), newCount.end());

    // What the save writes: the records and the name slots each as one stretch, the count.
    std::vector<std::uint8_t> records(static_cast<std::size_t>(count) * kRecordSize);
    std::vector<std::uint8_t> slots(static_cast<std::size_t>(count) * kNameSlotSize);
    for (std::size_t r = 0; r < static_cast<std::size_t>(count); ++r) {
        const RecordBytes record = encodeRecord(m_table.records[r]);
        std::copy(record.begin(), record.end(), records.begin() + std::ptrdiff_t(r * kRecordSize));
        std::copy(m_table.names[r].begin(), m_table.names[r].end(),
                  slots.begin() + std::ptrdiff_t(r * kNameSlotSize));
    }
    Journal journal;
    journal.dataSize = now.dataSize;
    journal.namesSize = now.namesSize;
    journal.dataSizeAfter = std::max(now.dataSize, recordOffset(count));
    journal.namesSizeAfter = std::max(now.namesSize, nameSlotOffset(count));
    if (countChanges)
        journal.ranges.push_back(
            {PairFile::Data, kCountOffset, now.count, {newCount.begin(), newCount.end()}});
    journal.ranges.push_back({PairFile::Data, recordOffset(0), now.records, std::move(records)});
    journal.ranges.push_back({PairFile::Names, nameSlotOffset(0), now.names, std::move(slots)});
    const std::vector<std::uint8_t>& recordBytes = journal.ranges[countChanges ? 1 : 0].newBytes;
    const std::vector<std::uint8_t>& slotBytes = journal.ranges.back().newBytes;

    // The journal is written under a temporary name and moved to its own once it is whole and on
    // the disk, so a journal under that name is always complete.
    const std::string journalPath = journalPathFor(m_dataPath);
    const std::string temporaryPath = journalTemporaryPathFor(m_dataPath);
    switch (m_fileSystem.kindOfName(temporaryPath)) {
    case PathKind::Missing:
        break;
    case PathKind::RegularFile:
        m_fileSystem.remove(temporaryPath);
        break;
    case PathKind::Other:
        throw Error(fileNameOf(m_dataPath) + " cannot be saved: " + fileNameOf(temporaryPath) +
                    ", the name its journal is made under, is taken by a folder or another kind "
                    "of file; move that away; nothing was written");
    }
    std::unique_ptr<FileHandle> journalFile;
    try {
        journalFile = m_fileSystem.createNew(temporaryPath);
    } catch (const IoError& error) {
        // The data file may be writable in a folder that is not, where a save used to work.
        if (error.code() != static_cast<int>(IoCode::AccessDenied))
            throw;
        throw Error(fileNameOf(m_dataPath) +
                    " cannot be saved: its folder does not let the save make its journal there (" +
                    error.what() + "); nothing was written");
    }
    bool placed = false;
    try {
        const std::vector<std::uint8_t> bytes = encodeJournal(journal);
        writeExactly(*journalFile, 0, bytes.data(), bytes.size());
        journalFile->sync();
        m_fileSystem.rename(temporaryPath, journalPath, false);
        placed = true;
        m_fileSystem.syncFolderOf(journalPath);
        recordSave(m_fileSystem, *m_dataFile, m_dataPath);
    } catch (...) {
        // Nothing was written into the pair yet.
        closeQuietly(journalFile);
        removeQuietly(m_fileSystem, placed ? journalPath : temporaryPath);
        if (placed)
            removeSaveRecord(m_fileSystem, *m_dataFile);
        throw;
    }

    try {
        for (int r = 0; r < count; ++r) {
            const auto index = static_cast<std::size_t>(r);
            writeExactly(*m_namesFile, nameSlotOffset(r), slotBytes.data() + index * kNameSlotSize,
                         kNameSlotSize);
            writeExactly(*m_dataFile, recordOffset(r), recordBytes.data() + index * kRecordSize,
                         kRecordSize);
        }
        if (countChanges)
            writeExactly(*m_dataFile, kCountOffset, newCount.data(), newCount.size());
        // A save is done only when it is on the disk: an error the disk reports late (a full
        // disk on a file system that reserves space lazily, a failing device) is reported here.
        m_namesFile->sync();
        m_dataFile->sync();
        // The save is whole from here on.
        const auto done = journalDoneMark();
        writeExactly(*journalFile, 0, done.data(), done.size());
        journalFile->sync();
    } catch (...) {
        try {
            // The mark may have reached the journal before the failure; it must not stay there
            // while the old bytes go back, or a crash now would keep half of them.
            const std::vector<std::uint8_t> bytes = encodeJournal(journal);
            writeExactly(*journalFile, 0, bytes.data(), journalDoneMark().size());
            journalFile->sync();
            rollBack(journal, *m_dataFile, *m_namesFile);
            closeQuietly(journalFile);
            m_fileSystem.remove(journalPath);
            removeSaveRecord(m_fileSystem, *m_dataFile);
        } catch (const Error&) {
            // The journal stays: this session's next save, or the next open, puts it back; should
            // the disk have taken the mark, the files hold this save instead.
            m_attempted = storedTable(journal.dataSizeAfter, journal.namesSizeAfter);
        }
        closeQuietly(journalFile);
        throw;
    }
    closeQuietly(journalFile);
    // A journal marked done that outlives this is removed by the next save or open.
    removeQuietly(m_fileSystem, journalPath);
    removeSaveRecord(m_fileSystem, *m_dataFile);
    m_stored = storedTable(journal.dataSizeAfter, journal.namesSizeAfter);
    m_attempted.reset();
}

void FileSession::appendRecord() {
    if (!isOpen())
        throw IoError(IoCode::NotOpen);
    requirePathsExist();
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

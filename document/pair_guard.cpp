#include "document/pair_guard.h"

#include "document/errors.h"
#include "document/journal.h"
#include "document/own_files.h"
#include "document/whole_file.h"

#include <chrono>
#include <thread>

namespace doc {

namespace {

constexpr auto kLockWait = std::chrono::seconds(2);
constexpr auto kLockPoll = std::chrono::milliseconds(2);

std::string byWhom(int pid) {
    return pid > 0 ? " (process " + std::to_string(pid) + ")" : std::string();
}

void removeQuietly(FileSystem& fileSystem, const std::string& path) {
    try {
        fileSystem.remove(path);
    } catch (const Error&) {
    }
}

} // namespace

void lockForWriting(FileHandle& dataFile, const std::string& dataPath) {
    if (dataFile.tryLock(LockSlot::Writer, LockMode::Exclusive))
        return;
    throw Error(fileNameOf(dataPath) + " is open for writing in another program" +
                byWhom(dataFile.lockHolder(LockSlot::Writer, LockMode::Exclusive)));
}

SaveLock::SaveLock(FileHandle& dataFile, const std::string& dataPath, LockMode mode)
    : m_dataFile(dataFile) {
    const auto until = std::chrono::steady_clock::now() + kLockWait;
    while (!dataFile.tryLock(LockSlot::Save, mode)) {
        if (std::chrono::steady_clock::now() >= until) {
            const int holder = dataFile.lockHolder(LockSlot::Save, mode);
            throw Error(mode == LockMode::Shared
                            ? fileNameOf(dataPath) + " is being written by another program" +
                                  byWhom(holder)
                            : fileNameOf(dataPath) + " is being read by another program" +
                                  byWhom(holder) + "; nothing was written");
        }
        std::this_thread::sleep_for(kLockPoll);
    }
}

SaveLock::~SaveLock() {
    m_dataFile.unlock(LockSlot::Save);
}

bool putBackInterruptedSave(FileSystem& fileSystem, const std::string& dataPath,
                            FileHandle& dataFile, FileHandle* namesFile) {
    const std::string journalPath = journalPathFor(dataPath);
    switch (fileSystem.kindOf(journalPath)) {
    case PathKind::Missing:
        return false;
    case PathKind::Other:
        throw Error(fileNameOf(dataPath) + ": " + fileNameOf(journalPath) +
                    " beside it is not a journal of this program; move it away to open the file");
    case PathKind::RegularFile:
        break;
    }
    std::vector<std::uint8_t> bytes;
    {
        const auto journalFile = fileSystem.openReadOnly(journalPath);
        bytes = readWholeFile(*journalFile);
        journalFile->close();
    }
    const DecodedJournal decoded = decodeJournal(bytes);
    switch (decoded.state) {
    case JournalState::Done:
        removeQuietly(fileSystem, journalPath);
        return false;
    case JournalState::Damaged:
        throw Error(fileNameOf(dataPath) + ": the journal " + fileNameOf(journalPath) +
                    " of a save that was cut off is damaged, so it was not applied, and the file "
                    "may hold part of that save; move the journal away to open the file as it is");
    case JournalState::Pending:
        break;
    }
    if (!namesFile || !journalBelongsTo(decoded.journal, dataFile, *namesFile))
        throw Error(fileNameOf(dataPath) + ": the journal " + fileNameOf(journalPath) +
                    " beside it was written for other files and was not applied; move it away "
                    "to open the file");
    rollBack(decoded.journal, dataFile, *namesFile);
    // Should the removal not last through a crash, the journal is applied once more: the same
    // bytes again.
    fileSystem.remove(journalPath);
    return true;
}

std::string interruptedSaveNotice(const std::string& dataPath) {
    return fileNameOf(dataPath) +
           ": a save into it was cut off before it was complete; the records and names it held "
           "before that save were put back";
}

void requireNoInterruptedSave(FileSystem& fileSystem, const std::string& dataPath) {
    const std::string journalPath = journalPathFor(dataPath);
    if (fileSystem.kindOf(journalPath) == PathKind::Missing)
        return;
    if (fileSystem.kindOf(journalPath) == PathKind::RegularFile) {
        const auto journalFile = fileSystem.openReadOnly(journalPath);
        const bool done = decodeJournal(readWholeFile(*journalFile)).state == JournalState::Done;
        journalFile->close();
        if (done)
            return;
    }
    throw Error(fileNameOf(dataPath) + ": a save into it was cut off (" + fileNameOf(journalPath) +
                " is beside it); open it in the editor, or run cvnobj import or scale on it, to "
                "put back what it held before");
}

void removeLeftJournal(FileSystem& fileSystem, const std::string& dataPath) {
    // Only the holder of the writer lock writes it, and this process holds the lock now.
    const std::string journalTemporary = journalTemporaryPathFor(dataPath);
    if (fileSystem.kindOf(journalTemporary) != PathKind::Missing)
        removeQuietly(fileSystem, journalTemporary);
}

void removeLeftTemporaries(FileSystem& fileSystem, const std::string& path) {
    const std::string folder = folderOfPath(path);
    for (const std::string& entry : fileSystem.folderEntries(folder.empty() ? "." : folder)) {
        const auto pid = temporaryNameProcess(path, entry);
        if (pid && !fileSystem.processExists(*pid))
            removeQuietly(fileSystem, folder + entry);
    }
}

} // namespace doc

#include "document/pair_guard.h"

#include "document/document_reader.h"
#include "document/errors.h"
#include "document/journal.h"
#include "document/own_files.h"
#include "document/whole_file.h"

#include <chrono>
#include <optional>
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

namespace {

/** The journal beside the pair, read; throws Error when it is something else than a regular
 * file. nullopt when there is none. */
std::optional<DecodedJournal> readJournal(FileSystem& fileSystem, const std::string& dataPath) {
    const std::string journalPath = journalPathFor(dataPath);
    switch (fileSystem.kindOf(journalPath)) {
    case PathKind::Missing:
        return std::nullopt;
    case PathKind::Other:
        throw Error(fileNameOf(dataPath) + ": " + fileNameOf(journalPath) +
                    " beside it is not a journal of this program; move it away to open the file");
    case PathKind::RegularFile:
        break;
    }
    const auto journalFile = fileSystem.openReadOnly(journalPath);
    const std::vector<std::uint8_t> bytes = readWholeFile(*journalFile);
    journalFile->close();
    return decodeJournal(bytes);
}

[[noreturn]] void refuseDamaged(const std::string& dataPath) {
    throw Error(fileNameOf(dataPath) + ": the journal " + fileNameOf(journalPathFor(dataPath)) +
                " of a save that was cut off is damaged, so it was not applied, and the file may "
                "hold part of that save; move the journal away to open the file as it is");
}

/** Why a journal that fits neither pair is not applied. */
std::string notFitting(const std::string& dataPath) {
    return fileNameOf(dataPath) + ": the journal " + fileNameOf(journalPathFor(dataPath)) +
           " of a save that was cut off does not fit the files as they are now (they were "
           "replaced or changed since), so it was not applied";
}

/** Moves the journal to the first free name for one set aside; returns that name. */
std::string setAside(FileSystem& fileSystem, const std::string& dataPath) {
    for (int n = 1;; ++n) {
        const std::string target = setAsideJournalPathFor(dataPath, n);
        if (fileSystem.kindOf(target) != PathKind::Missing && n < 1000)
            continue;
        try {
            fileSystem.rename(journalPathFor(dataPath), target, false);
        } catch (const IoError& error) {
            throw Error(notFitting(dataPath) + "; it could not be moved aside (" + error.what() +
                        "), so the files were not opened");
        }
        fileSystem.syncFolderOf(target);
        return target;
    }
}

} // namespace

std::string putBackInterruptedSave(FileSystem& fileSystem, const std::string& dataPath,
                                   FileHandle& dataFile, FileHandle* namesFile) {
    const std::optional<DecodedJournal> decoded = readJournal(fileSystem, dataPath);
    if (!decoded)
        return {};
    const std::string journalPath = journalPathFor(dataPath);
    if (decoded->state == JournalState::Damaged)
        refuseDamaged(dataPath);
    const JournalFit fit = decoded->state == JournalState::Done ? JournalFit::Whole
                           : namesFile ? journalFit(decoded->journal, dataFile, *namesFile)
                                       : JournalFit::Foreign;
    switch (fit) {
    case JournalFit::Whole:
        removeQuietly(fileSystem, journalPath);
        return {};
    case JournalFit::Foreign:
        return notFitting(dataPath) +
               "; the files were opened as they are, and the journal was "
               "kept as " +
               fileNameOf(setAside(fileSystem, dataPath));
    case JournalFit::Torn:
        break;
    }
    rollBack(decoded->journal, dataFile, *namesFile);
    // Should the removal not last through a crash, the journal is applied once more: the same
    // bytes again.
    fileSystem.remove(journalPath);
    return fileNameOf(dataPath) +
           ": a save into it was cut off before it was complete; the records and names it held "
           "before that save were put back";
}

std::string checkInterruptedSave(FileSystem& fileSystem, const std::string& dataPath,
                                 FileHandle& dataFile) {
    const std::optional<DecodedJournal> decoded = readJournal(fileSystem, dataPath);
    if (!decoded || decoded->state == JournalState::Done)
        return {};
    if (decoded->state == JournalState::Damaged)
        refuseDamaged(dataPath);
    const std::string namesPath = pairedNamesPath(dataPath);
    JournalFit fit = JournalFit::Foreign;
    if (fileSystem.kindOf(namesPath) == PathKind::RegularFile)
        fit = journalFit(decoded->journal, dataFile, *fileSystem.openReadOnly(namesPath));
    switch (fit) {
    case JournalFit::Whole:
        return {};
    case JournalFit::Foreign:
        return notFitting(dataPath) + "; the files were read as they are, and the next program "
                                      "to write them will keep the journal under another name";
    case JournalFit::Torn:
        break;
    }
    throw Error(fileNameOf(dataPath) + ": a save into it was cut off (" +
                fileNameOf(journalPathFor(dataPath)) +
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

#include "document/pair_guard.h"

#include "document/document_reader.h"
#include "document/errors.h"
#include "document/journal.h"
#include "document/own_files.h"
#include "document/whole_file.h"

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace doc {

namespace {

constexpr auto kLockWait = std::chrono::seconds(2);
constexpr auto kLockPoll = std::chrono::milliseconds(2);

std::string byWhom(int pid) {
    return pid > 0 ? " (process " + std::to_string(pid) + ")" : std::string();
}

} // namespace

bool lockForWriting(FileHandle& dataFile, const std::string& dataPath,
                    std::optional<std::chrono::milliseconds> batchWait) {
    constexpr int kLookups = 5;
    constexpr auto kBatchPoll = std::chrono::milliseconds(10);
    // Taken before the writer lock, so a writer that waits never mistakes this one for the editor.
    if (batchWait)
        dataFile.tryLock(LockSlot::Batch, LockMode::Shared);
    const auto until = std::chrono::steady_clock::now() + batchWait.value_or(kBatchPoll * 0);
    for (int lookups = 1, tries = 0;; ++lookups, ++tries) {
        if (dataFile.tryLock(LockSlot::Writer, LockMode::Exclusive))
            return tries > 0;
        if (batchWait && std::chrono::steady_clock::now() < until) {
            // Another unattended writer holds the Batch lock too: its exclusive form is refused.
            const bool batchHolds = !dataFile.tryLock(LockSlot::Batch, LockMode::Exclusive);
            dataFile.tryLock(LockSlot::Batch, LockMode::Shared);
            if (batchHolds) {
                std::this_thread::sleep_for(kBatchPoll);
                --lookups;
                continue;
            }
        }
        const int holder = dataFile.lockHolder(LockSlot::Writer, LockMode::Exclusive);
        if (holder == 0 && lookups < kLookups)
            continue; // gone by the time it was looked up: the lock may be free now
        throw Error(fileNameOf(dataPath) + " is open for writing in another program" +
                    byWhom(holder));
    }
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
    // Never through a link: a journal is only ever made as a regular file.
    switch (fileSystem.kindOfName(journalPath)) {
    case PathKind::Missing:
        return std::nullopt;
    case PathKind::Other:
        throw Error(fileNameOf(dataPath) + ": " + fileNameOf(journalPath) +
                    " beside it is not a journal of this program (not a regular file), so it was "
                    "not applied; move it away to open the file");
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
    try {
        fileSystem.remove(journalPath);
    } catch (const IoError& error) {
        throw Error(fileNameOf(dataPath) +
                    ": a save into it was cut off before it was complete; the records and names "
                    "it held before that save were put back, but its journal " +
                    fileNameOf(journalPath) + " could not be removed (" + error.what() +
                    "), so the files were not opened; it is harmless now, remove it or let this "
                    "program write in the folder");
    }
    return fileNameOf(dataPath) +
           ": a save into it was cut off before it was complete; the records and names it held "
           "before that save were put back";
}

namespace {

/** What checkInterruptedSave finds of the journal beside dataPath; readAs is the name the reader
 * uses when it is another one. */
std::string checkJournalBeside(FileSystem& fileSystem, const std::string& dataPath,
                               FileHandle& dataFile, const std::string& readAs) {
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
    if (!readAs.empty())
        throw Error(fileNameOf(readAs) + ": a save into it through another name of the file, " +
                    dataPath + ", was cut off (" + fileNameOf(journalPathFor(dataPath)) +
                    " is beside that name); open it in the editor, or run cvnobj import or scale "
                    "on it, to put back what it held before");
    throw Error(fileNameOf(dataPath) + ": a save into it was cut off (" +
                fileNameOf(journalPathFor(dataPath)) +
                " is beside it); open it in the editor, or run cvnobj import or scale on it, to "
                "put back what it held before");
}

/** Where the record of a save into dataFile lies; empty when there is no such record. */
std::string recordPathOf(FileSystem& fileSystem, const FileHandle& dataFile) {
    const FileIdentity identity = dataFile.identity();
    const std::string folder = identity.known() ? fileSystem.pendingSavesFolder() : std::string();
    if (folder.empty())
        return {};
    std::string name;
    for (const char byte : identity.bytes()) {
        constexpr char kDigits[] = "0123456789abcdef";
        name += kDigits[static_cast<unsigned char>(byte) >> 4];
        name += kDigits[static_cast<unsigned char>(byte) & 0xF];
    }
    return folder + "/" + name + ".pending";
}

/** The name the record of a save into dataFile gives; empty when there is none. */
std::string recordedName(FileSystem& fileSystem, const FileHandle& dataFile) {
    const std::string record = recordPathOf(fileSystem, dataFile);
    if (record.empty() || fileSystem.kindOf(record) != PathKind::RegularFile)
        return {};
    try {
        const auto file = fileSystem.openReadOnly(record);
        const std::vector<std::uint8_t> bytes = readWholeFile(*file);
        file->close();
        return std::string(bytes.begin(), bytes.end());
    } catch (const Error&) {
        return {};
    }
}

/** The other name a save into dataFile was cut off through, its journal still beside it;
 * empty when there is none. */
std::string otherNameWithJournal(FileSystem& fileSystem, const std::string& dataPath,
                                 const FileHandle& dataFile) {
    const std::string through = recordedName(fileSystem, dataFile);
    if (through.empty() || through == fileSystem.absolutePath(dataPath) ||
        fileSystem.kindOf(journalPathFor(through)) == PathKind::Missing)
        return {};
    return through;
}

} // namespace

std::string checkInterruptedSave(FileSystem& fileSystem, const std::string& dataPath,
                                 FileHandle& dataFile) {
    if (const std::string through = otherNameWithJournal(fileSystem, dataPath, dataFile);
        !through.empty()) {
        const std::string notice = checkJournalBeside(fileSystem, through, dataFile, dataPath);
        if (!notice.empty())
            return notice;
    }
    return checkJournalBeside(fileSystem, dataPath, dataFile, {});
}

void recordSave(FileSystem& fileSystem, const FileHandle& dataFile, const std::string& dataPath) {
    const std::string record = recordPathOf(fileSystem, dataFile);
    if (record.empty())
        return;
    const std::string name = fileSystem.absolutePath(dataPath);
    if (fileSystem.kindOfName(record) != PathKind::Missing)
        fileSystem.remove(record);
    const auto file = fileSystem.createNew(record);
    if (file->writeAt(0, name.data(), name.size()) != name.size())
        throw IoError(IoCode::DiskFull);
    file->sync();
    file->close();
    fileSystem.syncFolderOf(record);
}

void forgetFinishedSave(FileSystem& fileSystem, const FileHandle& dataFile) {
    const std::string record = recordPathOf(fileSystem, dataFile);
    if (record.empty() || fileSystem.kindOf(record) == PathKind::Missing)
        return;
    const std::string through = recordedName(fileSystem, dataFile);
    if (through.empty() || fileSystem.kindOf(journalPathFor(through)) == PathKind::Missing)
        removeQuietly(fileSystem, record);
}

void removeSaveRecord(FileSystem& fileSystem, const FileHandle& dataFile) {
    if (const std::string record = recordPathOf(fileSystem, dataFile); !record.empty())
        removeQuietly(fileSystem, record);
}

bool hasSaveRecord(FileSystem& fileSystem, const FileHandle& dataFile) {
    const std::string record = recordPathOf(fileSystem, dataFile);
    return !record.empty() && fileSystem.kindOf(record) != PathKind::Missing;
}

std::string putBackSaveThroughOtherName(FileSystem& fileSystem, const std::string& dataPath,
                                        FileHandle& dataFile) {
    const std::string through = otherNameWithJournal(fileSystem, dataPath, dataFile);
    if (through.empty())
        return {};
    std::unique_ptr<FileHandle> names;
    try {
        names = fileSystem.openExisting(pairedNamesPath(through));
    } catch (const Error&) {
        // Missing or refused: the journal does not fit, and is set aside.
    }
    const std::string notice = putBackInterruptedSave(fileSystem, through, dataFile, names.get());
    if (names)
        names->close();
    return notice.empty() ? notice
                          : notice + " (the save was made through " + through +
                                ", another name of " + fileNameOf(dataPath) + ")";
}

void removeLeftJournal(FileSystem& fileSystem, const std::string& dataPath) {
    // Only the holder of the writer lock writes it, and this process holds the lock now.
    const std::string journalTemporary = journalTemporaryPathFor(dataPath);
    if (fileSystem.kindOfName(journalTemporary) == PathKind::RegularFile)
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

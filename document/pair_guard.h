#pragma once
// What keeps two programs from mixing their writes into one pair, and a reader
// from reading a save half-done: the data file's writer lock, held by the one
// program that may write the pair; its save lock, held while a save is under
// way and taken shared by readers; the journal an interrupted save left, put
// back by the next program that takes the writer lock; and the temporary files
// of a killed process, removed by the next one.

#include "document/file_layout.h"
#include "document/file_system.h"

#include <chrono>
#include <optional>
#include <string>

namespace doc {

/** Takes the pair's writer lock on dataFile, or throws Error "<name> is open for writing in
 * another program (process N)" (without the process where the system does not tell it; when the
 * holder is gone by the time it is looked up, the lock is tried again, a few times).
 *
 * With batchWait, the caller writes unattended (cvnobj): it marks itself so with the Batch lock,
 * and a pair held by another such program is waited for, up to batchWait, before it is refused;
 * a pair held by an interactive one (the editor) is refused at once. Returns whether it was not
 * granted at once (what the handle knew of the file may be out of date then). */
bool lockForWriting(FileHandle& dataFile, const std::string& dataPath,
                    std::optional<std::chrono::milliseconds> batchWait = std::nullopt);

/** Holds the save lock while it lives: exclusive for a save or the putting back of one, shared
 * for a reader. Waits up to two seconds for the other side, then throws Error naming the
 * program that holds it. */
class SaveLock {
public:
    SaveLock(FileHandle& dataFile, const std::string& dataPath, LockMode mode);
    ~SaveLock();
    SaveLock(const SaveLock&) = delete;
    SaveLock& operator=(const SaveLock&) = delete;

private:
    FileHandle& m_dataFile;
};

/** With the writer lock and an exclusive SaveLock held: deals with the journal a save that was
 * cut off left beside the pair, and returns what the user is to be told once (empty when
 * nothing).
 * - The files hold a torn state of exactly that save: its old bytes are put back, the journal is
 *   removed ("... were put back").
 * - They hold all of it, or the journal is marked done: the journal is only removed.
 * - They hold anything else (a backup copied back, another program's save, the names file
 *   missing: names null): nothing is written into them, and the journal is moved aside under a
 *   visible name beside the data file (setAsideJournalPathFor), never deleted ("... kept as").
 * A damaged journal, or something else than a regular file under its name, is left alone and
 * throws Error saying so. */
std::string putBackInterruptedSave(FileSystem& fileSystem, const std::string& dataPath,
                                   FileHandle& dataFile, FileHandle* namesFile);

/** For a reader holding a shared SaveLock on dataFile: throws Error when a save into the pair
 * (through this name or another one of the file) was cut off and its journal would put old
 * bytes back, since the pair holds
 * part of that save. A journal that does not fit the files (the next writer sets it aside) gives
 * the words to report; empty when there is nothing to report. */
std::string checkInterruptedSave(FileSystem& fileSystem, const std::string& dataPath,
                                 FileHandle& dataFile);

/** The record of saves under way: a save into a file writes down, in the file system's
 * pendingSavesFolder under the file's identity, the name it is made through, synced before its
 * first write into the pair and removed after its last. Every other name of the file (a hard
 * link, a symbolic link) then finds a save cut off through that name. Written only by the holder
 * of the file's writer lock. Without such a folder each name only finds the journal beside it.
 * Throws IoError: the save must not go on without it. */
void recordSave(FileSystem& fileSystem, const FileHandle& dataFile, const std::string& dataPath);
/** Removes the record once the journal of the name it gives is gone; never fails. */
void forgetFinishedSave(FileSystem& fileSystem, const FileHandle& dataFile);
/** Removes the record of this process's own save, whose journal it has just removed; never
 * fails. */
void removeSaveRecord(FileSystem& fileSystem, const FileHandle& dataFile);
/** Whether a record of a save under way into dataFile is there. */
bool hasSaveRecord(FileSystem& fileSystem, const FileHandle& dataFile);

/** With the writer lock and an exclusive SaveLock held: a save into dataFile cut off through
 * another name than dataPath is dealt with as putBackInterruptedSave deals with one beside it,
 * through that name's journal and names file. Returns what the user is to be told once. */
std::string putBackSaveThroughOtherName(FileSystem& fileSystem, const std::string& dataPath,
                                        FileHandle& dataFile);

/** With the writer lock held: removes the journal a save left under its temporary name when it
 * was stopped before the journal was complete (nothing had been written into the pair yet). */
void removeLeftJournal(FileSystem& fileSystem, const std::string& dataPath);

/** With the writer lock held: removes the temporary files of path (the names file while it was
 * made) whose process is gone. */
void removeLeftTemporaries(FileSystem& fileSystem, const std::string& path);

} // namespace doc

#pragma once
// What keeps two programs from mixing their writes into one pair, and a reader
// from reading a save half-done: the data file's writer lock, held by the one
// program that may write the pair; its save lock, held while a save is under
// way and taken shared by readers; the journal an interrupted save left, put
// back by the next program that takes the writer lock; and the temporary files
// of a killed process, removed by the next one.

#include "document/file_layout.h"
#include "document/file_system.h"

#include <string>

namespace doc {

/** Takes the pair's writer lock on dataFile, or throws Error "<name> is open for writing in
 * another program (process N)" (without the process where the system does not tell it). */
void lockForWriting(FileHandle& dataFile, const std::string& dataPath);

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

/** With the writer lock and an exclusive SaveLock held: applies the journal a save that was cut
 * off left beside the pair, removes it and returns true; false when there is none (a journal of
 * a save that completed is only removed). A damaged journal, or one written for other files (or
 * with names null, the names file missing), is left alone and throws Error saying so. */
bool putBackInterruptedSave(FileSystem& fileSystem, const std::string& dataPath,
                            FileHandle& dataFile, FileHandle* namesFile);

/** What the user is told once after putBackInterruptedSave put a save back. */
std::string interruptedSaveNotice(const std::string& dataPath);

/** For a reader holding a shared SaveLock: throws Error when a save into the pair was cut off
 * and its journal is still beside it, since the pair may hold part of it. */
void requireNoInterruptedSave(FileSystem& fileSystem, const std::string& dataPath);

/** With the writer lock held: removes the journal a save left under its temporary name when it
 * was stopped before the journal was complete (nothing had been written into the pair yet). */
void removeLeftJournal(FileSystem& fileSystem, const std::string& dataPath);

/** With the writer lock held: removes the temporary files of path (the names file while it was
 * made) whose process is gone. */
void removeLeftTemporaries(FileSystem& fileSystem, const std::string& path);

} // namespace doc

#pragma once
// The open document: the object table and the two files it was loaded from,
// which stay open until the program ends.

#include "document/file_system.h"
#include "document/object_table.h"

#include <memory>
#include <string>

namespace doc {

class FileSession {
public:
    /** Works through the given file system (the real one unless a test passes its own). */
    explicit FileSession(FileSystem& fileSystem = FileSystem::real());
    ~FileSession();
    FileSession(const FileSession&) = delete;
    FileSession& operator=(const FileSession&) = delete;

    ObjectTable& table() { return m_table; }
    const ObjectTable& table() const { return m_table; }

    /** Opens the data file at dataPath and its names file (created with "No Name Entered" slots
     * when missing) and loads every name and record. Only regular files are opened: anything
     * else at either path is "File access denied". Throws Error or IoError; a failed open
     * leaves the table, the last index, the bound files and the paths exactly as they were,
     * keeps nothing of the new pair open and leaves no names file it made. */
    void open(const std::string& dataPath);

    /** Writes every name slot and record 0 to the last index in place, one slot and one record
     * at a time, then the record count at offset 20 when it differs from the file's, so the count
     * never names a record that is not on disk; waits until both files are on the disk before
     * the count is written and again after it. Throws IoError 103 when the files are not open
     * and "File not found" when a path no longer names the file held open; in both cases nothing
     * is written. A save that fails part-way leaves the file's count as it was. */
    void save();

    /** "Add Record"'s step: the table grows by one record (the last index rises); the file's
     * count follows at the next save. Throws, changing nothing, when the files are not open or
     * still at their paths, or when the table is full. */
    void appendRecord();

    /** Closes whichever of the two files is open; never fails for want of an open file. */
    void close();

    bool isOpen() const;
    /** The data file of the loaded document; empty before the first successful open. */
    const std::string& dataPath() const { return m_dataPath; }
    const std::string& namesPath() const { return m_namesPath; }

private:
    /** Both files open and still at their paths, or throws without touching either. */
    void requireWritable() const;

    FileSystem& m_fileSystem;
    ObjectTable m_table;
    std::unique_ptr<FileHandle> m_dataFile;
    std::unique_ptr<FileHandle> m_namesFile;
    std::string m_dataPath;
    std::string m_namesPath;
    /** The record count the data file holds at offset 20. */
    int m_storedCount = 0;
};

} // namespace doc

#pragma once
// The open document: the object table and the two files it was loaded from,
// which stay open, and locked against other writers, until they are let go.

#include "document/file_system.h"
#include "document/object_table.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace doc {

class FileSession {
public:
    /** Works through the given file system (the real one unless a test passes its own). */
    explicit FileSession(FileSystem& fileSystem = FileSystem::real());
    ~FileSession();
    FileSession(const FileSession&) = delete;
    FileSession& operator=(const FileSession&) = delete;

    /** Makes this session an unattended writer (cvnobj): its opens wait up to wait for a pair
     * another unattended writer holds (see lockForWriting). */
    void waitForBatchWriters(std::chrono::milliseconds wait) { m_batchWait = wait; }

    ObjectTable& table() { return m_table; }
    const ObjectTable& table() const { return m_table; }

    /** Opens the data file at dataPath and its names file (created with "No Name Entered" slots
     * when missing, unless createMissingNames is false: then the names read empty until
     * createNamesFile) and loads every name and record. Only regular files are opened: anything
     * else at either path is "File access denied".
     *
     * The data file's writer lock is taken first and held until the pair is let go, so no other
     * program writes the pair meanwhile: a pair another program holds is refused with "<name> is
     * open for writing in another program (process N)". Opening the pair this session holds
     * reads it again through the files and the lock it has. A save that was cut off is then put
     * back before anything is read (recoveryNotice tells of it), and what a killed process left
     * (a journal under its temporary name, a names file it was making) is removed.
     *
     * Throws Error or IoError; a failed open leaves the table, the last index, the bound files
     * and the paths exactly as they were, keeps nothing of the new pair open or locked and leaves
     * no names file it made. */
    void open(const std::string& dataPath, bool createMissingNames = true);

    /** After an open without createMissingNames: whether the names file is missing. */
    bool lacksNamesFile() const { return m_dataFile && !m_namesFile; }
    /** Makes the missing names file as open would have made it and loads its names. */
    void createNamesFile();

    /** The message for the user when the last open put back a save that was cut off; empty
     * otherwise. */
    const std::string& recoveryNotice() const { return m_recoveryNotice; }

    enum class SaveMode {
        /** Writes nothing, throwing ChangedOnDiskError, when another program changed, replaced or
         * cut either file since it was read or last written. */
        RefuseChanged,
        /** Writes the table whatever the files hold now; a path that names another file now (one
         * put there by rename) is followed: that file is opened, locked and written. */
        Overwrite,
    };

    /** Writes every name slot and record 0 to the last index in place, one slot and one record
     * at a time, and the record count at offset 20 when it differs from the file's; the rest of
     * the header is never written.
     *
     * All of it or nothing: what the save overwrites goes into a journal beside the data file,
     * on the disk before the first write into the pair; once both files are on the disk the
     * journal is marked done and removed. A save that fails puts the old bytes back before it
     * throws, and one cut off by a crash is put back by the next open, so the pair on disk is
     * always the old one or the new one, byte for byte.
     *
     * Throws IoError 103 when the files are not open, "File not found" when a path no longer
     * names a file, ChangedOnDiskError (see SaveMode); in these cases nothing is written. Should
     * another program that takes no lock rename a file over one of the pair during the save, the
     * save throws Error saying so: the bytes went into the file that was replaced. */
    void save(SaveMode mode = SaveMode::RefuseChanged);

    /** Whether the pair on disk is no longer what this session read or last wrote: another file
     * at a path, another size, other bytes where the table came from. A file that cannot be read
     * counts as changed. Never throws. */
    bool changedOnDisk() const;

    /** "Add Record"'s step: the table grows by one record (the last index rises); the file's
     * count follows at the next save. Throws, changing nothing, when the files are not open or
     * no longer there, or when the table is full. */
    void appendRecord();

    /** Closes whichever of the two files is open, which lets their locks go; never fails for want
     * of an open file. */
    void close();

    bool isOpen() const;
    /** The data file of the loaded document; empty before the first successful open. */
    const std::string& dataPath() const { return m_dataPath; }
    const std::string& namesPath() const { return m_namesPath; }

private:
    /** path opened, or nothing when it is the file held already (held then serves). */
    std::unique_ptr<FileHandle> openOrReuse(const std::string& path,
                                            const std::unique_ptr<FileHandle>& held);
    /** What the files hold now where a save of count records writes. */
    struct OnDisk {
        std::int64_t dataSize = 0;
        std::int64_t namesSize = 0;
        std::vector<std::uint8_t> count;   // bytes 20 and 21, as far as the file has them
        std::vector<std::uint8_t> records; // from offset 100, as far as the file has them
        std::vector<std::uint8_t> names;   // from offset 0, as far as the file has them
    };
    OnDisk readOnDisk(int count) const;
    /** The pair as this session read or wrote it: the record count, the bytes of the records and
     * of the name slots, the sizes of both files. */
    struct Stored {
        int count = 0;
        std::vector<ObjectRecord> records;
        std::vector<NameSlot> names;
        std::int64_t dataSize = 0;
        std::int64_t namesSize = 0;
    };
    /** The table as the pair holds it once written, with files of these sizes. */
    Stored storedTable(std::int64_t dataSize, std::int64_t namesSize) const;
    /** The file of the pair whose bytes are no longer those last read or written, or "". */
    std::string changedFile(const OnDisk& now) const;
    /** Both paths still name files, or "File not found". */
    void requirePathsExist() const;
    /** Opens and locks the files the paths name now, where those are not the ones held. */
    void followPaths();
    /** The save proper, with the save lock held and the files checked. */
    void writeJournaled(const OnDisk& now);

    FileSystem& m_fileSystem;
    ObjectTable m_table;
    std::unique_ptr<FileHandle> m_dataFile;
    std::unique_ptr<FileHandle> m_namesFile;
    std::string m_dataPath;
    std::string m_namesPath;
    std::string m_recoveryNotice;
    std::optional<std::chrono::milliseconds> m_batchWait;
    /** The pair as this session last read or wrote it. */
    Stored m_stored;
    /** What a save that failed and could not be undone wrote: the pair may hold it as well. */
    std::optional<Stored> m_attempted;
};

} // namespace doc

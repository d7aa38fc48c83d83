#pragma once
// The file layer under the session: positioned, unbuffered reads and writes on
// regular files opened shared for reading and writing, advisory locks, and the
// few folder operations a file needs to be replaced whole (a new file under a
// temporary name, moved into place once complete). Tests substitute their own
// file system to simulate refused access, short reads, a full disk, vanished
// files or a process stopped at any operation.

#include "document/errors.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace doc {

/** Which file a handle leads to: equal identities are the same file on this machine, whatever
 * name it is reached by. Opaque: only the file layer that made it knows what its bytes mean (on
 * POSIX the device and inode numbers), but they can be written down and read back, and compare
 * equal then as they did before, for as long as the file and its file system exist. An empty
 * identity (a file system that tells none) is unknown. */
class FileIdentity {
public:
    FileIdentity() = default;
    explicit FileIdentity(std::string bytes) : m_bytes(std::move(bytes)) {}
    bool known() const { return !m_bytes.empty(); }
    /** What to write down; FileIdentity(bytes()) is equal to this one. */
    const std::string& bytes() const { return m_bytes; }
    bool operator==(const FileIdentity&) const = default;

private:
    std::string m_bytes;
};

/** The advisory locks a data file carries, each on a byte of its own far past any data, so they
 * never stand in the way of reading or writing the file. */
enum class LockSlot {
    Writer, // held by the one program that may write the pair, for as long as it holds it open
    Save,   // held by that program while a save is under way; readers wait for it
    Batch,  // held shared by every program that writes unattended and waits for the pair (cvnobj),
            // from before it takes the writer lock until it lets the pair go
};
enum class LockMode { Shared, Exclusive };

/** An open file. Transfers return the number of bytes moved; failures throw IoError. A short
 * read or write is reported by the count, not by an error. */
class FileHandle {
public:
    virtual ~FileHandle() = default;
    virtual std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) = 0;
    virtual std::size_t writeAt(std::int64_t offset, const void* buffer, std::size_t size) = 0;
    /** Returns once everything written is on the disk; a failure here means written bytes may
     * be lost. Throws IoError. */
    virtual void sync() = 0;
    virtual void close() = 0;
    /** Whether path still names this very file (not deleted, not replaced). */
    virtual bool isStillAt(const std::string& path) const = 0;
    virtual FileIdentity identity() const = 0;
    /** The file's size in bytes now. Throws IoError. */
    virtual std::int64_t size() const = 0;
    /** The size as the handle last saw it: at its open, unless it wrote or cut the file since,
     * when it looks again. What another program did meanwhile is not seen. Throws IoError. */
    virtual std::int64_t lastKnownSize() const { return size(); }
    /** Cuts the file to size bytes. Throws IoError. */
    virtual void truncate(std::int64_t size) = 0;

    /** Takes the lock without waiting: true when granted, false when another open file holds
     * one that conflicts (a shared lock conflicts only with an exclusive one). The lock belongs
     * to this handle, in this process as in any other, and goes with its close or the end of
     * the process. On a file system that keeps no locks it is granted, as there is nothing to
     * hold. Throws IoError on other failures. */
    virtual bool tryLock(LockSlot slot, LockMode mode) = 0;
    virtual void unlock(LockSlot slot) = 0;
    /** The process holding a lock that conflicts with mode on slot; 0 when there is none or the
     * system does not tell (a process of another user, another machine). */
    virtual int lockHolder(LockSlot slot, LockMode mode) const = 0;
};

/** What a path names, links followed. */
enum class PathKind {
    Missing,     // nothing at all, not even a link
    RegularFile, // a regular file, or a link to one
    Other,       // a folder, a device, a FIFO, a socket, a dangling or looping link
};

/** A file made by createTemporary, and the name it was made under. */
struct TemporaryFile {
    std::unique_ptr<FileHandle> handle;
    std::string path;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    /** Opens an existing regular file for reading and writing. Anything else at path (a folder,
     * a device, a FIFO) is "File access denied" and is not opened. Throws IoError. */
    virtual std::unique_ptr<FileHandle> openExisting(const std::string& path) = 0;
    /** Like openExisting, for reading only; writes through the handle fail. */
    virtual std::unique_ptr<FileHandle> openReadOnly(const std::string& path) = 0;
    /** Creates a new empty file in the folder of path under a name no other file has, open for
     * reading and writing, to be moved to path with rename once complete. Throws IoError. */
    virtual TemporaryFile createTemporary(const std::string& path) = 0;
    /** Creates a new empty file at exactly path, open for reading and writing; anything at path
     * makes it fail. Throws IoError. */
    virtual std::unique_ptr<FileHandle> createNew(const std::string& path) = 0;
    /** Gives the file at from the name to. With replaceExisting a file at to is replaced in one
     * step; without it a file at to is kept and the rename fails. Throws IoError. */
    virtual void rename(const std::string& from, const std::string& to, bool replaceExisting) = 0;
    /** Removes the file at path (a link itself, not what it names). Throws IoError. */
    virtual void remove(const std::string& path) = 0;
    /** Makes the names in the folder of path durable, so a rename into it survives a crash.
     * Throws IoError. */
    virtual void syncFolderOf(const std::string& path) = 0;
    /** Never fails: what cannot be looked at is Missing. */
    virtual PathKind kindOf(const std::string& path) const = 0;
    /** What the name itself is, a link not followed (a link of any kind is Other). Never fails.
     * For the files this program makes beside the pair, which it never reaches through a link. */
    virtual PathKind kindOfName(const std::string& path) const { return kindOf(path); }
    /** The names in a folder, "." and ".." left out; none when it cannot be read. */
    virtual std::vector<std::string> folderEntries(const std::string& folder) const = 0;
    /** False only when the system says no process has that number. */
    virtual bool processExists(int pid) const = 0;
    /** The folder where this machine keeps its record of saves under way, so that every name of
     * a file finds a save cut off through another one (see pair_guard.h): made when missing,
     * writable by this user alone, and lasting through a restart of the machine. Empty when there
     * is none; then each name only finds the journal beside it. Never fails. */
    virtual std::string pendingSavesFolder() { return {}; }
    /** path from the root of the file system (a relative one put after the working folder), so
     * that it can be written down and found again from anywhere. Never fails: path itself when
     * the working folder cannot be told. */
    virtual std::string absolutePath(const std::string& path) const { return path; }

    /** The operating system's files. */
    static FileSystem& real();
};

/** The I/O code for a C library error number (errno) (see IoCode), or the number itself. */
int ioCodeForErrno(int err);

/** The error to throw for a failing C library call: the code's message for the errno values
 * that have a code, "I/O error <errno>" for all others (an EIO is "I/O error 5"). */
IoError ioErrorForErrno(int err);

/** Removes a file that must not outlive a failure, or that is only left over; the failure that
 * led here is the one that counts, so this one's own failure is not reported. */
void removeQuietly(FileSystem& fileSystem, const std::string& path);

} // namespace doc

#pragma once
// The file layer under the session: positioned, unbuffered reads and writes on
// files opened shared for reading and writing. Tests substitute their own file
// system to simulate refused access, short reads, a full disk or vanished files.

#include "document/errors.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace doc {

/** An open file. Transfers return the number of bytes moved; failures throw IoError. A short
 * read or write is reported by the count, not by an error. */
class FileHandle {
public:
    virtual ~FileHandle() = default;
    virtual std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) = 0;
    virtual std::size_t writeAt(std::int64_t offset, const void* buffer, std::size_t size) = 0;
    virtual void close() = 0;
    /** Whether path still names this very file (not deleted, not replaced). */
    virtual bool isStillAt(const std::string& path) const = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    /** Opens an existing file for reading and writing; throws IoError. */
    virtual std::unique_ptr<FileHandle> openExisting(const std::string& path) = 0;
    /** Opens an existing file for reading only; writes through the handle fail. Throws IoError. */
    virtual std::unique_ptr<FileHandle> openReadOnly(const std::string& path) = 0;
    /** Creates an empty file, open for reading and writing; throws IoError. */
    virtual std::unique_ptr<FileHandle> create(const std::string& path) = 0;
    virtual bool exists(const std::string& path) const = 0;

    /** The operating system's files. */
    static FileSystem& real();
};

/** The I/O code for a system error number (see IoCode), or the number itself. */
int ioCodeForErrno(int err);

/** The error to throw for a failing system call: the code's message for the numbers that have
 * a code, "I/O error <errno>" for all others (an EIO is "I/O error 5"). */
IoError ioErrorForErrno(int err);

} // namespace doc

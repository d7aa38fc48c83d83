#include "document/file_system.h"

#include "document/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace doc {

namespace {

/** The system errors that have a code of their own in the I/O message table. */
std::optional<IoCode> listedCode(int err) {
    switch (err) {
    case ENOENT:
        return IoCode::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
        return IoCode::InvalidFilename;
    case EMFILE:
    case ENFILE:
        return IoCode::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
        return IoCode::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return IoCode::DiskFull;
    default:
        return std::nullopt;
    }
}

} // namespace

int ioCodeForErrno(int err) {
    const auto code = listedCode(err);
    return code ? static_cast<int>(*code) : err;
}

IoError ioErrorForErrno(int err) {
    const auto code = listedCode(err);
    return code ? IoError(*code) : IoError::unlisted(err);
}

namespace {

/** For open and create, an invalid argument can only be the path. */
IoError openErrorForErrno(int err) {
    return err == EINVAL ? IoError(IoCode::InvalidFilename) : ioErrorForErrno(err);
}

/** Repeats a positioned transfer until size bytes moved or the file gives no more (end of file
 * on a read, no space on a write); the caller sees a short count. Interrupted calls are retried. */
template <typename Transfer> std::size_t transferAll(std::size_t size, Transfer transfer) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = transfer(done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw ioErrorForErrno(errno);
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

off_t positionAfter(std::int64_t offset, std::size_t done) {
    return static_cast<off_t>(offset + static_cast<std::int64_t>(done));
}

class PosixFileHandle final : public FileHandle {
public:
    explicit PosixFileHandle(int fd) : m_fd(fd) {
        struct stat info {};
        if (::fstat(fd, &info) == 0) {
            m_device = info.st_dev;
            m_inode = info.st_ino;
        }
    }
    ~PosixFileHandle() override {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PosixFileHandle(const PosixFileHandle&) = delete;
    PosixFileHandle& operator=(const PosixFileHandle&) = delete;

    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
        requireOpen();
        auto* bytes = static_cast<char*>(buffer);
        return transferAll(size, [&](std::size_t done) {
            return ::pread(m_fd, bytes + done, size - done, positionAfter(offset, done));
        });
    }

    std::size_t writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
        requireOpen();
        const auto* bytes = static_cast<const char*>(buffer);
        return transferAll(size, [&](std::size_t done) {
            return ::pwrite(m_fd, bytes + done, size - done, positionAfter(offset, done));
        });
    }

    void close() override {
        requireOpen();
        const int fd = m_fd;
        m_fd = -1;
        // Linux releases the descriptor even when close reports EINTR, so it is not retried.
        if (::close(fd) != 0 && errno != EINTR)
            throw ioErrorForErrno(errno);
    }

    bool isStillAt(const std::string& path) const override {
        struct stat info {};
        if (m_fd < 0 || ::stat(path.c_str(), &info) != 0)
            return false;
        return info.st_dev == m_device && info.st_ino == m_inode;
    }

private:
    void requireOpen() const {
        if (m_fd < 0)
            throw IoError(IoCode::NotOpen);
    }

    int m_fd;
    dev_t m_device{};
    ino_t m_inode{};
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<FileHandle> openExisting(const std::string& path) override {
        return openWith(path, O_RDWR | O_CLOEXEC);
    }

    std::unique_ptr<FileHandle> openReadOnly(const std::string& path) override {
        return openWith(path, O_RDONLY | O_CLOEXEC);
    }

    std::unique_ptr<FileHandle> create(const std::string& path) override {
        // Never truncates: a file that appeared since the existence test is refused.
        return openWith(path, O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL);
    }

    bool exists(const std::string& path) const override {
        struct stat info {};
        return path.find('\0') == std::string::npos && ::stat(path.c_str(), &info) == 0 &&
               !S_ISDIR(info.st_mode);
    }

private:
    static std::unique_ptr<FileHandle> openWith(const std::string& path, int flags) {
        if (path.empty())
            throw IoError(IoCode::FileNotFound);
        if (path.find('\0') != std::string::npos)
            throw IoError(IoCode::InvalidFilename);
        for (;;) {
            const int fd = ::open(path.c_str(), flags, 0666);
            if (fd >= 0)
                return std::make_unique<PosixFileHandle>(fd);
            if (errno != EINTR)
                throw openErrorForErrno(errno);
        }
    }
};

} // namespace

FileSystem& FileSystem::real() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

} // namespace doc

// The file layer on POSIX systems (Linux): every system call the document layer makes is here.
// Nothing of it shows in a header; another system gets a file of its own beside this one.

#include "document/errors.h"
#include "document/file_layout.h"
#include "document/file_system.h"
#include "document/own_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace doc {

namespace {

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};
using Folder = std::unique_ptr<DIR, FolderCloser>;

bool isNumber(const char* name) {
    return *name != '\0' && std::strspn(name, "0123456789") == std::strlen(name);
}

std::string readSmallFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return text;
}

/** Whether one of the "lock:" lines of an fdinfo file is a lock that covers offset and conflicts
 * with type: "lock:\t1: OFDLCK ADVISORY  WRITE -1 fe:00:1234 1073741824 1073741824". */
bool holdsConflictingLock(std::string_view fdinfo, off_t offset, short type) {
    for (std::size_t at = 0; (at = fdinfo.find("lock:", at)) != std::string_view::npos;) {
        const std::size_t end = std::min(fdinfo.find('\n', at), fdinfo.size());
        const std::string_view line = fdinfo.substr(at, end - at);
        at = end;
        const bool write = line.find(" WRITE ") != std::string_view::npos;
        if (!write && type != F_WRLCK)
            continue; // two shared locks do not conflict
        // The last two words: the first byte and the last one, or "EOF".
        const std::size_t lastSpace = line.find_last_of(' ');
        const std::size_t firstSpace = line.find_last_of(' ', lastSpace - 1);
        if (lastSpace == std::string_view::npos || firstSpace == std::string_view::npos)
            continue;
        const std::string_view first = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
        const std::string_view last = line.substr(lastSpace + 1);
        long long from = 0, to = 0;
        if (std::from_chars(first.data(), first.data() + first.size(), from).ec != std::errc{})
            continue;
        const bool toEnd = last == "EOF";
        if (!toEnd && std::from_chars(last.data(), last.data() + last.size(), to).ec != std::errc{})
            continue;
        if (from <= offset && (toEnd || offset <= to))
            return true;
    }
    return false;
}

/** Looks through /proc/<pid>/fd of every process for the file and a lock on it. */
int searchProcesses(const struct stat& file, off_t offset, short type) {
    const Folder processes(::opendir("/proc"));
    if (!processes)
        return 0;
    const int self = static_cast<int>(::getpid());
    while (const dirent* process = ::readdir(processes.get())) {
        if (!isNumber(process->d_name))
            continue;
        int pid = 0;
        std::from_chars(process->d_name, process->d_name + std::strlen(process->d_name), pid);
        if (pid == self)
            continue;
        const std::string fdFolder = std::string("/proc/") + process->d_name + "/fd/";
        const Folder descriptors(::opendir(fdFolder.c_str()));
        if (!descriptors)
            continue; // gone, or another user's
        while (const dirent* descriptor = ::readdir(descriptors.get())) {
            if (!isNumber(descriptor->d_name))
                continue;
            struct stat info {};
            if (::stat((fdFolder + descriptor->d_name).c_str(), &info) != 0 ||
                info.st_dev != file.st_dev || info.st_ino != file.st_ino)
                continue;
            const std::string fdinfo = readSmallFile(std::string("/proc/") + process->d_name +
                                                     "/fdinfo/" + descriptor->d_name);
            if (holdsConflictingLock(fdinfo, offset, type))
                return pid;
        }
    }
    return 0;
}

/** The process holding a lock on the byte at offset of the file open as fd that conflicts with
 * a lock of type (F_RDLCK or F_WRLCK); 0 when none does or the holder cannot be told. The system
 * reports the holder of a classic record lock, but not of an open file description lock (its
 * process is given as -1); for those the processes' open files are looked through instead, so
 * only processes whose open files this process may look at can be named. */
int processHoldingLock(int fd, off_t offset, short type) {
    struct flock probe {};
    probe.l_type = type;
    probe.l_whence = SEEK_SET;
    probe.l_start = offset;
    probe.l_len = 1;
    if (::fcntl(fd, F_OFD_GETLK, &probe) != 0 || probe.l_type == F_UNLCK)
        return 0;
    if (probe.l_pid > 0)
        return static_cast<int>(probe.l_pid); // a classic record lock names its process
    struct stat file {};
    if (::fstat(fd, &file) != 0)
        return 0;
    return searchProcesses(file, offset, type);
}

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

/** The lock bytes, at 1 GiB: far past the largest data file, and below the offsets a file system
 * without large-file support refuses. */
off_t lockOffset(LockSlot slot) {
    constexpr off_t kFirstLockByte = off_t{1} << 30;
    return kFirstLockByte + (slot == LockSlot::Writer ? 0 : 1);
}

struct flock lockRequest(LockSlot slot, short type) {
    struct flock request {};
    request.l_type = type;
    request.l_whence = SEEK_SET;
    request.l_start = lockOffset(slot);
    request.l_len = 1;
    return request;
}

short lockType(LockMode mode) {
    return mode == LockMode::Shared ? F_RDLCK : F_WRLCK;
}

/** The identity's bytes: the device and the inode number, 8 bytes each, least significant first. */
FileIdentity identityOf(const struct stat& info) {
    std::string bytes;
    for (const std::uint64_t number :
         {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)})
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<char>(number >> (8 * i)));
    return FileIdentity(std::move(bytes));
}

class PosixFileHandle final : public FileHandle {
public:
    explicit PosixFileHandle(int fd) : m_fd(fd) {
        struct stat info {};
        if (::fstat(fd, &info) == 0) {
            m_device = info.st_dev;
            m_inode = info.st_ino;
            m_knownSize = info.st_size;
        }
    }
    /** For a descriptor whose fstat the caller has already made. */
    PosixFileHandle(int fd, const struct stat& info)
        : m_fd(fd), m_device(info.st_dev), m_inode(info.st_ino), m_knownSize(info.st_size) {}
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
        m_knownSize = -1;
        return transferAll(size, [&](std::size_t done) {
            return ::pwrite(m_fd, bytes + done, size - done, positionAfter(offset, done));
        });
    }

    void sync() override {
        requireOpen();
        while (::fsync(m_fd) != 0) {
            if (errno != EINTR)
                throw ioErrorForErrno(errno);
        }
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

    FileIdentity identity() const override {
        struct stat info {};
        info.st_dev = m_device;
        info.st_ino = m_inode;
        return identityOf(info);
    }

    std::int64_t size() const override {
        requireOpen();
        struct stat info {};
        if (::fstat(m_fd, &info) != 0)
            throw ioErrorForErrno(errno);
        return info.st_size;
    }

    std::int64_t lastKnownSize() const override { return m_knownSize >= 0 ? m_knownSize : size(); }

    void truncate(std::int64_t size) override {
        requireOpen();
        m_knownSize = -1;
        while (::ftruncate(m_fd, static_cast<off_t>(size)) != 0) {
            if (errno != EINTR)
                throw ioErrorForErrno(errno);
        }
    }

    // Open file description locks: they belong to this open file, not to the process, so a
    // second open of the file in the same process neither shares nor silently drops them, and
    // they conflict with the classic record locks other programs take.
    bool tryLock(LockSlot slot, LockMode mode) override {
        requireOpen();
        struct flock request = lockRequest(slot, lockType(mode));
        while (::fcntl(m_fd, F_OFD_SETLK, &request) != 0) {
            if (errno == EAGAIN || errno == EACCES)
                return false;
            // A file system that keeps no locks (some network and FUSE ones): there is nothing
            // to hold, and refusing its files would leave them uneditable.
            if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL)
                return true;
            if (errno != EINTR)
                throw ioErrorForErrno(errno);
        }
        return true;
    }

    void unlock(LockSlot slot) override {
        requireOpen();
        struct flock request = lockRequest(slot, F_UNLCK);
        ::fcntl(m_fd, F_OFD_SETLK, &request);
    }

    int lockHolder(LockSlot slot, LockMode mode) const override {
        return m_fd < 0 ? 0 : processHoldingLock(m_fd, lockOffset(slot), lockType(mode));
    }

private:
    void requireOpen() const {
        if (m_fd < 0)
            throw IoError(IoCode::NotOpen);
    }

    int m_fd;
    dev_t m_device{};
    ino_t m_inode{};
    /** The size its fstat saw, -1 once it wrote or cut the file. */
    std::int64_t m_knownSize = -1;
};

/** Rejects what no file name can be: empty, or holding a zero byte. */
void requireUsablePath(const std::string& path) {
    if (path.empty())
        throw IoError(IoCode::FileNotFound);
    if (path.find('\0') != std::string::npos)
        throw IoError(IoCode::InvalidFilename);
}

/** The folder that holds path, as the system opens it: "." when path names none. */
std::string containingFolder(const std::string& path) {
    const std::string folder = folderOfPath(path);
    if (folder.empty())
        return ".";
    return folder.size() == 1 ? folder : folder.substr(0, folder.size() - 1);
}

/** A name for a temporary file, different on every call of every process. */
std::string temporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto clock = std::chrono::steady_clock::now().time_since_epoch().count();
    return temporaryPathFor(path, static_cast<int>(::getpid()), counter.fetch_add(1),
                            static_cast<std::uint32_t>(clock));
}

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<FileHandle> openExisting(const std::string& path) override {
        return openRegular(path, O_RDWR);
    }

    std::unique_ptr<FileHandle> openReadOnly(const std::string& path) override {
        return openRegular(path, O_RDONLY);
    }

    TemporaryFile createTemporary(const std::string& path) override {
        requireUsablePath(path);
        // Made like any new file (0666 less the umask), not with mkstemp's private 0600, since it
        // becomes the user's file once moved into place.
        for (int attempt = 0;; ++attempt) {
            std::string name = temporaryName(path);
            const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
            if (fd >= 0)
                return {std::make_unique<PosixFileHandle>(fd), std::move(name)};
            if (errno == EINTR || (errno == EEXIST && attempt < 100))
                continue;
            throw openErrorForErrno(errno);
        }
    }

    std::unique_ptr<FileHandle> createNew(const std::string& path) override {
        requireUsablePath(path);
        for (;;) {
            const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_CREAT | O_EXCL, 0666);
            if (fd >= 0)
                return std::make_unique<PosixFileHandle>(fd);
            if (errno != EINTR)
                throw openErrorForErrno(errno);
        }
    }

    void rename(const std::string& from, const std::string& to, bool replaceExisting) override {
        requireUsablePath(from);
        requireUsablePath(to);
        if (replaceExisting) {
            if (::rename(from.c_str(), to.c_str()) != 0)
                throw openErrorForErrno(errno);
            return;
        }
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return;
        if (errno != EINVAL && errno != ENOSYS)
            throw openErrorForErrno(errno);
        // A file system that cannot rename without replacing: a second name, then the first
        // one removed, which fails the same way when to exists.
        if (::link(from.c_str(), to.c_str()) != 0)
            throw openErrorForErrno(errno);
        ::unlink(from.c_str());
    }

    void remove(const std::string& path) override {
        requireUsablePath(path);
        if (::unlink(path.c_str()) != 0)
            throw openErrorForErrno(errno);
    }

    void syncFolderOf(const std::string& path) override {
        requireUsablePath(path);
        const std::string folder = containingFolder(path);
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            throw openErrorForErrno(errno);
        int result = 0;
        while ((result = ::fsync(fd)) != 0 && errno == EINTR) {
        }
        const int err = errno;
        ::close(fd);
        // Some file systems cannot sync a folder at all; there is nothing more to make durable.
        if (result != 0 && err != EINVAL)
            throw ioErrorForErrno(err);
    }

    PathKind kindOf(const std::string& path) const override {
        if (path.empty() || path.find('\0') != std::string::npos)
            return PathKind::Missing;
        // The name itself first: nothing there, or a file that is no link, takes one call.
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0)
            return PathKind::Missing;
        if (S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) != 0)
            return PathKind::Other; // a link that leads nowhere is still in the way of a new file
        return S_ISREG(info.st_mode) ? PathKind::RegularFile : PathKind::Other;
    }

    std::vector<std::string> folderEntries(const std::string& folder) const override {
        std::vector<std::string> names;
        DIR* const listing = ::opendir(folder.empty() ? "." : folder.c_str());
        if (!listing)
            return names;
        while (const dirent* entry = ::readdir(listing)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
        }
        ::closedir(listing);
        return names;
    }

    bool processExists(int pid) const override {
        return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH);
    }

private:
    /** Opens a regular file. Anything else is refused before it is opened, since opening a
     * device or a FIFO can block or have effects of its own; the check is repeated on the open
     * descriptor in case the path changed in between. */
    static std::unique_ptr<FileHandle> openRegular(const std::string& path, int access) {
        requireUsablePath(path);
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
            throw IoError(IoCode::AccessDenied);
        for (;;) {
            const int fd = ::open(path.c_str(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
            if (fd < 0) {
                if (errno == EINTR)
                    continue;
                throw errno == EISDIR ? IoError(IoCode::AccessDenied) : openErrorForErrno(errno);
            }
            if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
                ::close(fd);
                throw IoError(IoCode::AccessDenied);
            }
            // O_NONBLOCK stays: it has no effect on a regular file.
            return std::make_unique<PosixFileHandle>(fd, info);
        }
    }
};

} // namespace

FileSystem& FileSystem::real() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}

} // namespace doc

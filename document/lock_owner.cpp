#include "document/lock_owner.h"

#include <cerrno>
#include <charconv>
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

} // namespace

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

} // namespace doc

// The file layer on Windows: the same promises as on Linux, kept with the Win32 calls. Paths are
// UTF-8 as the user gave them and go to the ...W functions as UTF-16, long ones included; files
// are opened shared for reading, writing and deletion, so readers are never shut out and a file
// can be replaced by a rename while it is open.

#include "document/file_system.h"

#include "document/errors.h"
#include "document/file_layout.h"
#include "document/own_files.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <optional>

namespace doc {

namespace {

/** Windows' own error codes that have a code in the I/O message table. */
std::optional<IoCode> listedWindowsError(DWORD err) {
    switch (err) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return IoCode::FileNotFound;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
    case ERROR_NO_UNICODE_TRANSLATION:
        return IoCode::InvalidFilename;
    case ERROR_TOO_MANY_OPEN_FILES:
        return IoCode::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
        return IoCode::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED, missing from MinGW's headers
        return IoCode::DiskFull;
    default:
        return std::nullopt;
    }
}

/** The error to throw for a failing Win32 call: its code's message, or "I/O error <code>". */
IoError windowsError(DWORD err = ::GetLastError()) {
    const auto code = listedWindowsError(err);
    return code ? IoError(*code) : IoError::unlisted(static_cast<int>(err));
}

/** Rejects what no file name can be: empty, or holding a zero byte. */
void requireUsablePath(const std::string& path) {
    if (path.empty())
        throw IoError(IoCode::FileNotFound);
    if (path.find('\0') != std::string::npos)
        throw IoError(IoCode::InvalidFilename);
}

std::wstring toWide(const std::string& text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    if (length <= 0)
        throw IoError(IoCode::InvalidFilename);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
    return wide;
}

std::string toUtf8(const wchar_t* text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
    utf8.pop_back(); // the terminating zero
    return utf8;
}

/** path in UTF-16 for the ...W functions. A path too long for the classic limit is made absolute
 * and given the "\\?\" prefix that lifts the limit (which also turns off the system's own
 * clean-up of the path, done here by GetFullPathNameW first). */
std::wstring systemPath(const std::string& path) {
    std::wstring wide = toWide(path);
    constexpr std::size_t kClassicLimit = MAX_PATH - 12; // room for an 8.3 name in a folder
    if (wide.size() < kClassicLimit || wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    const DWORD needed = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        throw windowsError();
    std::wstring full(needed, L'\0');
    const DWORD length = ::GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        throw windowsError();
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0) // \\server\share\...
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

/** The lock bytes, at 1 GiB: far past the largest data file. Windows' byte-range locks keep
 * other handles from reading and writing the locked bytes, which no data ever occupies. */
std::uint64_t lockOffset(LockSlot slot) {
    constexpr std::uint64_t kFirstLockByte = std::uint64_t{1} << 30;
    return kFirstLockByte + (slot == LockSlot::Writer ? 0 : 1);
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

/** A file's identity: the volume's serial number and the file's index on it, 8 bytes each,
 * least significant first. */
std::optional<FileIdentity> identityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info))
        return std::nullopt;
    std::string bytes;
    for (const std::uint64_t number :
         {std::uint64_t{info.dwVolumeSerialNumber},
          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow})
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<char>(number >> (8 * i)));
    return FileIdentity(std::move(bytes));
}

/** Opens path only to look at it: no access to its data, so no share mode stands in the way. */
HANDLE openForAttributes(const std::string& path) {
    return ::CreateFileW(systemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

/** The name of the shared memory in which the holder of a lock writes down its process id, so
 * that a program refused the lock can name it: Windows does not tell who holds a byte-range
 * lock. It lives as long as one of its holders keeps it open, so it dies with the holder. */
std::wstring holderRecordName(const FileIdentity& file, LockSlot slot) {
    std::wstring name = L"Local\\corvane-lock-";
    for (const char byte : file.bytes()) {
        wchar_t hex[3];
        std::swprintf(hex, 3, L"%02x", static_cast<unsigned>(static_cast<unsigned char>(byte)));
        name += hex;
    }
    return name + (slot == LockSlot::Writer ? L"-writer" : L"-save");
}

class WindowsFileHandle final : public FileHandle {
public:
    WindowsFileHandle(HANDLE handle, bool writable) : m_handle(handle), m_writable(writable) {
        if (const auto identity = identityOf(handle))
            m_identity = *identity;
        LARGE_INTEGER size{};
        m_knownSize = ::GetFileSizeEx(handle, &size) ? size.QuadPart : -1;
    }
    ~WindowsFileHandle() override {
        for (HANDLE& record : m_holderRecords)
            dropRecord(record);
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    WindowsFileHandle(const WindowsFileHandle&) = delete;
    WindowsFileHandle& operator=(const WindowsFileHandle&) = delete;

    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
        requireOpen();
        auto* bytes = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            OVERLAPPED where = at(static_cast<std::uint64_t>(offset) + done);
            DWORD moved = 0;
            if (!::ReadFile(m_handle, bytes + done, chunk(size - done), &moved, &where)) {
                const DWORD err = ::GetLastError();
                if (err == ERROR_HANDLE_EOF)
                    break;
                throw windowsError(err);
            }
            if (moved == 0)
                break;
            done += moved;
        }
        return done;
    }

    std::size_t writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
        requireOpen();
        if (!m_writable)
            throw IoError(IoCode::AccessDenied);
        const auto* bytes = static_cast<const char*>(buffer);
        m_knownSize = -1;
        std::size_t done = 0;
        while (done < size) {
            OVERLAPPED where = at(static_cast<std::uint64_t>(offset) + done);
            DWORD moved = 0;
            if (!::WriteFile(m_handle, bytes + done, chunk(size - done), &moved, &where))
                throw windowsError();
            if (moved == 0)
                break;
            done += moved;
        }
        return done;
    }

    void sync() override {
        requireOpen();
        // A handle that cannot write has nothing of its own to flush, and Windows refuses it.
        if (m_writable && !::FlushFileBuffers(m_handle))
            throw windowsError();
    }

    void close() override {
        requireOpen();
        for (HANDLE& record : m_holderRecords)
            dropRecord(record);
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(handle))
            throw windowsError();
    }

    bool isStillAt(const std::string& path) const override {
        if (m_handle == INVALID_HANDLE_VALUE || path.empty())
            return false;
        HANDLE other = INVALID_HANDLE_VALUE;
        try {
            other = openForAttributes(path);
        } catch (const IoError&) {
            return false;
        }
        if (other == INVALID_HANDLE_VALUE)
            return false;
        const auto identity = identityOf(other);
        ::CloseHandle(other);
        return identity && *identity == m_identity;
    }

    FileIdentity identity() const override { return m_identity; }

    std::int64_t size() const override {
        requireOpen();
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(m_handle, &size))
            throw windowsError();
        return size.QuadPart;
    }

    std::int64_t lastKnownSize() const override { return m_knownSize >= 0 ? m_knownSize : size(); }

    void truncate(std::int64_t size) override {
        requireOpen();
        m_knownSize = -1;
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = size;
        if (!::SetFileInformationByHandle(m_handle, FileEndOfFileInfo, &end, sizeof end))
            throw windowsError();
    }

    // Byte-range locks belong to the handle, as the open file description locks on Linux do.
    // They stack and cannot change between shared and exclusive, so the mode held is kept
    // here: asking again for it is granted at once, and a change of mode lets the lock go and
    // takes it anew (taking back the old mode when the new one is refused).
    bool tryLock(LockSlot slot, LockMode mode) override {
        requireOpen();
        auto& held = m_held[index(slot)];
        if (held == mode)
            return true;
        const std::optional<LockMode> before = held;
        if (before)
            unlock(slot);
        if (lockRange(slot, mode)) {
            held = mode;
            recordHolder(slot);
            return true;
        }
        if (before && lockRange(slot, *before)) {
            held = before;
            recordHolder(slot);
        }
        return false;
    }

    void unlock(LockSlot slot) override {
        requireOpen();
        auto& held = m_held[index(slot)];
        if (!held)
            return;
        const std::uint64_t offset = lockOffset(slot);
        OVERLAPPED where = at(offset);
        ::UnlockFileEx(m_handle, 0, 1, 0, &where);
        held.reset();
        dropRecord(m_holderRecords[index(slot)]);
    }

    int lockHolder(LockSlot slot, LockMode mode) const override {
        if (m_handle == INVALID_HANDLE_VALUE || m_held[index(slot)] || !m_identity.known())
            return 0;
        // Is there a conflicting lock at all? Taken and let go at once when there is none.
        if (lockRange(slot, mode)) {
            OVERLAPPED where = at(lockOffset(slot));
            ::UnlockFileEx(m_handle, 0, 1, 0, &where);
            return 0;
        }
        const HANDLE record =
            ::OpenFileMappingW(FILE_MAP_READ, FALSE, holderRecordName(m_identity, slot).c_str());
        if (!record)
            return 0;
        int pid = 0;
        if (const void* view = ::MapViewOfFile(record, FILE_MAP_READ, 0, 0, sizeof pid)) {
            std::memcpy(&pid, view, sizeof pid);
            ::UnmapViewOfFile(view);
        }
        ::CloseHandle(record);
        return pid;
    }

private:
    static std::size_t index(LockSlot slot) { return slot == LockSlot::Writer ? 0 : 1; }
    static DWORD chunk(std::size_t left) {
        return static_cast<DWORD>(std::min<std::size_t>(left, 1U << 30));
    }

    void requireOpen() const {
        if (m_handle == INVALID_HANDLE_VALUE)
            throw IoError(IoCode::NotOpen);
    }

    bool lockRange(LockSlot slot, LockMode mode) const {
        OVERLAPPED where = at(lockOffset(slot));
        DWORD flags = LOCKFILE_FAIL_IMMEDIATELY;
        if (mode == LockMode::Exclusive)
            flags |= LOCKFILE_EXCLUSIVE_LOCK;
        if (::LockFileEx(m_handle, flags, 0, 1, 0, &where))
            return true;
        const DWORD err = ::GetLastError();
        if (err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING)
            return false;
        // A file system that keeps no locks: there is nothing to hold, and refusing its files
        // would leave them uneditable.
        if (err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION)
            return true;
        throw windowsError(err);
    }

    /** Writes this process's id where a program refused the lock reads it. Best effort: without
     * it the holder is only not named. */
    void recordHolder(LockSlot slot) {
        HANDLE& record = m_holderRecords[index(slot)];
        dropRecord(record);
        if (!m_identity.known())
            return;
        const int pid = static_cast<int>(::GetCurrentProcessId());
        record = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof pid,
                                      holderRecordName(m_identity, slot).c_str());
        if (!record)
            return;
        if (void* view = ::MapViewOfFile(record, FILE_MAP_WRITE, 0, 0, sizeof pid)) {
            std::memcpy(view, &pid, sizeof pid);
            ::UnmapViewOfFile(view);
        }
    }

    static void dropRecord(HANDLE& record) {
        if (record)
            ::CloseHandle(record);
        record = nullptr;
    }

    HANDLE m_handle;
    bool m_writable;
    FileIdentity m_identity{};
    /** The size seen at the open, -1 once the handle wrote or cut the file. */
    std::int64_t m_knownSize = -1;
    std::optional<LockMode> m_held[2];
    HANDLE m_holderRecords[2] = {nullptr, nullptr};
};

/** Opens or creates a file through CreateFileW, shared as every file of ours is. */
HANDLE createFile(const std::string& path, DWORD access, DWORD disposition) {
    return ::CreateFileW(systemPath(path).c_str(), access, kShareAll, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

/** path as the kernel names it, "\??\C:\..." or "\??\UNC\server\share\...", for the calls
 * that take no Win32 path. */
std::wstring kernelPath(const std::wstring& path) {
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return {};
    full.resize(length);
    if (full.rfind(L"\\\\?\\", 0) == 0)
        return L"\\??\\" + full.substr(4);
    if (full.rfind(L"\\\\", 0) == 0)
        return L"\\??\\UNC\\" + full.substr(2);
    return L"\\??\\" + full;
}

/** Moves from over to with POSIX semantics (FileRenameInfoEx); false where the system or the
 * file system has none, so the caller renames the classic way. */
bool renameReplacingOpenFile(const std::wstring& from, const std::wstring& to) {
    constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
    constexpr DWORD kReplaceIfExists = 0x1, kPosixSemantics = 0x2;
    const std::wstring name = kernelPath(to);
    if (name.empty())
        return false;
    const HANDLE file = ::CreateFileW(from.c_str(), DELETE | SYNCHRONIZE, kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->Flags = kReplaceIfExists | kPosixSemantics; // the union's ReplaceIfExists in Ex form
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, name.data(), nameBytes);
    const bool renamed = ::SetFileInformationByHandle(file, kFileRenameInfoEx, info,
                                                      static_cast<DWORD>(buffer.size()));
    ::CloseHandle(file);
    return renamed;
}

/** A name for a temporary file, different on every call of every process. */
std::string temporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto clock = std::chrono::steady_clock::now().time_since_epoch().count();
    return temporaryPathFor(path, static_cast<int>(::GetCurrentProcessId()), counter.fetch_add(1),
                            static_cast<std::uint32_t>(clock));
}

class WindowsFileSystem final : public FileSystem {
public:
    std::unique_ptr<FileHandle> openExisting(const std::string& path) override {
        return openRegular(path, true);
    }

    std::unique_ptr<FileHandle> openReadOnly(const std::string& path) override {
        return openRegular(path, false);
    }

    TemporaryFile createTemporary(const std::string& path) override {
        requireUsablePath(path);
        for (int attempt = 0;; ++attempt) {
            std::string name = temporaryName(path);
            const HANDLE handle = createFile(name, kReadWrite, CREATE_NEW);
            if (handle != INVALID_HANDLE_VALUE)
                return {std::make_unique<WindowsFileHandle>(handle, true), std::move(name)};
            const DWORD err = ::GetLastError();
            if (!(err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) || attempt >= 100)
                throw windowsError(err);
        }
    }

    std::unique_ptr<FileHandle> createNew(const std::string& path) override {
        requireUsablePath(path);
        const HANDLE handle = createFile(path, kReadWrite, CREATE_NEW);
        if (handle == INVALID_HANDLE_VALUE)
            throw windowsError();
        return std::make_unique<WindowsFileHandle>(handle, true);
    }

    // A replacement is made with POSIX semantics where the system has them (Windows 10 and
    // NTFS): a file another program holds open is replaced too, as on Linux. Elsewhere (older
    // systems, FAT, Wine) MoveFileExW replaces only a file nobody holds open. The rename reaches
    // the disk before the call returns: there is no folder to sync afterwards.
    void rename(const std::string& from, const std::string& to, bool replaceExisting) override {
        requireUsablePath(from);
        requireUsablePath(to);
        const std::wstring source = systemPath(from);
        const std::wstring target = systemPath(to);
        if (replaceExisting && renameReplacingOpenFile(source, target))
            return;
        DWORD flags = MOVEFILE_WRITE_THROUGH;
        if (replaceExisting)
            flags |= MOVEFILE_REPLACE_EXISTING;
        if (!::MoveFileExW(source.c_str(), target.c_str(), flags))
            throw windowsError();
    }

    void remove(const std::string& path) override {
        requireUsablePath(path);
        if (!::DeleteFileW(systemPath(path).c_str()))
            throw windowsError();
    }

    // Renames are written through (see rename); only the folder's existence is left to check.
    void syncFolderOf(const std::string& path) override {
        requireUsablePath(path);
        const std::string folder = folderOfPath(path);
        const DWORD attributes =
            ::GetFileAttributesW(systemPath(folder.empty() ? "." : folder).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            throw windowsError();
    }

    PathKind kindOf(const std::string& path) const override {
        if (path.empty() || path.find('\0') != std::string::npos)
            return PathKind::Missing;
        DWORD attributes = INVALID_FILE_ATTRIBUTES;
        try {
            attributes = ::GetFileAttributesW(systemPath(path).c_str());
        } catch (const IoError&) {
            return PathKind::Missing;
        }
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return PathKind::Missing;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return PathKind::Other;
        if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return PathKind::RegularFile;
        // A link: what it leads to decides; one that leads nowhere is still in the way.
        const HANDLE target = openForAttributes(path);
        if (target == INVALID_HANDLE_VALUE)
            return PathKind::Other;
        BY_HANDLE_FILE_INFORMATION info{};
        const bool regular = ::GetFileInformationByHandle(target, &info) &&
                             !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        ::CloseHandle(target);
        return regular ? PathKind::RegularFile : PathKind::Other;
    }

    std::vector<std::string> folderEntries(const std::string& folder) const override {
        std::vector<std::string> names;
        std::string pattern = folder.empty() ? std::string(".") : folder;
        if (pattern.back() != '\\' && pattern.back() != '/')
            pattern += '\\';
        WIN32_FIND_DATAW entry{};
        HANDLE listing = INVALID_HANDLE_VALUE;
        try {
            listing = ::FindFirstFileExW(systemPath(pattern + "*").c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, 0);
        } catch (const IoError&) {
            return names;
        }
        if (listing == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (std::wcscmp(entry.cFileName, L".") != 0 && std::wcscmp(entry.cFileName, L"..") != 0)
                names.push_back(toUtf8(entry.cFileName));
        } while (::FindNextFileW(listing, &entry));
        ::FindClose(listing);
        return names;
    }

    bool processExists(int pid) const override {
        if (pid <= 0)
            return false;
        const HANDLE process =
            ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
        if (!process)
            return ::GetLastError() != ERROR_INVALID_PARAMETER; // refused: it exists
        DWORD status = 0;
        const bool running = ::GetExitCodeProcess(process, &status) && status == STILL_ACTIVE;
        ::CloseHandle(process);
        return running;
    }

private:
    /** Opens a regular file; a folder or a device is refused, and closed again when the path
     * changed between the look and the open. */
    static std::unique_ptr<FileHandle> openRegular(const std::string& path, bool writable) {
        requireUsablePath(path);
        const std::wstring wide = systemPath(path);
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            throw IoError(IoCode::AccessDenied);
        const HANDLE handle =
            ::CreateFileW(wide.c_str(), writable ? kReadWrite : GENERIC_READ, kShareAll, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            throw windowsError();
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileType(handle) != FILE_TYPE_DISK ||
            !::GetFileInformationByHandle(handle, &info) ||
            (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::CloseHandle(handle);
            throw IoError(IoCode::AccessDenied);
        }
        return std::make_unique<WindowsFileHandle>(handle, writable);
    }
};

} // namespace

FileSystem& FileSystem::real() {
    static WindowsFileSystem fileSystem;
    return fileSystem;
}

} // namespace doc

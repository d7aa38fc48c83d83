#include "tests/support/test_file_system.h"

#include "document/errors.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace testsupport {

namespace {

using Operation = TestFileSystem::Operation;

int faultErrno(Operation operation) {
    switch (operation) {
    case Operation::Open:
        return EACCES;
    case Operation::Create:
    case Operation::Write:
        return ENOSPC;
    default:
        return EIO;
    }
}

} // namespace

class TestFileSystem::Handle final : public doc::FileHandle {
public:
    Handle(TestFileSystem& owner, std::unique_ptr<doc::FileHandle> real, std::string path)
        : m_owner(owner), m_real(std::move(real)), m_path(std::move(path)) {
        ++m_owner.m_openFiles;
        m_owner.m_handles.insert(this);
    }
    ~Handle() override {
        if (m_open)
            --m_owner.m_openFiles;
        m_owner.m_handles.erase(this);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
        m_owner.enter(Operation::Read, m_path);
        if (m_owner.m_readFailure)
            throw doc::ioErrorForErrno(*m_owner.m_readFailure);
        return m_real->readAt(offset, buffer, size);
    }

    std::size_t writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
        ++m_owner.m_writeCalls;
        if (m_owner.injectFault(Operation::Write, m_path))
            return 0; // the disk is full: nothing stored, reported by the count
        std::size_t allowed = size;
        if (m_owner.m_writeBudget) {
            allowed = static_cast<std::size_t>(std::clamp<std::int64_t>(
                *m_owner.m_writeBudget, 0, static_cast<std::int64_t>(size)));
            *m_owner.m_writeBudget -= static_cast<std::int64_t>(allowed);
        }
        std::int64_t before = 0;
        if (m_owner.m_freeSpace) {
            // Only the bytes past the file's end need space.
            before = m_real->size();
            const std::int64_t fits = std::max(before, offset) - offset + *m_owner.m_freeSpace;
            allowed = static_cast<std::size_t>(
                std::clamp<std::int64_t>(fits, 0, static_cast<std::int64_t>(allowed)));
        }
        const std::size_t written = allowed ? m_real->writeAt(offset, buffer, allowed) : 0;
        if (m_owner.m_freeSpace)
            *m_owner.m_freeSpace -=
                std::max<std::int64_t>(0, offset + static_cast<std::int64_t>(written) - before);
        m_owner.m_bytesWritten += static_cast<std::int64_t>(written);
        return written;
    }

    doc::FileIdentity identity() const override { return m_real->identity(); }
    std::int64_t size() const override { return m_real->size(); }

    void truncate(std::int64_t size) override {
        m_owner.enter(Operation::Truncate, m_path);
        const std::int64_t before = m_real->size();
        m_real->truncate(size);
        if (m_owner.m_freeSpace)
            *m_owner.m_freeSpace += before - size;
    }

    bool tryLock(doc::LockSlot slot, doc::LockMode mode) override {
        m_owner.enter(Operation::Lock, m_path);
        return m_real->tryLock(slot, mode);
    }
    void unlock(doc::LockSlot slot) override { m_real->unlock(slot); }
    int lockHolder(doc::LockSlot slot, doc::LockMode mode) const override {
        return m_real->lockHolder(slot, mode);
    }

    void sync() override {
        m_owner.enter(Operation::Sync, m_path);
        m_real->sync();
    }

    void close() override {
        // Closing changes nothing on the disk, so it is no crash point: past one, it only
        // closes, which lets a stopped program's objects go without throwing.
        const bool fault = !m_owner.stopped() && m_owner.injectFault(Operation::Close, m_path);
        m_real->close();
        if (m_open) {
            m_open = false;
            --m_owner.m_openFiles;
        }
        if (fault)
            throw doc::ioErrorForErrno(faultErrno(Operation::Close));
        if (m_owner.m_closeFailure)
            throw doc::ioErrorForErrno(*m_owner.m_closeFailure);
    }

    bool isStillAt(const std::string& path) const override { return m_real->isStillAt(path); }

    /** The log names the file as it is called now. */
    void renamed(const std::string& from, const std::string& to) {
        if (m_path == from)
            m_path = to;
    }

private:
    TestFileSystem& m_owner;
    std::unique_ptr<doc::FileHandle> m_real;
    std::string m_path;
    bool m_open = true;
};

void TestFileSystem::failOperation(int n, bool persistent) {
    m_failAt = static_cast<std::size_t>(n);
    m_persistent = persistent;
    m_injected.reset();
}

void TestFileSystem::resetOperations() {
    m_operations.clear();
    m_failAt.reset();
    m_failOn.reset();
    m_injected.reset();
    m_crashAt.reset();
    m_crashed = false;
}

std::string TestFileSystem::faultMessage(Operation operation) {
    return doc::ioErrorForErrno(faultErrno(operation)).what();
}

const char* TestFileSystem::operationName(Operation operation) {
    switch (operation) {
    case Operation::Open:
        return "open";
    case Operation::Create:
        return "create";
    case Operation::Read:
        return "read";
    case Operation::Write:
        return "write";
    case Operation::Sync:
        return "sync";
    case Operation::Rename:
        return "rename";
    case Operation::Remove:
        return "remove";
    case Operation::Truncate:
        return "truncate";
    case Operation::Lock:
        return "lock";
    case Operation::Close:
        return "close";
    }
    return "?";
}

bool TestFileSystem::stopped() {
    if (m_crashAt && m_operations.size() >= *m_crashAt)
        m_crashed = true;
    return m_crashed;
}

bool TestFileSystem::injectFault(Operation operation, const std::string& path) {
    const std::size_t index = m_operations.size();
    if (stopped())
        throw SimulatedCrash();
    m_operations.push_back({operation, path});
    bool fails = m_failAt && (index == *m_failAt || (m_persistent && index > *m_failAt));
    if (m_failOn && m_failOn->operation == operation && m_failOn->path == path &&
        m_failOnCountdown-- == 0) {
        fails = true;
        m_failOn.reset();
        if (m_failOnCrashes) {
            m_operations.pop_back();
            m_crashed = true;
            throw SimulatedCrash();
        }
    }
    if (fails && !m_injected)
        m_injected = OperationRecord{operation, path};
    return fails;
}

void TestFileSystem::enter(Operation operation, const std::string& path) {
    if (injectFault(operation, path))
        throw doc::ioErrorForErrno(faultErrno(operation));
}

std::unique_ptr<doc::FileHandle> TestFileSystem::wrap(std::unique_ptr<doc::FileHandle> real,
                                                      const std::string& path) {
    return std::make_unique<Handle>(*this, std::move(real), path);
}

std::unique_ptr<doc::FileHandle> TestFileSystem::open(const std::string& path, bool readOnly) {
    enter(Operation::Open, path);
    if (const auto it = m_refused.find(path); it != m_refused.end())
        throw doc::ioErrorForErrno(it->second);
    auto& real = doc::FileSystem::real();
    return wrap(readOnly ? real.openReadOnly(path) : real.openExisting(path), path);
}

std::unique_ptr<doc::FileHandle> TestFileSystem::openExisting(const std::string& path) {
    return open(path, false);
}

std::unique_ptr<doc::FileHandle> TestFileSystem::openReadOnly(const std::string& path) {
    return open(path, true);
}

doc::TemporaryFile TestFileSystem::createTemporary(const std::string& path) {
    enter(Operation::Create, path);
    if (const auto it = m_refused.find(path); it != m_refused.end())
        throw doc::ioErrorForErrno(it->second);
    doc::TemporaryFile created = doc::FileSystem::real().createTemporary(path);
    created.handle = wrap(std::move(created.handle), created.path);
    ++m_created;
    return created;
}

std::unique_ptr<doc::FileHandle> TestFileSystem::createNew(const std::string& path) {
    enter(Operation::Create, path);
    if (const auto it = m_refused.find(path); it != m_refused.end())
        throw doc::ioErrorForErrno(it->second);
    return wrap(doc::FileSystem::real().createNew(path), path);
}

void TestFileSystem::rename(const std::string& from, const std::string& to, bool replaceExisting) {
    enter(Operation::Rename, to);
    doc::FileSystem::real().rename(from, to, replaceExisting);
    for (Handle* handle : m_handles)
        handle->renamed(from, to);
}

void TestFileSystem::remove(const std::string& path) {
    enter(Operation::Remove, path);
    std::error_code error;
    const bool regular =
        std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error));
    const auto size = regular ? std::filesystem::file_size(path, error) : 0;
    doc::FileSystem::real().remove(path);
    if (m_freeSpace && regular && !error)
        *m_freeSpace += static_cast<std::int64_t>(size);
}

void TestFileSystem::syncFolderOf(const std::string& path) {
    enter(Operation::Sync, path);
    doc::FileSystem::real().syncFolderOf(path);
}

doc::PathKind TestFileSystem::kindOf(const std::string& path) const {
    return doc::FileSystem::real().kindOf(path);
}

std::vector<std::string> TestFileSystem::folderEntries(const std::string& folder) const {
    return doc::FileSystem::real().folderEntries(folder);
}

doc::PathKind TestFileSystem::kindOfName(const std::string& path) const {
    return doc::FileSystem::real().kindOfName(path);
}

std::string TestFileSystem::pendingSavesFolder() {
    return doc::FileSystem::real().pendingSavesFolder();
}

std::string TestFileSystem::absolutePath(const std::string& path) const {
    return doc::FileSystem::real().absolutePath(path);
}

bool TestFileSystem::processExists(int pid) const {
    return !m_gone.contains(pid) && doc::FileSystem::real().processExists(pid);
}

} // namespace testsupport

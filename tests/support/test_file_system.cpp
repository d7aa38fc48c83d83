#include "tests/support/test_file_system.h"

#include "document/errors.h"

#include <algorithm>

namespace testsupport {

class TestFileSystem::Handle final : public doc::FileHandle {
public:
    Handle(TestFileSystem& owner, std::unique_ptr<doc::FileHandle> real)
        : m_owner(owner), m_real(std::move(real)) {
        ++m_owner.m_openFiles;
    }
    ~Handle() override {
        if (m_open)
            --m_owner.m_openFiles;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t size) override {
        if (m_owner.m_readFailure)
            throw doc::ioErrorForErrno(*m_owner.m_readFailure);
        return m_real->readAt(offset, buffer, size);
    }

    std::size_t writeAt(std::int64_t offset, const void* buffer, std::size_t size) override {
        ++m_owner.m_writeCalls;
        std::size_t allowed = size;
        if (m_owner.m_writeBudget) {
            allowed = static_cast<std::size_t>(std::clamp<std::int64_t>(
                *m_owner.m_writeBudget, 0, static_cast<std::int64_t>(size)));
            *m_owner.m_writeBudget -= static_cast<std::int64_t>(allowed);
        }
        const std::size_t written = allowed ? m_real->writeAt(offset, buffer, allowed) : 0;
        m_owner.m_bytesWritten += static_cast<std::int64_t>(written);
        return written;
    }

    void close() override {
        m_real->close();
        if (m_open) {
            m_open = false;
            --m_owner.m_openFiles;
        }
        if (m_owner.m_closeFailure)
            throw doc::ioErrorForErrno(*m_owner.m_closeFailure);
    }

    bool isStillAt(const std::string& path) const override { return m_real->isStillAt(path); }

private:
    TestFileSystem& m_owner;
    std::unique_ptr<doc::FileHandle> m_real;
    bool m_open = true;
};

std::unique_ptr<doc::FileHandle> TestFileSystem::wrap(std::unique_ptr<doc::FileHandle> real) {
    return std::make_unique<Handle>(*this, std::move(real));
}

std::unique_ptr<doc::FileHandle> TestFileSystem::openExisting(const std::string& path) {
    if (const auto it = m_refused.find(path); it != m_refused.end())
        throw doc::ioErrorForErrno(it->second);
    return wrap(doc::FileSystem::real().openExisting(path));
}

std::unique_ptr<doc::FileHandle> TestFileSystem::openReadOnly(const std::string& path) {
    if (const auto it = m_refused.find(path); it != m_refused.end())
        throw doc::ioErrorForErrno(it->second);
    return wrap(doc::FileSystem::real().openReadOnly(path));
}

std::unique_ptr<doc::FileHandle> TestFileSystem::create(const std::string& path) {
    if (const auto it = m_refused.find(path); it != m_refused.end())
        throw doc::ioErrorForErrno(it->second);
    auto handle = wrap(doc::FileSystem::real().create(path));
    ++m_created;
    return handle;
}

bool TestFileSystem::exists(const std::string& path) const {
    return doc::FileSystem::real().exists(path);
}

} // namespace testsupport

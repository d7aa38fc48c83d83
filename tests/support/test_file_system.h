#pragma once
// A file system for tests: the real files underneath, with faults on request.
// It stands in for conditions a test running as root cannot produce, such as a
// file the user may not write, a full disk or a failing close.
//
//   testsupport::TestFileSystem files;
//   files.refuseOpen(path, EACCES);  // opening path throws "File access denied"
//   doc::FileSession session(files);

#include "document/file_system.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace testsupport {

class TestFileSystem : public doc::FileSystem {
public:
    // The faults take a system error number (EACCES, EIO, ...) and throw what the real file
    // system throws for it (doc::ioErrorForErrno).

    /** Opening or creating path fails with the error. */
    void refuseOpen(const std::string& path, int systemError) { m_refused[path] = systemError; }
    /** After this many more bytes, every write stores only what still fits (a full disk). */
    void limitWrites(std::int64_t bytes) { m_writeBudget = bytes; }
    /** Every read fails with the error from now on. */
    void failReads(int systemError) { m_readFailure = systemError; }
    /** Closing any file fails with the error (the file is closed all the same). */
    void failCloses(int systemError) { m_closeFailure = systemError; }

    /** Files opened through this file system and not closed yet. */
    int openFiles() const { return m_openFiles; }
    /** Calls of writeAt and bytes asked to be written, over all files. */
    int writeCalls() const { return m_writeCalls; }
    std::int64_t bytesWritten() const { return m_bytesWritten; }
    /** Files created (not merely opened). */
    int createdFiles() const { return m_created; }

    std::unique_ptr<doc::FileHandle> openExisting(const std::string& path) override;
    std::unique_ptr<doc::FileHandle> openReadOnly(const std::string& path) override;
    std::unique_ptr<doc::FileHandle> create(const std::string& path) override;
    bool exists(const std::string& path) const override;

private:
    class Handle;
    friend class Handle;
    std::unique_ptr<doc::FileHandle> wrap(std::unique_ptr<doc::FileHandle> real);

    std::map<std::string, int> m_refused;
    std::optional<std::int64_t> m_writeBudget;
    std::optional<int> m_readFailure;
    std::optional<int> m_closeFailure;
    int m_openFiles = 0;
    int m_writeCalls = 0;
    std::int64_t m_bytesWritten = 0;
    int m_created = 0;
};

} // namespace testsupport

#pragma once
// A file system for tests: the real files underneath, with faults on request.
// It stands in for conditions a test running as root cannot produce, such as a
// file the user may not write, a full disk or a failing close.
//
//   testsupport::TestFileSystem files;
//   files.refuseOpen(path, EACCES);  // opening path throws "File access denied"
//   doc::FileSession session(files);
//
// Every operation that can fail (open, create, read, write, sync, rename, remove,
// truncate, lock, close) is counted and logged, so a test can walk every injection
// point of a flow:
//
//   files.resetOperations();
//   files.failOperation(n);          // the n-th operation from here fails once
//   runTheFlow();
//
// or stop the program at any of them, as a kill or a power cut would:
//
//   files.crashAt(n);                // the n-th operation and all after it never happen
//   runTheFlow();                    // ends in testsupport::SimulatedCrash

#include "document/file_system.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

/** Thrown by every operation from the crash point on: the program stops there. Not a doc::Error,
 * so no handler of the program takes it for a failure it could deal with. */
class SimulatedCrash : public std::exception {
public:
    const char* what() const noexcept override { return "the program stopped here"; }
};

class TestFileSystem : public doc::FileSystem {
public:
    enum class Operation { Open, Create, Read, Write, Sync, Rename, Remove, Truncate, Lock, Close };

    struct OperationRecord {
        Operation operation;
        std::string path;
    };

    // The faults take a system error number (EACCES, EIO, ...) and throw what the real file
    // system throws for it (doc::ioErrorForErrno).

    /** Opening path, or creating a file to be moved to path, fails with the error. */
    void refuseOpen(const std::string& path, int systemError) { m_refused[path] = systemError; }
    /** After this many more bytes, every write stores only what still fits (a full disk). */
    void limitWrites(std::int64_t bytes) { m_writeBudget = bytes; }
    /** A disk with that many bytes free: a write that lengthens a file takes space, and once none
     * is left stores only what fits (overwriting bytes a file has takes none); cutting or
     * removing a file gives its space back. */
    void setFreeSpace(std::int64_t bytes) { m_freeSpace = bytes; }
    /** Every read fails with the error from now on. */
    void failReads(int systemError) { m_readFailure = systemError; }
    /** Closing any file fails with the error (the file is closed all the same). */
    void failCloses(int systemError) { m_closeFailure = systemError; }

    /** Operation number n (0-based, counted from the last resetOperations) fails, and with
     * persistent every operation after it too, as on a disk that went away. How each kind
     * fails: see faultMessage. */
    void failOperation(int n, bool persistent = false);
    /** Operation number n and every one after it never happen: each throws SimulatedCrash
     * instead, as if the program had been killed there. Closes are no crash points (they change
     * nothing on the disk): they still close, so the program's objects can go and release their
     * locks, and a flow whose operations from n on are closes ends normally. */
    void crashAt(int n) { m_crashAt = static_cast<std::size_t>(n); }
    /** Whether a crash point was reached. */
    bool crashed() const { return m_crashed; }
    /** processExists says no for pid, as for a program that was killed. */
    void treatAsGone(int pid) { m_gone.insert(pid); }

    /** The operation of that kind on path fails once, at its occurrence-th time (0-based) from
     * here. */
    void failOperationOn(Operation operation, const std::string& path, int occurrence = 0) {
        m_failOn = {operation, path};
        m_failOnCountdown = occurrence;
        m_failOnCrashes = false;
        m_injected.reset();
    }
    /** Like failOperationOn, but that operation is the crash point (see crashAt). */
    void crashOn(Operation operation, const std::string& path, int occurrence = 0) {
        failOperationOn(operation, path, occurrence);
        m_failOnCrashes = true;
    }
    /** No operation fails any more; the count goes on. */
    void clearOperationFaults() {
        m_failAt.reset();
        m_failOn.reset();
    }
    /** Starts counting and logging operations afresh, with no fault or crash point set. */
    void resetOperations();
    /** The operations since resetOperations, in order. */
    const std::vector<OperationRecord>& operations() const { return m_operations; }
    /** The first operation that failOperation made fail, if any did. */
    const std::optional<OperationRecord>& injectedFault() const { return m_injected; }
    /** What an operation of that kind reports when failOperation makes it fail: an open is
     * refused (EACCES), a create or write finds the disk full (a write stores nothing and
     * reports the short count), anything else meets a device error (EIO). */
    static std::string faultMessage(Operation operation);
    static const char* operationName(Operation operation);

    /** Files opened through this file system and not closed yet. */
    int openFiles() const { return m_openFiles; }
    /** Calls of writeAt and bytes asked to be written, over all files. */
    int writeCalls() const { return m_writeCalls; }
    std::int64_t bytesWritten() const { return m_bytesWritten; }
    /** Files made by createTemporary (a names file, a settings file); not the save's journal. */
    int createdFiles() const { return m_created; }

    std::unique_ptr<doc::FileHandle> openExisting(const std::string& path) override;
    std::unique_ptr<doc::FileHandle> openReadOnly(const std::string& path) override;
    doc::TemporaryFile createTemporary(const std::string& path) override;
    std::unique_ptr<doc::FileHandle> createNew(const std::string& path) override;
    void rename(const std::string& from, const std::string& to, bool replaceExisting) override;
    void remove(const std::string& path) override;
    void syncFolderOf(const std::string& path) override;
    doc::PathKind kindOf(const std::string& path) const override;
    std::vector<std::string> folderEntries(const std::string& folder) const override;
    bool processExists(int pid) const override;
    doc::PathKind kindOfName(const std::string& path) const override;
    std::string pendingSavesFolder() override;
    std::string absolutePath(const std::string& path) const override;

private:
    class Handle;
    friend class Handle;
    std::unique_ptr<doc::FileHandle> wrap(std::unique_ptr<doc::FileHandle> real,
                                          const std::string& path);
    /** Whether the crash point is reached. */
    bool stopped();
    /** Logs the operation; true when it is to fail. */
    bool injectFault(Operation operation, const std::string& path);
    /** Logs the operation and throws its fault when it is to fail. */
    void enter(Operation operation, const std::string& path);
    std::unique_ptr<doc::FileHandle> open(const std::string& path, bool readOnly);

    std::map<std::string, int> m_refused;
    std::optional<std::int64_t> m_writeBudget;
    std::optional<std::int64_t> m_freeSpace;
    std::optional<int> m_readFailure;
    std::optional<int> m_closeFailure;
    int m_openFiles = 0;
    int m_writeCalls = 0;
    std::int64_t m_bytesWritten = 0;
    int m_created = 0;

    std::set<Handle*> m_handles;
    std::vector<OperationRecord> m_operations;
    std::optional<std::size_t> m_failAt;
    bool m_persistent = false;
    std::optional<OperationRecord> m_injected;
    std::optional<OperationRecord> m_failOn;
    int m_failOnCountdown = 0;
    bool m_failOnCrashes = false;
    std::optional<std::size_t> m_crashAt;
    bool m_crashed = false;
    std::set<int> m_gone;
};

} // namespace testsupport

#include "document/errors.h"
#include "document/file_system.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::Bytes;
using testsupport::ioMessage;
using testsupport::TempFolder;

doc::FileSystem& files() {
    return doc::FileSystem::real();
}

TEST(IoErrors, SystemErrorsMapOntoTheMessageTable) {
    struct Case {
        int err;
        const char* message;
    };
    for (const Case& c : {Case{ENOENT, "File not found"}, Case{ENOTDIR, "Invalid filename"},
                          Case{ENAMETOOLONG, "Invalid filename"},
                          Case{EMFILE, "Too many open files"}, Case{ENFILE, "Too many open files"},
                          Case{EACCES, "File access denied"}, Case{EPERM, "File access denied"},
                          Case{EROFS, "File access denied"}, Case{ENOSPC, "Disk full"}}) {
        EXPECT_EQ(std::string(doc::ioErrorForErrno(c.err).what()), c.message) << c.err;
    }
}

TEST(IoErrors, OtherSystemErrorsShowTheirOwnNumber) {
    // EIO is 5 and ENETUNREACH 101 on Linux: neither may borrow the table's messages.
    for (const int err : {EIO, EBUSY, EISDIR, EFBIG, ENETUNREACH, ECONNABORTED}) {
        const doc::IoError error = doc::ioErrorForErrno(err);
        EXPECT_EQ(std::string(error.what()), "I/O error " + std::to_string(err));
        EXPECT_EQ(error.code(), err);
        EXPECT_EQ(doc::ioCodeForErrno(err), err);
    }
    EXPECT_EQ(std::string(doc::IoError(103).what()), "I/O error 103");
    EXPECT_EQ(std::string(doc::IoError(100).what()), "Read beyond end of file");
    EXPECT_EQ(std::string(doc::IoError(106).what()), "Invalid numeric input");
}

TEST(RealFileSystem, OpenReportsMissingFilesAndBadPaths) {
    TempFolder folder;
    const std::string plain = folder.file("plain.dat");
    testsupport::writeFile(plain, Bytes(10, 1));

    EXPECT_EQ(ioMessage([&] { files().openExisting(folder.file("missing.dat")); }),
              "File not found");
    EXPECT_EQ(ioMessage([&] { files().openExisting(""); }), "File not found");
    EXPECT_EQ(ioMessage([&] { files().openExisting(plain + "/inside.dat"); }), "Invalid filename");
    EXPECT_EQ(ioMessage([&] { files().openExisting(folder.file(std::string(300, 'x'))); }),
              "Invalid filename");
    EXPECT_EQ(ioMessage([&] { files().openExisting(std::string("a\0b", 3)); }), "Invalid filename");
    EXPECT_EQ(ioMessage([&] { files().createTemporary(folder.file("nowhere/new.nam")); }),
              "File not found");
}

TEST(RealFileSystem, OnlyRegularFilesAreOpened) {
    TempFolder folder;
    const std::string fifo = folder.file("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const std::string device = folder.file("device.dat");
    std::filesystem::create_symlink("/dev/urandom", device);
    const std::string sub = folder.file("folder.dat");
    std::filesystem::create_directory(sub);

    // A FIFO would block an open for reading until a writer comes; it must not even be opened.
    for (const std::string& path : {fifo, device, sub, std::string("/dev/null")}) {
        EXPECT_EQ(ioMessage([&] { files().openExisting(path); }), "File access denied") << path;
        EXPECT_EQ(ioMessage([&] { files().openReadOnly(path); }), "File access denied") << path;
        EXPECT_EQ(files().kindOf(path), doc::PathKind::Other) << path;
    }
}

TEST(RealFileSystem, KindOfAPath) {
    TempFolder folder;
    const std::string plain = folder.file("plain.dat");
    testsupport::writeFile(plain, Bytes(10, 1));
    const std::string link = folder.file("link.dat");
    std::filesystem::create_symlink(plain, link);
    const std::string dangling = folder.file("dangling.nam");
    std::filesystem::create_symlink(folder.file("gone.nam"), dangling);

    EXPECT_EQ(files().kindOf(plain), doc::PathKind::RegularFile);
    EXPECT_EQ(files().kindOf(link), doc::PathKind::RegularFile);
    EXPECT_EQ(files().kindOf(dangling), doc::PathKind::Other);
    EXPECT_EQ(files().kindOf(folder.path()), doc::PathKind::Other);
    EXPECT_EQ(files().kindOf(folder.file("missing.dat")), doc::PathKind::Missing);
    EXPECT_EQ(files().kindOf(""), doc::PathKind::Missing);
    EXPECT_EQ(files().kindOf(std::string("a\0b", 3)), doc::PathKind::Missing);
}

TEST(RealFileSystem, ATemporaryFileIsMovedIntoPlace) {
    TempFolder folder;
    const std::string target = folder.file("OBJDAT.nam");
    const mode_t mask = ::umask(022);
    doc::TemporaryFile first = files().createTemporary(target);
    doc::TemporaryFile second = files().createTemporary(target);
    ::umask(mask);
    EXPECT_NE(first.path, second.path);
    EXPECT_EQ(std::filesystem::path(first.path).parent_path(), folder.path());
    struct stat info {};
    ASSERT_EQ(::stat(first.path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u); // a file like any other new one, not a private 0600

    const std::uint8_t bytes[] = {1, 2, 3};
    ASSERT_EQ(first.handle->writeAt(0, bytes, 3), 3u);
    first.handle->sync();
    files().rename(first.path, target, false);
    EXPECT_TRUE(first.handle->isStillAt(target));
    files().syncFolderOf(target);
    EXPECT_EQ(testsupport::readFile(target), (Bytes{1, 2, 3}));

    // Without replacing, a file in the way stays; with it, it is replaced in one step.
    EXPECT_EQ(ioMessage([&] { files().rename(second.path, target, false); }),
              "I/O error " + std::to_string(EEXIST));
    EXPECT_EQ(testsupport::readFile(target), (Bytes{1, 2, 3}));
    files().rename(second.path, target, true);
    EXPECT_EQ(testsupport::readFile(target), Bytes{});
    EXPECT_FALSE(first.handle->isStillAt(target));

    files().remove(target);
    EXPECT_EQ(files().kindOf(target), doc::PathKind::Missing);
    EXPECT_EQ(ioMessage([&] { files().remove(target); }), "File not found");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
}

TEST(RealFileSystem, PositionedReadsAndWrites) {
    TempFolder folder;
    const std::string path = folder.file("data.dat");
    testsupport::writeFile(path, Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});

    auto file = files().openExisting(path);
    std::uint8_t buffer[6] = {};
    EXPECT_EQ(file->readAt(7, buffer, 6), 3u); // a short read is a count, not an error
    EXPECT_EQ(buffer[0], 7);
    EXPECT_EQ(file->readAt(20, buffer, 6), 0u);

    const std::uint8_t patch[] = {0xAA, 0xBB};
    EXPECT_EQ(file->writeAt(3, patch, 2), 2u);
    EXPECT_EQ(file->writeAt(12, patch, 2), 2u); // past the end: the file grows
    // Nothing is buffered: the bytes are in the file before it is closed.
    EXPECT_EQ(testsupport::readFile(path),
              (Bytes{0, 1, 2, 0xAA, 0xBB, 5, 6, 7, 8, 9, 0, 0, 0xAA, 0xBB}));
    file->close();
}

TEST(RealFileSystem, AClosedFileIsNotOpen) {
    TempFolder folder;
    const std::string path = folder.file("data.dat");
    testsupport::writeFile(path, Bytes(4, 0));
    auto file = files().openExisting(path);
    file->close();
    std::uint8_t byte = 0;
    EXPECT_EQ(ioMessage([&] { file->readAt(0, &byte, 1); }), "I/O error 103");
    EXPECT_EQ(ioMessage([&] { file->writeAt(0, &byte, 1); }), "I/O error 103");
    EXPECT_EQ(ioMessage([&] { file->sync(); }), "I/O error 103");
    EXPECT_EQ(ioMessage([&] { file->close(); }), "I/O error 103");
    EXPECT_FALSE(file->isStillAt(path));
}

TEST(RealFileSystem, KnowsWhetherItsPathStillNamesIt) {
    TempFolder folder;
    const std::string path = folder.file("data.dat");
    const std::string other = folder.file("other.dat");
    testsupport::writeFile(path, Bytes(4, 0));
    auto file = files().openExisting(path);
    EXPECT_TRUE(file->isStillAt(path));
    EXPECT_TRUE(file->isStillAt(folder.path() + "/./data.dat"));

    ASSERT_EQ(::rename(path.c_str(), other.c_str()), 0);
    EXPECT_FALSE(file->isStillAt(path)); // moved away
    EXPECT_TRUE(file->isStillAt(other));

    testsupport::writeFile(path, Bytes(4, 0));
    EXPECT_FALSE(file->isStillAt(path)); // another file in its place

    ASSERT_EQ(::unlink(other.c_str()), 0);
    EXPECT_FALSE(file->isStillAt(other)); // deleted while open
}

/** Opens path until the limit of open files stops it; exits with the I/O code. */
[[noreturn]] void openUntilRefused(const std::string& path) {
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 16;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    std::vector<std::unique_ptr<doc::FileHandle>> open;
    try {
        for (int i = 0; i < 32; ++i)
            open.push_back(files().openExisting(path));
    } catch (const doc::IoError& e) {
        std::_Exit(e.code());
    }
    std::_Exit(0);
}

/** Becomes the unprivileged user nobody and opens path; exits with the I/O code. */
[[noreturn]] void openAsNobody(const std::string& path) {
    if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
        ::setresuid(65534, 65534, 65534) != 0)
        std::_Exit(99);
    try {
        files().openExisting(path);
    } catch (const doc::IoError& e) {
        std::_Exit(e.code());
    }
    std::_Exit(0);
}

TEST(RealFileSystem, TooManyOpenFiles) {
    TempFolder folder;
    const std::string path = folder.file("data.dat");
    testsupport::writeFile(path, Bytes(4, 0));
    EXPECT_EXIT(openUntilRefused(path), testing::ExitedWithCode(4), "");
}

TEST(RealFileSystem, AReadOnlyFileRefusesAnUnprivilegedUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to become another user";
    TempFolder folder;
    const std::string path = folder.file("OBJDAT.dat");
    testsupport::writeFile(path, Bytes(200, 0));
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    // As nobody, the read-only mode bit applies.
    EXPECT_EXIT(openAsNobody(path), testing::ExitedWithCode(5), "");
}

} // namespace

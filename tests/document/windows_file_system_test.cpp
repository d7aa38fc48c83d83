// The Windows file layer keeps the Linux layer's promises: what it shares, locks and replaces,
// how it names a file and its errors, and paths beyond the classic length and the ANSI code page.

#include "document/errors.h"
#include "document/file_system.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

using testsupport::Bytes;
using testsupport::ioMessage;
using testsupport::TempFolder;

doc::FileSystem& files() {
    return doc::FileSystem::real();
}

Bytes readAll(doc::FileHandle& handle) {
    Bytes bytes(static_cast<std::size_t>(handle.size()));
    bytes.resize(handle.readAt(0, bytes.data(), bytes.size()));
    return bytes;
}

TEST(WindowsFileSystem, WindowsErrorsMapOntoTheMessageTable) {
    TempFolder folder;
    testsupport::writeFile(folder.file("x.dat"), Bytes(4, 1));
    const struct {
        std::string path;
        const char* message;
    } cases[] = {
        {folder.file("missing.dat"), "File not found"},
        {folder.file("no-folder/x.dat"), "File not found"},
        {folder.path(), "File access denied"},
        {folder.file("a<b>.dat"), "Invalid filename"},
        {std::string("bad\xff.dat"), "Invalid filename"}, // not UTF-8
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ioMessage([&] { files().openExisting(c.path); }), c.message) << c.path;
        EXPECT_EQ(ioMessage([&] { files().openReadOnly(c.path); }), c.message) << c.path;
    }
    EXPECT_EQ(ioMessage([&] { files().createNew(folder.file("x.dat")); }), "I/O error 80");
    EXPECT_EQ(
        ioMessage([&] { files().rename(folder.file("missing.dat"), folder.file("y"), true); }),
        "File not found");
}

TEST(WindowsFileSystem, OpenFilesShareReadingWritingAndReplacement) {
    TempFolder folder;
    const std::string path = folder.file("OBJDAT.dat");
    testsupport::writeFile(path, Bytes{1, 2, 3, 4});
    auto writer = files().openExisting(path);
    auto second = files().openExisting(path);
    auto reader = files().openReadOnly(path);
    EXPECT_EQ(writer->identity(), second->identity());

    const Bytes changed{9, 8};
    EXPECT_EQ(second->writeAt(1, changed.data(), changed.size()), 2u);
    second->sync();
    EXPECT_EQ(readAll(*reader), (Bytes{1, 9, 8, 4}));
    EXPECT_EQ(ioMessage([&] { reader->writeAt(0, changed.data(), 1); }), "File access denied");
    EXPECT_NO_THROW(reader->sync());

    // A whole new file moved over the open one. Windows 10 on NTFS replaces it as Linux does and
    // the handles keep the old file; where the system cannot replace an open file (Wine, FAT)
    // the rename is refused and both files stay as they were until the handles are closed.
    auto fresh = files().createTemporary(path);
    fresh.handle->writeAt(0, changed.data(), changed.size());
    fresh.handle->close();
    const std::string refusal = ioMessage([&] { files().rename(fresh.path, path, true); });
    if (refusal.empty()) {
        EXPECT_FALSE(writer->isStillAt(path));
        EXPECT_EQ(readAll(*writer), (Bytes{1, 9, 8, 4}));
    } else {
        EXPECT_EQ(refusal, "File access denied");
        EXPECT_EQ(testsupport::readFile(path), (Bytes{1, 9, 8, 4}));
        EXPECT_EQ(testsupport::readFile(fresh.path), changed);
        const doc::FileIdentity old = writer->identity();
        for (auto* handle : {&writer, &second, &reader})
            (*handle)->close();
        files().rename(fresh.path, path, true);
        EXPECT_NE(files().openReadOnly(path)->identity(), old);
    }
    auto replaced = files().openReadOnly(path);
    EXPECT_TRUE(replaced->isStillAt(path));
    EXPECT_EQ(readAll(*replaced), changed);

    // Without replacing, a rename onto a file fails and keeps both.
    testsupport::writeFile(folder.file("other.dat"), Bytes{7});
    EXPECT_NE(ioMessage([&] { files().rename(folder.file("other.dat"), path, false); }), "");
    EXPECT_EQ(testsupport::readFile(path), changed);
    files().rename(folder.file("other.dat"), folder.file("moved.dat"), false);
    EXPECT_EQ(files().kindOf(folder.file("other.dat")), doc::PathKind::Missing);
}

TEST(WindowsFileSystem, LocksBelongToTheirHandleAndNameTheirHolder) {
    TempFolder folder;
    const std::string path = folder.file("OBJDAT.dat");
    testsupport::writeFile(path, Bytes(64, 5));
    auto first = files().openExisting(path);
    auto second = files().openExisting(path);
    const int self = static_cast<int>(::GetCurrentProcessId());
    using doc::LockMode;
    using doc::LockSlot;

    ASSERT_TRUE(first->tryLock(LockSlot::Writer, LockMode::Exclusive));
    EXPECT_TRUE(first->tryLock(LockSlot::Writer, LockMode::Exclusive)) << "asked again";
    EXPECT_FALSE(second->tryLock(LockSlot::Writer, LockMode::Shared));
    EXPECT_FALSE(second->tryLock(LockSlot::Writer, LockMode::Exclusive));
    EXPECT_EQ(second->lockHolder(LockSlot::Writer, LockMode::Shared), self);
    EXPECT_EQ(second->lockHolder(LockSlot::Save, LockMode::Exclusive), 0);
    EXPECT_TRUE(second->tryLock(LockSlot::Save, LockMode::Shared)) << "each slot its own";
    Bytes data(64);
    EXPECT_EQ(second->readAt(0, data.data(), data.size()), 64u) << "data is never locked";

    // Asked twice, the lock is held once: one unlock lets it go.
    first->unlock(LockSlot::Writer);
    EXPECT_EQ(second->lockHolder(LockSlot::Writer, LockMode::Exclusive), 0);
    ASSERT_TRUE(second->tryLock(LockSlot::Writer, LockMode::Shared));
    EXPECT_TRUE(first->tryLock(LockSlot::Writer, LockMode::Shared));
    EXPECT_FALSE(first->tryLock(LockSlot::Writer, LockMode::Exclusive));
    EXPECT_FALSE(second->tryLock(LockSlot::Writer, LockMode::Exclusive)) << "the shared one stays";
    EXPECT_FALSE(first->tryLock(LockSlot::Writer, LockMode::Exclusive));
    second->close();
    EXPECT_TRUE(first->tryLock(LockSlot::Writer, LockMode::Exclusive)) << "a close lets go";
    auto third = files().openReadOnly(path);
    EXPECT_FALSE(third->tryLock(LockSlot::Writer, LockMode::Shared));
}

TEST(WindowsFileSystem, LongAndNonAnsiPaths) {
    TempFolder folder;
    // Past the classic 260 characters, in folders and names outside every ANSI code page.
    std::string deep = folder.path();
    std::vector<std::wstring> made;
    for (int i = 0; i < 4; ++i) {
        deep += "/" + std::string(60, static_cast<char>('a' + i)) + "\xce\xa9";
        std::wstring wide =
            std::filesystem::path(
                std::u8string(reinterpret_cast<const char8_t*>(deep.data()), deep.size()))
                .wstring();
        std::replace(wide.begin(), wide.end(), L'/', L'\\');
        made.push_back(L"\\\\?\\" + wide);
        ASSERT_TRUE(::CreateDirectoryW(made.back().c_str(), nullptr))
            << ::GetLastError() << " " << deep;
    }
    const std::string path = deep + "/\xe6\x97\xa5\xe6\x9c\xac \xd0\x96.dat";
    ASSERT_GT(path.size(), 300u);
    const Bytes bytes{1, 2, 3};
    auto created = files().createNew(path);
    created->writeAt(0, bytes.data(), bytes.size());
    created->truncate(2);
    EXPECT_EQ(created->size(), 2);
    created->close();
    EXPECT_EQ(files().kindOf(path), doc::PathKind::RegularFile);
    EXPECT_EQ(files().folderEntries(deep),
              std::vector<std::string>{"\xe6\x97\xa5\xe6\x9c\xac \xd0\x96.dat"});
    const std::string moved = deep + "\\\xc3\xa9.dat"; // "\" separates as "/" does
    files().rename(path, moved, false);
    EXPECT_EQ(readAll(*files().openReadOnly(moved)), (Bytes{1, 2}));
    EXPECT_NO_THROW(files().syncFolderOf(moved));
    files().remove(moved);
    EXPECT_EQ(files().kindOf(moved), doc::PathKind::Missing);
    EXPECT_EQ(files().kindOf(deep), doc::PathKind::Other);
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        ::RemoveDirectoryW(it->c_str());
}

TEST(WindowsFileSystem, ProcessesThatExist) {
    EXPECT_TRUE(files().processExists(static_cast<int>(::GetCurrentProcessId())));
    EXPECT_FALSE(files().processExists(0x7ffffff0));
    EXPECT_FALSE(files().processExists(0));
}

} // namespace

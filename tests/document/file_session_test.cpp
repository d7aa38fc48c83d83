#include "document/document_reader.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "document/file_session.h"
#include "document/journal.h"
#include "document/own_files.h"
#include "tests/support/data_files.h"
#include "tests/support/test_file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <sys/stat.h>

namespace {

using testsupport::Bytes;
using testsupport::DataFile;

/** The message of the doc::Error that the call throws, or "" when it throws none. */
template <typename Call> std::string errorMessage(Call&& call) {
    return testsupport::thrownMessage<doc::Error>(std::forward<Call>(call));
}

Bytes createdSlot() {
    Bytes slot(doc::kNameSlotSize, 0);
    std::memcpy(slot.data(), "No Name Entered", 15);
    return slot;
}

class FileSessionTest : public testing::Test {
protected:
    /** Writes a data file of count sample records, with a names file when names are given. */
    std::string makeFile(const std::string& name, int count,
                         const std::vector<std::string>& names = {}) {
        DataFile file;
        file.records = testsupport::sampleRecords(count);
        const std::string path = m_folder.file(name);
        file.write(path);
        if (!names.empty())
            testsupport::writeNamesFile(path, names);
        return path;
    }

    /** The names in the test's folder. */
    std::set<std::string> folderEntries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    testsupport::TempFolder m_folder;
    testsupport::TestFileSystem m_files;
    doc::FileSession m_session{m_files};
};

// --- open and save -------------------------------------------------------------------------

TEST_F(FileSessionTest, StartsWithOneEmptyRecordAndNoFile) {
    EXPECT_FALSE(m_session.isOpen());
    EXPECT_EQ(m_session.table().lastIndex, 0);
    EXPECT_EQ(m_session.table().records[0], doc::ObjectRecord{});
    EXPECT_EQ(m_session.dataPath(), "");
}

TEST_F(FileSessionTest, OpenLoadsEveryRecordAndName) {
    const std::string path = makeFile("OBJDAT.dat", 5, {"Bunker", "Hangar", "", "Tank", "Jeep"});
    m_session.open(path);

    EXPECT_TRUE(m_session.isOpen());
    EXPECT_EQ(m_session.dataPath(), path);
    EXPECT_EQ(m_session.namesPath(), m_folder.file("OBJDAT.nam"));
    const doc::ObjectTable& table = m_session.table();
    EXPECT_EQ(table.lastIndex, 4);
    EXPECT_EQ(table.recordCount(), 5);
    for (int r = 0; r < 5; ++r)
        EXPECT_EQ(table.records[static_cast<std::size_t>(r)], testsupport::sampleRecord(r));
    EXPECT_EQ(table.records[1].floatField(4), 1.5f + 1 + 1.0f);
    EXPECT_EQ(doc::readNameSlot(table.names[0]), U"Bunker");
    EXPECT_EQ(doc::readNameSlot(table.names[2]), U"");
    EXPECT_EQ(doc::readNameSlot(table.names[4]), U"Jeep");
    EXPECT_EQ(table.records[5], doc::ObjectRecord{});
    EXPECT_EQ(m_files.openFiles(), 2);
}

TEST_F(FileSessionTest, SaveWritesOneSlotAndOneRecordAtATimeAndNothingElse) {
    DataFile file;
    file.records = testsupport::sampleRecords(5);
    file.tail = Bytes(37, 0x5A); // bytes after the last record
    const std::string path = m_folder.file("OBJDAT.dat");
    file.write(path);
    testsupport::writeNamesFile(path, {"A", "B", "C", "D", "E", "F-beyond-the-count"});
    m_session.open(path);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    const ino_t inode = before.st_ino;

    doc::ObjectTable& table = m_session.table();
    table.records[3].fields[2] = 777;
    table.records[4].setFloatField(9, -0.25f);
    ASSERT_TRUE(doc::writeNameSlot(table.names[1], U"Radar \u20AC"));
    table.records[5].fields[0] = 99; // above the last index: never saved
    m_session.save();

    // Five slots and five records, the journal (its bytes, then the mark that it is done) and
    // the record of the save under way.
    EXPECT_EQ(m_files.writeCalls(), 10 + 2 + 1);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_ino, inode) << "written in place, the same file";
    DataFile expected = file;
    expected.records[3].fields[2] = 777;
    expected.records[4].setFloatField(9, -0.25f);
    EXPECT_EQ(testsupport::readFile(path), expected.bytes()); // header, count and tail kept

    const Bytes names = testsupport::readFile(m_session.namesPath());
    ASSERT_EQ(names.size(), 6u * 30);
    EXPECT_EQ(testsupport::slotAt(names, 1), testsupport::nameSlot("Radar \x80"));
    EXPECT_EQ(testsupport::slotAt(names, 5), testsupport::nameSlot("F-beyond-the-count"));
}

TEST_F(FileSessionTest, NamesKeepTheirBytesThroughOpenAndSave) {
    const std::string fullSlot(30, 'W'); // no terminator
    const std::string path = makeFile("OBJDAT.dat", 2, {fullSlot, std::string("AB\0old", 6)});
    const Bytes before = testsupport::readFile(m_folder.file("OBJDAT.nam"));
    m_session.open(path);
    EXPECT_EQ(doc::readNameSlot(m_session.table().names[0]), std::u32string(30, U'W'));
    EXPECT_EQ(doc::readNameSlot(m_session.table().names[1]), U"AB");
    m_session.save();
    EXPECT_EQ(testsupport::readFile(m_folder.file("OBJDAT.nam")), before);
}

TEST_F(FileSessionTest, AMissingNamesFileIsCreatedWithASlotPerRecord) {
    const std::string path = makeFile("OBJDAT.dat", 5);
    m_session.open(path);

    const Bytes names = testsupport::readFile(m_folder.file("OBJDAT.nam"));
    ASSERT_EQ(names.size(), 150u);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(Bytes(names.begin() + 30 * r, names.begin() + 30 * (r + 1)), createdSlot());
        EXPECT_EQ(doc::readNameSlot(m_session.table().names[static_cast<std::size_t>(r)]),
                  U"No Name Entered");
    }
    EXPECT_EQ(m_files.createdFiles(), 1);
    EXPECT_EQ(m_files.openFiles(), 2);
}

TEST_F(FileSessionTest, ASmallerSecondFileLeavesTheEntriesAboveItsLastIndex) {
    m_session.open(makeFile("big.dat", 6, {"a", "b", "c", "d", "e", "f"}));
    const std::string small = makeFile("small.dat", 2, {"x", "y"});
    m_session.open(small);

    const doc::ObjectTable& table = m_session.table();
    EXPECT_EQ(table.lastIndex, 1);
    EXPECT_EQ(doc::readNameSlot(table.names[1]), U"y");
    EXPECT_EQ(doc::readNameSlot(table.names[4]), U"e");
    EXPECT_EQ(table.records[4], testsupport::sampleRecord(4));
    EXPECT_EQ(m_files.openFiles(), 2); // the first pair is let go

    const Bytes before = testsupport::readFile(small);
    m_session.save();
    EXPECT_EQ(testsupport::readFile(small), before);
    EXPECT_EQ(testsupport::readFile(m_folder.file("small.nam")).size(), 60u);
}

// --- "Add Record" ----------------------------------------------------------------------------

TEST_F(FileSessionTest, AddRecordGrowsTheFileByOneRecord) {
    const std::string path = makeFile("OBJDAT.dat", 5, {"a", "b", "c", "d", "e"});
    const Bytes before = testsupport::readFile(path);
    m_session.open(path);

    m_session.appendRecord();
    EXPECT_EQ(m_session.table().lastIndex, 5);
    EXPECT_EQ(testsupport::readFile(path), before); // the count follows the record's save

    doc::ObjectTable& table = m_session.table();
    table.records[5] = testsupport::sampleRecord(42);
    ASSERT_TRUE(doc::writeNameSlot(table.names[5], U"Empty Object Slot"));
    m_session.save();

    const Bytes after = testsupport::readFile(path);
    ASSERT_EQ(after.size(), 700u);
    EXPECT_EQ(testsupport::recordAt(after, 5), testsupport::sampleRecord(42));
    Bytes expected = before;
    expected[20] = 6;
    expected.insert(expected.end(), after.begin() + 600, after.end());
    EXPECT_EQ(after, expected); // header bytes 0-19 and 22-99 and records 0-4 unchanged
    const Bytes names = testsupport::readFile(m_session.namesPath());
    ASSERT_EQ(names.size(), 180u);
    EXPECT_EQ(testsupport::slotAt(names, 5), testsupport::nameSlot("Empty Object Slot"));
}

TEST_F(FileSessionTest, AddRecordRefusesAFullTable) {
    const std::string path = makeFile("OBJDAT.dat", 512);
    m_session.open(path);
    const Bytes before = testsupport::readFile(path);

    EXPECT_EQ(errorMessage([&] { m_session.appendRecord(); }),
              "The table is full: a file holds at most 512 records");
    EXPECT_EQ(m_session.table().lastIndex, 511);
    EXPECT_EQ(testsupport::readFile(path), before);
}

TEST_F(FileSessionTest, AddRecordNeedsOpenFiles) {
    EXPECT_EQ(errorMessage([&] { m_session.appendRecord(); }), "I/O error 103");
    EXPECT_EQ(m_session.table().lastIndex, 0);
}

TEST_F(FileSessionTest, AFailedSaveOfANewRecordKeepsTheOldCountUntilASaveSucceeds) {
    const std::string path = makeFile("OBJDAT.dat", 3, {"a", "b", "c"});
    m_session.open(path);
    m_session.appendRecord();
    m_session.table().records[3] = testsupport::sampleRecord(7);

    // Full disk in the new record: the file still names three records and opens as before.
    const Bytes before = testsupport::readFile(path);
    m_files.setFreeSpace(30 + 50);
    EXPECT_EQ(errorMessage([&] { m_session.save(); }), "Disk full");
    EXPECT_EQ(testsupport::readFile(path), before);
    EXPECT_EQ(doc::readStoredDocument(doc::FileSystem::real(), path).count, 3);

    m_files.setFreeSpace(1 << 20);
    m_session.save();
    const Bytes after = testsupport::readFile(path);
    EXPECT_EQ(testsupport::storedCount(after), 4);
    EXPECT_EQ(testsupport::recordAt(after, 3), testsupport::sampleRecord(7));
}

// --- a failed open leaves the previous document as it was -------------------------------------

class FailedOpenTest : public FileSessionTest {
protected:
    void SetUp() override {
        m_previous = makeFile("previous.dat", 3, {"one", "two", "three"});
        m_session.open(m_previous);
        m_session.table().records[1].fields[0] = 31; // an unsaved change
        m_before = std::make_unique<doc::ObjectTable>(m_session.table());
    }

    /** The open throws the message and the previous document is still the one bound. */
    void expectRefused(const std::string& path, const std::string& message) {
        EXPECT_EQ(errorMessage([&] { m_session.open(path); }), message);
        EXPECT_TRUE(m_session.table().records == m_before->records);
        EXPECT_TRUE(m_session.table().names == m_before->names);
        EXPECT_EQ(m_session.table().lastIndex, m_before->lastIndex);
        EXPECT_EQ(m_session.dataPath(), m_previous);
        EXPECT_EQ(m_session.namesPath(), m_folder.file("previous.nam"));
        EXPECT_TRUE(m_session.isOpen());
        EXPECT_EQ(m_files.openFiles(), 2) << "a file of the failed open stayed open";

        // A save still goes into the previous pair, with the change made before.
        const Bytes other = testsupport::readFile(path);
        m_session.save();
        EXPECT_EQ(testsupport::recordAt(testsupport::readFile(m_previous), 1).fields[0], 31u);
        EXPECT_EQ(testsupport::readFile(path), other);
    }

    std::string m_previous;
    std::unique_ptr<doc::ObjectTable> m_before;
};

TEST_F(FailedOpenTest, DataFileCutInTheMiddleOfARecord) {
    const std::string path = makeFile("cut.dat", 4, {"a", "b", "c", "d"});
    testsupport::cutFile(path, testsupport::fieldOffset(2, 11));
    expectRefused(path, "Read beyond end of file");
}

TEST_F(FailedOpenTest, DataFileWithoutItsCount) {
    const std::string path = m_folder.file("stub.dat");
    testsupport::writeFile(path, Bytes(21, 1));
    expectRefused(path, "Read beyond end of file");
}

TEST_F(FailedOpenTest, NamesFileShorterThanTheCount) {
    const std::string path = makeFile("short.dat", 4, {"a", "b", "c"});
    expectRefused(path, "Read beyond end of file");
}

TEST_F(FailedOpenTest, ARefusedDataFileGetsNoNamesFile) {
    const std::string cut = makeFile("cut.dat", 4);
    testsupport::cutFile(cut, testsupport::fieldOffset(3, 0));
    const std::string headerOnly = makeFile("header.dat", 4);
    testsupport::cutFile(headerOnly, doc::kHeaderSize);
    for (const std::string& path : {cut, headerOnly}) {
        expectRefused(path, "Read beyond end of file");
        EXPECT_FALSE(std::filesystem::exists(doc::namesFilePath(path))) << path;
    }
    EXPECT_EQ(m_files.createdFiles(), 0);
}

TEST_F(FailedOpenTest, OnlyRegularFilesAreOpened) {
    // A device through a link, a FIFO and a folder as the data file: refused before anything is
    // read or created.
    const std::string device = m_folder.file("random.dat");
    std::filesystem::create_symlink("/dev/urandom", device);
    const std::string fifo = m_folder.file("fifo.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const std::string folder = m_folder.file("folder.dat");
    std::filesystem::create_directory(folder);
    for (const std::string& path : {device, fifo, folder}) {
        m_files.resetOperations();
        EXPECT_EQ(errorMessage([&] { m_session.open(path); }), "File access denied") << path;
        EXPECT_EQ(m_files.operations().size(), 1u) << path; // the refused open, nothing after
        EXPECT_EQ(m_files.openFiles(), 2) << path;
        EXPECT_FALSE(std::filesystem::exists(doc::namesFilePath(path))) << path;
    }

    // A folder or a dangling link where the names file belongs.
    const std::string withFolder = makeFile("withfolder.dat", 2);
    std::filesystem::create_directory(m_folder.file("withfolder.nam"));
    expectRefused(withFolder, "File access denied");
    const std::string withLink = makeFile("withlink.dat", 2);
    std::filesystem::create_symlink(m_folder.file("nowhere.nam"), m_folder.file("withlink.nam"));
    expectRefused(withLink, "File access denied");
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("nowhere.nam")));
    EXPECT_EQ(m_files.createdFiles(), 0);
}

TEST_F(FailedOpenTest, RecordCountOutOfRange) {
    for (const std::uint16_t count : {0, 513, 65535}) {
        DataFile file;
        file.count = count;
        file.records = testsupport::sampleRecords(2);
        const std::string path = m_folder.file("count" + std::to_string(count) + ".dat");
        file.write(path);
        expectRefused(path,
                      "Record count " + std::to_string(count) + " is out of range (1 to 512)");
        // Refused before the names file is looked at.
        EXPECT_FALSE(std::filesystem::exists(doc::namesFilePath(path)));
    }
    EXPECT_EQ(m_files.createdFiles(), 0);
}

TEST_F(FailedOpenTest, MissingDataFile) {
    expectRefused(m_folder.file("missing.dat"), "File not found");
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("missing.nam")));
}

TEST_F(FailedOpenTest, DataFileTheUserMayNotWrite) {
    const std::string path = makeFile("locked.dat", 2, {"a", "b"});
    m_files.refuseOpen(path, EACCES);
    expectRefused(path, "File access denied");
}

TEST_F(FailedOpenTest, NamesFileThatCannotBeCreated) {
    const std::string path = makeFile("OBJDAT.dat", 2);
    m_files.refuseOpen(m_folder.file("OBJDAT.nam"), EROFS);
    expectRefused(path, "File access denied");
}

TEST_F(FailedOpenTest, DiskFullWhileCreatingTheNamesFileLeavesNoFile) {
    const std::string path = makeFile("OBJDAT.dat", 512);
    m_files.limitWrites(4096); // ends in the middle of slot 136
    EXPECT_EQ(errorMessage([&] { m_session.open(path); }), "Disk full");
    EXPECT_EQ(m_session.dataPath(), m_previous);
    EXPECT_EQ(folderEntries(),
              (std::set<std::string>{"OBJDAT.dat", "previous.dat", "previous.nam"}));

    // Once there is space again, the next open makes the whole names file.
    m_files.limitWrites(1 << 20);
    m_session.open(path);
    EXPECT_EQ(testsupport::readFile(m_folder.file("OBJDAT.nam")).size(), 512u * 30);
    EXPECT_EQ(m_session.table().lastIndex, 511);
}

TEST_F(FailedOpenTest, AFailureAfterTheNamesFileIsInPlaceRemovesIt) {
    const std::string path = makeFile("OBJDAT.dat", 3);
    // Open data, lock it, read count, read records, look for the names file (missing), create,
    // write, sync, rename, sync folder, then the names file is read: that read fails.
    m_files.resetOperations();
    m_files.failOperation(10);
    expectRefused(path, "I/O error 5");
    ASSERT_TRUE(m_files.injectedFault());
    EXPECT_EQ(m_files.injectedFault()->operation, testsupport::TestFileSystem::Operation::Read);
    EXPECT_EQ(m_files.injectedFault()->path, m_folder.file("OBJDAT.nam"));
    EXPECT_EQ(folderEntries(),
              (std::set<std::string>{"OBJDAT.dat", "previous.dat", "previous.nam"}));
}

TEST_F(FailedOpenTest, ReadErrorsKeepTheirSystemNumber) {
    const std::string path = makeFile("OBJDAT.dat", 2, {"a", "b"});
    m_files.failReads(EIO);
    EXPECT_EQ(errorMessage([&] { m_session.open(path); }), "I/O error 5");
    EXPECT_EQ(m_session.dataPath(), m_previous);
    EXPECT_EQ(m_files.openFiles(), 2);
}

TEST_F(FailedOpenTest, ANamesFileChosenAsDataFile) {
    const std::string path = m_folder.file("OBJDAT.nam");
    DataFile file;
    file.records = testsupport::sampleRecords(2);
    file.write(path);
    expectRefused(path, "A names file cannot be opened as a data file");
}

TEST_F(FailedOpenTest, ANamesFileThatIsTheDataFileUnderAnotherName) {
    const std::string path = makeFile("OBJDAT.dat", 2);
    std::filesystem::create_symlink(path, m_folder.file("OBJDAT.nam"));
    expectRefused(path, "A names file cannot be opened as a data file");
}

TEST_F(FailedOpenTest, ReopeningTheSameFileWorks) {
    m_session.open(m_previous);
    EXPECT_EQ(m_session.table().records[1], testsupport::sampleRecord(1)); // change dropped
    EXPECT_EQ(m_files.openFiles(), 2);
}

// --- save guards ------------------------------------------------------------------------------

TEST_F(FileSessionTest, SaveWithNoFileOpenWritesNothing) {
    m_session.table().records[0].fields[0] = 5;
    EXPECT_EQ(errorMessage([&] { m_session.save(); }), "I/O error 103");
    EXPECT_EQ(m_files.writeCalls(), 0);
}

TEST_F(FileSessionTest, SaveIntoADeletedDataFileReportsFileNotFound) {
    const std::string path = makeFile("OBJDAT.dat", 3, {"a", "b", "c"});
    m_session.open(path);
    const Bytes names = testsupport::readFile(m_session.namesPath());
    std::filesystem::remove(path);

    EXPECT_EQ(errorMessage([&] { m_session.save(); }), "File not found");
    EXPECT_EQ(errorMessage([&] { m_session.appendRecord(); }), "File not found");
    EXPECT_EQ(m_files.writeCalls(), 0);
    EXPECT_EQ(testsupport::readFile(m_session.namesPath()), names);
    EXPECT_EQ(m_session.table().lastIndex, 2);
}

TEST_F(FileSessionTest, SaveIntoAReplacedNamesFileIsRefused) {
    const std::string path = makeFile("OBJDAT.dat", 3, {"a", "b", "c"});
    m_session.open(path);
    const Bytes data = testsupport::readFile(path);
    // Another program puts a new file in its place, as editors that save through a copy do.
    testsupport::writeFile(m_folder.file("copy.nam"), Bytes(90, 'n'));
    std::filesystem::rename(m_folder.file("copy.nam"), m_folder.file("OBJDAT.nam"));

    EXPECT_EQ(errorMessage([&] { m_session.save(); }),
              "OBJDAT.nam was changed by another program since it was opened; nothing was "
              "written");
    EXPECT_EQ(m_files.writeCalls(), 0);
    EXPECT_EQ(testsupport::readFile(path), data);
}

TEST_F(FileSessionTest, AFolderWhereNoJournalCanBeMadeIsSaidSo) {
    const std::string path = makeFile("OBJDAT.dat", 2, {"a", "b"});
    m_session.open(path);
    const Bytes before = testsupport::readFile(path);
    m_session.table().records[0].fields[0] = 5;
    m_files.refuseOpen(m_folder.file(".OBJDAT.dat-journal.tmp"), EACCES);
    EXPECT_EQ(errorMessage([&] { m_session.save(); }),
              "OBJDAT.dat cannot be saved: its folder does not let the save make its journal "
              "there (File access denied); nothing was written");
    EXPECT_EQ(testsupport::readFile(path), before);
}

TEST_F(FileSessionTest, AFailedSaveLeavesTheOldPairExactly) {
    using Operation = testsupport::TestFileSystem::Operation;
    const std::string path = m_folder.file("OBJDAT.dat");
    const std::string names = m_folder.file("OBJDAT.nam");
    const std::string journal = m_folder.file(".OBJDAT.dat-journal");
    struct Case {
        const char* what;
        std::function<void()> fault;
    };
    const Case cases[] = {
        {"a full disk with room for the journal only", [&] { m_files.setFreeSpace(2000); }},
        {"a write into the data file", [&] { m_files.failOperationOn(Operation::Write, path, 3); }},
        {"a write into the names file",
         [&] { m_files.failOperationOn(Operation::Write, names, 40); }},
        {"the sync of the data file", [&] { m_files.failOperationOn(Operation::Sync, path); }},
        {"the mark that the save is done",
         [&] { m_files.failOperationOn(Operation::Write, journal); }},
    };
    for (const Case& c : cases) {
        makeFile("OBJDAT.dat", 3, {"a", "b", "c"});
        const Bytes dataBefore = testsupport::readFile(path);
        const Bytes namesBefore = testsupport::readFile(names);
        m_session.open(path);
        for (auto& record : m_session.table().records)
            record.fields.fill(0xEEEEEEEE);
        for (auto& slot : m_session.table().names)
            slot.fill('N');
        for (int i = 0; i < 60; ++i)
            m_session.appendRecord();
        m_files.resetOperations();
        c.fault();

        EXPECT_NE(errorMessage([&] { m_session.save(); }), "") << c.what;
        EXPECT_EQ(testsupport::readFile(path), dataBefore) << c.what;
        EXPECT_EQ(testsupport::readFile(names), namesBefore) << c.what;
        EXPECT_EQ(folderEntries(), (std::set<std::string>{"OBJDAT.dat", "OBJDAT.nam"})) << c.what;
        m_files.setFreeSpace(1 << 20);
    }
}

// --- one writer, and what other programs did ----------------------------------------------------

TEST_F(FileSessionTest, ASecondWriterIsRefusedAndTheHolderReopensItsOwnPair) {
    const std::string path = makeFile("OBJDAT.dat", 3, {"a", "b", "c"});
    m_session.open(path);
    doc::FileSession second(m_files);
    const Bytes before = testsupport::readFile(path);
    // The second session is in this process, which the message cannot name as another program.
    EXPECT_EQ(errorMessage([&] { second.open(path); }),
              "OBJDAT.dat is open for writing in another program");
    EXPECT_EQ(errorMessage([&] { second.open(m_folder.file("./OBJDAT.dat")); }),
              "OBJDAT.dat is open for writing in another program");
    EXPECT_FALSE(second.isOpen());

    // The holder opens it again through the lock it has; a reader does not wait for it.
    m_session.table().records[0].fields[0] = 99;
    m_session.open(path);
    EXPECT_EQ(m_session.table().records[0], testsupport::sampleRecord(0));
    EXPECT_EQ(m_files.openFiles(), 2);
    EXPECT_EQ(doc::readStoredDocument(m_files, path).count, 3);
    m_session.save();
    EXPECT_EQ(testsupport::readFile(path), before);

    m_session.close();
    second.open(path);
    EXPECT_TRUE(second.isOpen());
}

TEST_F(FileSessionTest, WhatAnotherProgramChangedIsNeverWrittenOver) {
    const std::string path = m_folder.file("OBJDAT.dat");
    const std::string names = m_folder.file("OBJDAT.nam");
    struct Case {
        const char* what;
        std::function<void()> change;
        const char* file;
    };
    const auto patch = [](const std::string& file, std::size_t at, std::uint8_t byte) {
        Bytes bytes = testsupport::readFile(file);
        bytes[at] = byte;
        testsupport::writeFile(file, bytes);
    };
    const auto replace = [&](const std::string& file, const Bytes& bytes) {
        testsupport::writeFile(file + ".new", bytes);
        std::filesystem::rename(file + ".new", file);
    };
    const Case cases[] = {
        {"a byte of a record", [&] { patch(path, testsupport::fieldOffset(1, 3), 0x42); },
         "OBJDAT.dat"},
        {"the record count", [&] { patch(path, doc::kCountOffset, 2); }, "OBJDAT.dat"},
        {"a name", [&] { patch(names, 31, 'z'); }, "OBJDAT.nam"},
        {"the data file cut to nothing", [&] { testsupport::cutFile(path, 0); }, "OBJDAT.dat"},
        {"bytes added after the records", [&] { testsupport::cutFile(path, doc::recordOffset(4)); },
         "OBJDAT.dat"},
        {"the data file replaced by rename", [&] { replace(path, testsupport::readFile(path)); },
         "OBJDAT.dat"},
        {"the names file replaced by rename", [&] { replace(names, Bytes(90, 'n')); },
         "OBJDAT.nam"},
    };
    for (const Case& c : cases) {
        makeFile("OBJDAT.dat", 3, {"a", "b", "c"});
        m_session.open(path);
        m_session.table().records[2].fields[0] = 31;
        EXPECT_FALSE(m_session.changedOnDisk()) << c.what;
        c.change();
        const Bytes data = testsupport::readFile(path);
        EXPECT_TRUE(m_session.changedOnDisk()) << c.what;
        EXPECT_EQ(errorMessage([&] { m_session.save(); }),
                  std::string(c.file) +
                      " was changed by another program since it was opened; nothing was written")
            << c.what;
        EXPECT_EQ(testsupport::readFile(path), data) << c.what;

        // Written over on request, into the file the path names now.
        m_session.save(doc::FileSession::SaveMode::Overwrite);
        const Bytes after = testsupport::readFile(path);
        EXPECT_EQ(testsupport::storedCount(after), 3) << c.what;
        EXPECT_EQ(testsupport::recordAt(after, 2).fields[0], 31u) << c.what;
        EXPECT_FALSE(m_session.changedOnDisk()) << c.what;
        doc::FileSession other(m_files);
        EXPECT_NE(errorMessage([&] { other.open(path); }), "") << c.what << ": not locked";
        m_session.close();
    }
}

// --- the journal of a save that was cut off ---------------------------------------------------

TEST_F(FileSessionTest, AJournalIsPutBackOnlyIntoTheTornStatesOfItsOwnSave) {
    const std::string path = m_folder.file("OBJDAT.dat");
    const std::string journalPath = m_folder.file(".OBJDAT.dat-journal");
    const std::string setAside = "OBJDAT.dat.journal-not-applied";
    const std::string damaged =
        "OBJDAT.dat: the journal .OBJDAT.dat-journal of a save that was cut off is damaged, so it "
        "was not applied, and the file may hold part of that save; move the journal away to open "
        "the file as it is";
    const std::string notFitting =
        "OBJDAT.dat: the journal .OBJDAT.dat-journal of a save that was cut off does not fit the "
        "files as they are now (they were replaced or changed since), so it was not applied";
    enum class Outcome { PutBack, JournalStays, Whole, SetAside, Refused };
    struct Case {
        const char* what;
        std::function<void(doc::Journal&)> spoilJournal;
        std::function<void(Bytes&)> spoilBytes;
        std::function<void(Bytes&)> changeFile; // the torn data file, changed since
        Outcome outcome;
    };
    const auto asIs = [](auto&) {};
    const Case cases[] = {
        {"a torn state of its save", asIs, asIs, asIs, Outcome::PutBack},
        {"a torn state, the journal not removable", asIs, asIs, asIs, Outcome::JournalStays},
        {"every write landed", asIs, asIs, [](Bytes& file) { file[160] = 0x77; }, Outcome::Whole},
        {"a byte neither old nor new", asIs, asIs, [](Bytes& file) { file[170] ^= 0x55; },
         Outcome::SetAside},
        {"longer than the save makes it", asIs, asIs, [](Bytes& file) { file.push_back(0); },
         Outcome::SetAside},
        {"a backup of fewer records", asIs, asIs,
         [](Bytes& file) {
             file.resize(300);
             file[20] = 2;
         },
         Outcome::SetAside},
        {"damaged", asIs, [](Bytes& bytes) { bytes[60] ^= 1; }, asIs, Outcome::Refused},
        {"cut short", asIs, [](Bytes& bytes) { bytes.resize(bytes.size() / 2); }, asIs,
         Outcome::Refused},
    };
    for (const Case& c : cases) {
        makeFile("OBJDAT.dat", 3, {"a", "b", "c"});
        const Bytes old = testsupport::readFile(path);
        // A save that grows the file by a record and changes bytes 150 and 160, cut off with
        // all but byte 160 written.
        Bytes whole = old;
        whole[20] = 4;
        whole[150] ^= 0xFF;
        whole[160] = 0x77;
        whole.resize(old.size() + 100, 0xEE);
        const std::string namesPath = m_folder.file("OBJDAT.nam");
        const Bytes oldNames = testsupport::readFile(namesPath);
        Bytes names = oldNames;
        names.resize(oldNames.size() + 30, 'd');
        doc::Journal journal;
        journal.dataSize = static_cast<std::int64_t>(old.size());
        journal.dataSizeAfter = static_cast<std::int64_t>(whole.size());
        journal.namesSize = static_cast<std::int64_t>(oldNames.size());
        journal.namesSizeAfter = static_cast<std::int64_t>(names.size());
        journal.ranges.push_back({doc::PairFile::Names, 0, oldNames, names});
        journal.ranges.push_back({doc::PairFile::Data, 20,
                                  Bytes(old.begin() + 20, old.begin() + 22),
                                  Bytes(whole.begin() + 20, whole.begin() + 22)});
        journal.ranges.push_back({doc::PairFile::Data, 100, Bytes(old.begin() + 100, old.end()),
                                  Bytes(whole.begin() + 100, whole.end())});
        c.spoilJournal(journal);
        Bytes bytes = doc::encodeJournal(journal);
        c.spoilBytes(bytes);
        testsupport::writeFile(journalPath, bytes);
        Bytes torn = whole;
        torn[160] = old[160];
        c.changeFile(torn);
        testsupport::writeFile(path, torn);
        testsupport::writeFile(namesPath, names);

        // Never read as good when it must be put back, and never put back by a reader.
        std::string read;
        const std::string readError =
            errorMessage([&] { read = doc::readStoredDocument(m_files, path).journalNotice; });
        if (c.outcome == Outcome::JournalStays)
            m_files.failOperationOn(testsupport::TestFileSystem::Operation::Remove, journalPath);
        const std::string refusal = errorMessage([&] { m_session.open(path); });
        switch (c.outcome) {
        case Outcome::PutBack:
            EXPECT_NE(readError.find("OBJDAT.dat: a save into it was cut off (.OBJDAT.dat-journal "
                                     "is beside it)"),
                      std::string::npos)
                << c.what;
            EXPECT_EQ(refusal, "") << c.what;
            EXPECT_EQ(testsupport::readFile(path), old) << c.what;
            EXPECT_EQ(m_session.table().lastIndex, 2) << c.what;
            EXPECT_EQ(m_session.recoveryNotice(),
                      "OBJDAT.dat: a save into it was cut off before it was complete; the records "
                      "and names it held before that save were put back");
            EXPECT_EQ(folderEntries(), (std::set<std::string>{"OBJDAT.dat", "OBJDAT.nam"}));
            m_session.open(path);
            EXPECT_EQ(m_session.recoveryNotice(), "") << "told twice";
            break;
        case Outcome::JournalStays:
            EXPECT_EQ(refusal, "OBJDAT.dat: a save into it was cut off before it was complete; the "
                               "records and names it held before that save were put back, but "
                               "its journal .OBJDAT.dat-journal could not be removed (I/O error "
                               "5), so the files were not opened; it is harmless now, "
                               "remove it or let this program write in the folder");
            EXPECT_EQ(testsupport::readFile(path), old) << c.what;
            // Applied once more, the same bytes again, by the next open that can remove it.
            m_session.open(path);
            EXPECT_EQ(testsupport::readFile(path), old) << c.what;
            EXPECT_EQ(folderEntries(), (std::set<std::string>{"OBJDAT.dat", "OBJDAT.nam"}));
            break;
        case Outcome::Whole:
            EXPECT_EQ(readError + read, "") << c.what;
            EXPECT_EQ(refusal + m_session.recoveryNotice(), "") << c.what;
            EXPECT_EQ(testsupport::readFile(path), whole) << c.what;
            EXPECT_EQ(folderEntries(), (std::set<std::string>{"OBJDAT.dat", "OBJDAT.nam"}));
            break;
        case Outcome::SetAside:
            EXPECT_EQ(readError, "") << c.what;
            EXPECT_EQ(read, notFitting + "; the files were read as they are, and the next program "
                                         "to write them will keep the journal under another name")
                << c.what;
            EXPECT_EQ(refusal, "") << c.what;
            EXPECT_EQ(m_session.recoveryNotice(),
                      notFitting +
                          "; the files were opened as they are, and the journal was kept "
                          "as " +
                          setAside)
                << c.what;
            EXPECT_EQ(testsupport::readFile(path), torn) << c.what;
            EXPECT_EQ(testsupport::readFile(m_folder.file(setAside)), bytes) << c.what;
            EXPECT_EQ(folderEntries(),
                      (std::set<std::string>{"OBJDAT.dat", "OBJDAT.nam", setAside}));
            m_session.open(path);
            EXPECT_EQ(m_session.recoveryNotice(), "") << "told twice";
            break;
        case Outcome::Refused:
            EXPECT_EQ(readError, damaged) << c.what;
            EXPECT_EQ(refusal, damaged) << c.what;
            EXPECT_EQ(testsupport::readFile(path), torn) << c.what;
            EXPECT_TRUE(std::filesystem::exists(journalPath)) << c.what;
            break;
        }
        m_session.close();
        std::filesystem::remove(journalPath);
        std::filesystem::remove(m_folder.file(setAside));
    }
}

TEST_F(FileSessionTest, WhatAKilledProgramLeftIsRemoved) {
    const std::string path = makeFile("OBJDAT.dat", 2);
    const int gone = 999999;
    const int self = static_cast<int>(::getpid());
    m_files.treatAsGone(gone);
    const std::string dead = ".OBJDAT.nam." + std::to_string(gone) + "-0-00beef.tmp";
    const std::string alive = ".OBJDAT.nam." + std::to_string(self) + "-3-0abcde.tmp";
    for (const std::string& name : {dead, alive, std::string(".OBJDAT.dat-journal.tmp"),
                                    std::string(".OBJDAT.nam.x-0-0.tmp")})
        testsupport::writeFile(m_folder.file(name), Bytes(7, 1));
    m_session.open(path);
    EXPECT_EQ(folderEntries(),
              (std::set<std::string>{"OBJDAT.dat", "OBJDAT.nam", alive, ".OBJDAT.nam.x-0-0.tmp"}));
}

TEST_F(FileSessionTest, ItsOwnFilesFitWhateverTheDataFileIsCalled) {
    // Two names of 255 bytes that differ only at their end, one of two-byte characters.
    const std::string plain = std::string(247, 'o') + "bj_A.dat";
    const std::string other = std::string(247, 'o') + "bj_B.dat";
    std::string wide;
    while (wide.size() < 249)
        wide += "\xc3\xa9"; // e with an acute accent
    wide += "e.dat";
    for (const std::string& name : {plain, other, wide}) {
        ASSERT_EQ(name.size(), 255u);
        const std::string path = makeFile(name, 4);
        // The names file is made under a temporary name, the save writes a journal.
        doc::FileSession session(m_files);
        session.open(path);
        session.appendRecord();
        session.save();
        EXPECT_EQ(testsupport::storedCount(testsupport::readFile(path)), 5);
    }
    EXPECT_EQ(folderEntries().size(), 6u); // three pairs, nothing else
    EXPECT_NE(doc::journalPathFor(m_folder.file(plain)), doc::journalPathFor(m_folder.file(other)));
}

// --- close ------------------------------------------------------------------------------------

TEST_F(FileSessionTest, CloseClosesOnlyWhatIsOpen) {
    EXPECT_NO_THROW(m_session.close()); // nothing was ever opened
    m_session.open(makeFile("OBJDAT.dat", 2));
    m_session.close();
    EXPECT_EQ(m_files.openFiles(), 0);
    EXPECT_FALSE(m_session.isOpen());
    EXPECT_NO_THROW(m_session.close());
    EXPECT_EQ(errorMessage([&] { m_session.save(); }), "I/O error 103");
}

TEST_F(FileSessionTest, AFailingCloseIsReportedOnce) {
    m_session.open(makeFile("OBJDAT.dat", 2));
    m_files.failCloses(EIO);
    EXPECT_EQ(errorMessage([&] { m_session.close(); }), "I/O error 5");
    EXPECT_EQ(m_files.openFiles(), 0);
    EXPECT_NO_THROW(m_session.close());
}

} // namespace

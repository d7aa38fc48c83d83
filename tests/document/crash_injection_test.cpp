// Every writing flow stopped at each of its file operations, as a kill or a
// power cut stops it: nothing from that operation on happens. A fresh open of
// the pair afterwards, by a program that finds the stopped one gone, must find
// the old pair or the new pair, byte for byte, and nothing else beside them.

#include "cli/commands.h"
#include "document/file_session.h"
#include "document/pair_guard.h"
#include "tabletext/patch.h"
#include "tests/support/data_files.h"
#include "tests/support/test_file_system.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <unistd.h>

namespace {

using testsupport::Bytes;
using testsupport::TestFileSystem;

struct Pair {
    Bytes data;
    Bytes names;
    bool operator==(const Pair&) const = default;
};

/** Standard output goes nowhere while it lives: the commands' summaries are not the test's. */
class QuietOutput {
public:
    QuietOutput() : m_saved(::dup(1)) {
        std::fflush(stdout);
#ifdef _WIN32
        const int null = ::open("NUL", O_WRONLY | O_NOINHERIT);
#else
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
#endif
        ::dup2(null, 1);
        ::close(null);
    }
    ~QuietOutput() {
        std::fflush(stdout);
        ::dup2(m_saved, 1);
        ::close(m_saved);
    }
    QuietOutput(const QuietOutput&) = delete;
    QuietOutput& operator=(const QuietOutput&) = delete;

private:
    int m_saved;
};

struct Flow {
    const char* name;
    bool withNames;
    /** Runs the flow on the pair through files. */
    std::function<void(TestFileSystem& files, const std::string& data)> run;
};

const std::vector<std::string> kNames = {"Bunker", "Hangar", "", "Tank", "Jeep", "Radar"};

std::vector<Flow> flows(const testsupport::TempFolder& folder) {
    const std::string source = folder.file("changes.csv");
    std::ofstream(source) << "index,name,damage\n0,Renamed,5\n1,Bunker,77\n6,Added,1\n7,Also,2\n";
    // A patch from the pair to one with a field changed, a record renamed and one added.
    const std::string patch = folder.file("changes.json");
    {
        std::vector<doc::ObjectRecord> records = testsupport::sampleRecords(6), changed = records;
        std::vector<doc::NameSlot> names, renamed;
        for (const std::string& name : kNames)
            names.push_back(testsupport::nameSlot(name));
        renamed = names;
        changed[2].fields[1] = 4242;
        renamed[3] = testsupport::nameSlot("Renamed");
        changed.push_back(testsupport::sampleRecord(60));
        renamed.push_back(testsupport::nameSlot("Added"));
        std::ofstream(patch) << tabletext::patchText({records, names}, {changed, renamed});
    }
    const auto edit = [](doc::ObjectTable& table) {
        table.records[2].fields[1] = 4242;
        table.names[3].fill('Q');
    };
    return {
        {"save of an edit", true,
         [edit](TestFileSystem& files, const std::string& data) {
             doc::FileSession session(files);
             session.open(data);
             edit(session.table());
             session.save();
         }},
        {"Add Record", true,
         [](TestFileSystem& files, const std::string& data) {
             doc::FileSession session(files);
             session.open(data);
             session.appendRecord();
             session.table().records[6] = testsupport::sampleRecord(60);
             session.table().names[6] = testsupport::nameSlot("Empty Object Slot");
             session.save();
         }},
        {"the names file's creation", false,
         [](TestFileSystem& files, const std::string& data) {
             doc::FileSession session(files);
             session.open(data);
         }},
        {"cvnobj import", true,
         [source](TestFileSystem& files, const std::string& data) {
             const QuietOutput quiet;
             cli::runImport(data, source, false, files);
         }},
        {"cvnobj import without a names file", false,
         [source](TestFileSystem& files, const std::string& data) {
             const QuietOutput quiet;
             cli::runImport(data, source, false, files);
         }},
        {"cvnobj scale", true,
         [](TestFileSystem& files, const std::string& data) {
             const QuietOutput quiet;
             cli::runScale(data, {100, 150}, {100, 250}, files);
         }},
        {"cvnobj apply", true,
         [patch](TestFileSystem& files, const std::string& data) {
             const QuietOutput quiet;
             cli::runApply(data, patch, {}, files);
         }},
    };
}

class CrashInjection : public testing::Test {
protected:
    void makePair(bool withNames) {
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path()))
            if (entry.path().filename() != "changes.csv" &&
                entry.path().filename() != "changes.json")
                std::filesystem::remove(entry.path());
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(6);
        file.tail = {9, 8, 7};
        file.write(m_data);
        if (withNames)
            testsupport::writeNamesFile(m_data, kNames);
    }

    Pair onDisk() const { return {testsupport::readFile(m_data), testsupport::readFile(m_names)}; }

    /** The pair as the next program to open it finds it, the stopped one gone. */
    Pair afterFreshOpen() {
        TestFileSystem files;
        files.treatAsGone(static_cast<int>(::getpid()));
        doc::FileSession session(files);
        session.open(m_data);
        session.close();
        return onDisk();
    }

    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    testsupport::TempFolder m_folder;
    std::string m_data = m_folder.file("OBJDAT.dat");
    std::string m_names = m_folder.file("OBJDAT.nam");
};

TEST_F(CrashInjection, EveryStopOfEveryWritingFlowLeavesTheOldPairOrTheNewOne) {
    int points = 0;
    for (const Flow& flow : flows(m_folder)) {
        makePair(flow.withNames);
        const Pair untouched = onDisk();
        const Pair old = afterFreshOpen(); // without a names file, the open makes one
        makePair(flow.withNames);
        TestFileSystem counting;
        counting.resetOperations();
        flow.run(counting, m_data);
        const int count = static_cast<int>(counting.operations().size());
        const Pair done = onDisk();
        ASSERT_NE(done, untouched) << flow.name << ": the flow changes nothing";

        for (int n = 0; n < count; ++n) {
            makePair(flow.withNames);
            TestFileSystem files;
            files.resetOperations();
            files.crashAt(n);
            try {
                flow.run(files, m_data);
            } catch (const testsupport::SimulatedCrash&) {
            }
            EXPECT_TRUE(files.crashed()) << flow.name << " at " << n;
            const Pair found = afterFreshOpen();
            EXPECT_TRUE(found == old || found == done)
                << flow.name << ", stopped at operation " << n << " ("
                << TestFileSystem::operationName(counting.operations()[std::size_t(n)].operation)
                << " of " << counting.operations()[std::size_t(n)].path << ")";
            const std::set<std::string> pairOnly = {"OBJDAT.dat", "OBJDAT.nam", "changes.csv",
                                                    "changes.json"};
            EXPECT_EQ(entries(), pairOnly) << flow.name << " at " << n;
            TestFileSystem fresh;
            EXPECT_FALSE(doc::hasSaveRecord(fresh, *fresh.openReadOnly(m_data)))
                << flow.name << " at " << n << ": the record of the save is left";
        }
        points += count;
        std::printf("%s: %d stops\n", flow.name, count);
    }
    std::printf("%d stops in all\n", points);
}

TEST_F(CrashInjection, APutBackStoppedHalfWayIsPutBackAgainHereAndInACopy) {
    // A save stopped once it has written part of the pair leaves a pending journal; the open that
    // puts it back is stopped in turn at each of its operations. What that leaves is put back
    // where it is, and in a copy of the files and the journal elsewhere (other files to the
    // system, as a copy to another disk makes them).
    makePair(true);
    const Pair old = onDisk();
    const std::vector<Flow> all = flows(m_folder);
    const Flow& save = all.front();
    int midSave = 0;
    {
        TestFileSystem counting;
        counting.resetOperations();
        save.run(counting, m_data);
        const auto& operations = counting.operations();
        while (operations[std::size_t(midSave)].operation != TestFileSystem::Operation::Write ||
               operations[std::size_t(midSave)].path != m_data)
            ++midSave;
        midSave += 5; // past the first writes into both files
    }
    const testsupport::TempFolder elsewhere;
    const std::vector<std::string> files = {"OBJDAT.dat", "OBJDAT.nam", ".OBJDAT.dat-journal"};
    for (int n = 0;; ++n) {
        makePair(true);
        {
            TestFileSystem stopping;
            stopping.resetOperations();
            stopping.crashAt(midSave);
            EXPECT_THROW(save.run(stopping, m_data), testsupport::SimulatedCrash);
        }
        ASSERT_NE(onDisk(), old) << "the stopped save wrote nothing";
        TestFileSystem stopping;
        stopping.resetOperations();
        stopping.crashAt(n);
        bool stopped = false;
        try {
            doc::FileSession session(stopping);
            session.open(m_data);
        } catch (const testsupport::SimulatedCrash&) {
            stopped = true;
        }
        for (const std::string& name : files) {
            std::filesystem::remove(elsewhere.file(name));
            if (std::filesystem::exists(m_folder.file(name)))
                std::filesystem::copy_file(m_folder.file(name), elsewhere.file(name));
        }
        EXPECT_EQ(afterFreshOpen(), old) << "put back stopped at " << n;
        {
            TestFileSystem fresh;
            doc::FileSession session(fresh);
            session.open(elsewhere.file("OBJDAT.dat"));
        }
        EXPECT_EQ((Pair{testsupport::readFile(elsewhere.file("OBJDAT.dat")),
                        testsupport::readFile(elsewhere.file("OBJDAT.nam"))}),
                  old)
            << "the copy, put back stopped at " << n;
        if (!stopped)
            break;
    }
}

} // namespace

// cvnobj against kills and other programs, from outside, as they happen on a
// user's machine: SIGKILL at random moments of a scale, two imports at once,
// and a file renamed over the data file between an import's read and its write.

#include "document/file_session.h"
#include "document/own_files.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using testsupport::Bytes;
using Clock = std::chrono::steady_clock;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

/** cvnobj started with args, standard output and error into files of the folder. */
class Process {
public:
    Process(const testsupport::TempFolder& folder, const std::string& name,
            std::vector<std::string> args)
        : m_err(folder.file(name + ".err")) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, folder.file(name + ".out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        args.insert(args.begin(), CVNOBJ_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, CVNOBJ_PATH, &actions, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("cannot start cvnobj");
        posix_spawn_file_actions_destroy(&actions);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        if (m_status < 0)
            wait();
    }

    pid_t pid() const { return m_pid; }
    void kill(int signal) const { ::kill(m_pid, signal); }
    /** The exit status, or 128 + the signal that ended it. */
    int wait() {
        int raw = 0;
        ::waitpid(m_pid, &raw, 0);
        m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return m_status;
    }
    std::string err() const { return slurp(m_err); }

private:
    pid_t m_pid = 0;
    int m_status = -1;
    std::string m_err;
};

struct Pair {
    Bytes data;
    Bytes names;
    bool operator==(const Pair&) const = default;
};

class ConcurrencyTest : public testing::Test {
protected:
    Pair onDisk() const { return {testsupport::readFile(data), testsupport::readFile(names)}; }
    void restore(const Pair& pair) const {
        testsupport::writeFile(data, pair.data);
        testsupport::writeFile(names, pair.names);
    }
    int run(std::vector<std::string> args) {
        Process process(folder, "run", std::move(args));
        return process.wait();
    }
    std::set<std::string> entries() const {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            const std::string name = entry.path().filename().string();
            if (name.find(".dat") != std::string::npos || name.find(".nam") != std::string::npos)
                found.insert(name);
        }
        return found;
    }

    testsupport::TempFolder folder;
    std::string data = folder.file("OBJDAT.dat");
    std::string names = folder.file("OBJDAT.nam");
};

TEST_F(ConcurrencyTest, AKilledScaleLeavesTheOldPairOrTheNewOne) {
    ASSERT_EQ(run({"sample", data, "512"}), 0);
    const Pair old = onDisk();
    // The new pair, and how long a scale takes from start to end.
    Clock::duration took{};
    for (int i = 0; i < 3; ++i) {
        restore(old);
        const auto start = Clock::now();
        ASSERT_EQ(run({"scale", data, "--damage", "100:150", "--size", "100:250"}), 0);
        took += Clock::now() - start;
    }
    const Pair scaled = onDisk();
    ASSERT_NE(scaled, old);
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(took / 3) * 3 / 2;

    std::mt19937 random(18);
    std::uniform_int_distribution<long> moment(0, span.count());
    int cutOff = 0, before = 0, after = 0;
    for (int i = 0; i < 40; ++i) {
        restore(old);
        Process scale(folder, "scale", {"scale", data, "--damage", "100:150", "--size", "100:250"});
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        scale.kill(SIGKILL);
        scale.wait();
        const bool journal = std::filesystem::exists(doc::journalPathFor(data));
        doc::FileSession session;
        session.open(data);
        session.close();
        const Pair found = onDisk();
        EXPECT_TRUE(found == old || found == scaled) << "kill " << i;
        EXPECT_EQ(entries(), (std::set<std::string>{"OBJDAT.dat", "OBJDAT.nam"})) << "kill " << i;
        cutOff += journal;
        (found == old ? before : after) += 1;
    }
    std::printf("40 kills within %lld us: %d cut a save off and were put back, %d found the old "
                "pair, %d the new one\n",
                static_cast<long long>(span.count()), cutOff, before, after);
}

TEST_F(ConcurrencyTest, TwoImportsAtOnceNeverLoseAnAppliedChange) {
    testsupport::DataFile file;
    file.records = testsupport::sampleRecords(200);
    file.write(data);
    testsupport::writeNamesFile(data, std::vector<std::string>(200, "Object"));
    const Pair old = onDisk();
    std::ofstream(folder.file("one.csv")) << "index,damage\n1,1111\n";
    std::ofstream(folder.file("two.csv")) << "index,damage\n2,2222\n";
    std::ofstream(folder.file("add.csv")) << "index,damage\n200,5\n";
    int refused = 0;
    for (int i = 0; i < 20; ++i) {
        restore(old);
        const std::string second = i % 2 ? "add.csv" : "two.csv";
        Process a(folder, "a", {"import", data, folder.file("one.csv")});
        Process b(folder, "b", {"import", data, folder.file(second)});
        const int statusA = a.wait(), statusB = b.wait();
        const Bytes after = testsupport::readFile(data);
        for (const auto& [status, process, other, applied] :
             {std::tuple{statusA, &a, &b, testsupport::recordAt(after, 1).fields[2] == 1111u},
              std::tuple{statusB, &b, &a,
                         i % 2 ? testsupport::storedCount(after) == 201 &&
                                     testsupport::recordAt(after, 200).fields[2] == 5u
                               : testsupport::recordAt(after, 2).fields[2] == 2222u}}) {
            if (status == 0) {
                EXPECT_TRUE(applied) << "run " << i << ": a change reported written is lost";
                continue;
            }
            ++refused;
            EXPECT_EQ(status, 1) << "run " << i;
            EXPECT_FALSE(applied) << "run " << i << ": a refused change was written";
            const std::string err = process->err();
            const std::string held = "OBJDAT.dat is open for writing in another program";
            EXPECT_NE(err.find(held), std::string::npos) << err;
            // The holder is named, unless it let go before it could be looked up.
            const std::string named = held + " (process " + std::to_string(other->pid()) + ")";
            EXPECT_TRUE(err.find(named) != std::string::npos ||
                        err.find(held + "\n") != std::string::npos)
                << err;
        }
        EXPECT_EQ(testsupport::storedCount(after), 200 + (i % 2 && statusB == 0)) << "run " << i;
    }
    std::printf("20 pairs of imports at once: %d of 40 runs refused, none lost\n", refused);
}

TEST_F(ConcurrencyTest, AWriterWaitsForAnotherCvnobjOnlyAndNamesTheHolder) {
    testsupport::DataFile file;
    file.records = testsupport::sampleRecords(5);
    file.write(data);
    testsupport::writeNamesFile(data, std::vector<std::string>(5, "Object"));
    std::ofstream(folder.file("one.csv")) << "index,damage\n1,1111\n";
    const std::string named = "OBJDAT.dat is open for writing in another program (process " +
                              std::to_string(::getpid()) + ")";
    struct Case {
        const char* what;
        bool holderIsCvnobj; // the holder marks itself as an unattended writer, as cvnobj does
        std::vector<std::string> wait;
        std::chrono::milliseconds least, most; // how long the refusal takes
    };
    using std::chrono::milliseconds;
    const Case cases[] = {
        {"the editor, with the default wait", false, {}, milliseconds(0), milliseconds(900)},
        {"another cvnobj, --wait 0", true, {"--wait", "0"}, milliseconds(0), milliseconds(900)},
        {"another cvnobj, --wait 1", true, {"--wait", "1"}, milliseconds(1000), milliseconds(2500)},
    };
    for (const Case& c : cases) {
        doc::FileSession holder;
        if (c.holderIsCvnobj)
            holder.waitForBatchWriters(milliseconds(0));
        holder.open(data);
        std::vector<std::string> args = {"import", data, folder.file("one.csv")};
        args.insert(args.end(), c.wait.begin(), c.wait.end());
        const auto start = std::chrono::steady_clock::now();
        Process import(folder, "import", args);
        EXPECT_EQ(import.wait(), 1) << c.what;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, c.least) << c.what;
        EXPECT_LE(took, c.most) << c.what;
        EXPECT_NE(import.err().find(named), std::string::npos) << c.what << "\n" << import.err();
    }
}

TEST_F(ConcurrencyTest, AFileRenamedOverTheDataFileBeforeTheWriteIsNotWrittenOver) {
    testsupport::DataFile file;
    file.records = testsupport::sampleRecords(6);
    file.write(data);
    testsupport::writeNamesFile(data, {"a", "b", "c", "d", "e", "f"});
    const Bytes old = testsupport::readFile(data);
    std::ofstream(folder.file("one.csv")) << "index,damage\n0,1111\n";

    // A reader holds the import at its save: the import has read the pair and waits to write.
    auto reader = doc::FileSystem::real().openReadOnly(data);
    ASSERT_TRUE(reader->tryLock(doc::LockSlot::Save, doc::LockMode::Shared));
    Process import(folder, "import", {"import", data, folder.file("one.csv")});
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (reader->lockHolder(doc::LockSlot::Writer, doc::LockMode::Exclusive) != import.pid() &&
           Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(reader->lockHolder(doc::LockSlot::Writer, doc::LockMode::Exclusive), import.pid());

    // Another program saves through a new file renamed over the old one.
    Bytes theirs = old;
    theirs[static_cast<std::size_t>(testsupport::fieldOffset(0, 2))] = 0x99;
    testsupport::writeFile(data + ".new", theirs);
    std::filesystem::rename(data + ".new", data);
    reader->unlock(doc::LockSlot::Save);

    EXPECT_EQ(import.wait(), 1);
    EXPECT_NE(import.err().find("OBJDAT.dat was changed by another program since it was opened; "
                                "nothing was written"),
              std::string::npos)
        << import.err();
    EXPECT_EQ(testsupport::readFile(data), theirs);
    Bytes replaced(old.size());
    ASSERT_EQ(reader->readAt(0, replaced.data(), replaced.size()), old.size());
    EXPECT_EQ(replaced, old) << "the import wrote into the file that was replaced";
}

} // namespace

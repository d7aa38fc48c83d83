// cvnobj and what a save cut off by a kill leaves behind, as a modder's folder then really gets
// handled: a backup copied back over the pair (which keeps the files' identities), the folder
// copied elsewhere with the journal (which gives them new ones). The journal puts back the save
// it was written for wherever the pair is, and never writes into other files.

#include "cli/commands.h"
#include "tests/support/data_files.h"
#include "tests/support/test_file_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <sys/wait.h>

namespace {

using testsupport::Bytes;
namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string err;
};

struct Pair {
    Bytes data;
    Bytes names;
    bool operator==(const Pair&) const = default;
};

Pair pairIn(const std::string& folder) {
    return {testsupport::readFile(folder + "/OBJDAT.dat"),
            testsupport::readFile(folder + "/OBJDAT.nam")};
}

/** Runs cvnobj with the shell words args in folder. */
Outcome run(const std::string& folder, const std::string& args) {
    const std::string err = folder + "/.stderr";
    const std::string command =
        "cd '" + folder + "' && '" + CVNOBJ_PATH + "' >/dev/null 2>'" + err + "' " + args;
    const int raw = std::system(command.c_str());
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    fs::remove(err);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text.str()};
}

/** Every damage doubled, stopped at the eleventh write into the data file as a kill stops it. */
void cutOffScale(const std::string& data) {
    testsupport::TestFileSystem files;
    files.resetOperations();
    files.crashOn(testsupport::TestFileSystem::Operation::Write, data, 10);
    EXPECT_THROW(cli::runScale(data, {100, 200}, {100, 100}, files), testsupport::SimulatedCrash);
}

TEST(CutOffSave, AJournalPutsBackItsOwnSaveWhereverThePairIsAndNeverWritesOtherFiles) {
    const std::string putBack = "a save into it was cut off before it was complete; the records "
                                "and names it held before that save were put back";
    const std::string keptAside = "does not fit the files as they are now (they were replaced or "
                                  "changed since), so it was not applied; the files were opened "
                                  "as they are, and the journal was kept as "
                                  "OBJDAT.dat.journal-not-applied";
    struct Case {
        const char* what;
        int backupCount;      // a backup of so many records copied over the pair; 0: none
        bool editedBackup;    // that backup with a byte of record 3 changed
        bool copiedElsewhere; // the pair and its journal copied to another folder first
        const std::string* told;
    };
    const Case cases[] = {
        {"the pair itself", 0, false, false, &putBack},
        {"a copy of the folder", 0, false, true, &putBack},
        {"a backup of more records copied back", 31, false, false, &keptAside},
        {"a backup with record 3 edited copied back", 30, true, false, &keptAside},
        {"a backup of fewer records copied back", 25, false, false, &keptAside},
    };
    for (const Case& c : cases) {
        const testsupport::TempFolder game, backup, copy;
        ASSERT_EQ(run(game.path(), "sample OBJDAT.dat 30").status, 0);
        const Pair before = pairIn(game.path());
        std::ofstream(game.file("nothing.csv")) << "index\n";
        cutOffScale(game.file("OBJDAT.dat"));
        ASSERT_NE(pairIn(game.path()), before) << c.what << ": the cut-off save wrote nothing";

        std::string folder = game.path();
        Pair expected = before;
        if (c.copiedElsewhere) {
            for (const auto& entry : fs::directory_iterator(game.path()))
                fs::copy_file(entry.path(), copy.file(entry.path().filename().string()));
            folder = copy.path();
            const Outcome check = run(folder, "check OBJDAT.dat");
            EXPECT_EQ(check.status, 1) << c.what;
        }
        if (c.backupCount > 0) {
            ASSERT_EQ(
                run(backup.path(), "sample OBJDAT.dat " + std::to_string(c.backupCount)).status, 0);
            if (c.editedBackup) {
                Bytes data = testsupport::readFile(backup.file("OBJDAT.dat"));
                data[testsupport::fieldOffset(3, 1)] ^= 1;
                testsupport::writeFile(backup.file("OBJDAT.dat"), data);
            }
            // As cp does it: the files written over, so they keep their identities.
            for (const char* name : {"OBJDAT.dat", "OBJDAT.nam"})
                fs::copy_file(backup.file(name), game.file(name),
                              fs::copy_options::overwrite_existing);
            expected = pairIn(backup.path());
            EXPECT_EQ(run(folder, "show OBJDAT.dat").status, 0) << c.what;
        }

        const Outcome import = run(folder, "import OBJDAT.dat nothing.csv");
        EXPECT_EQ(import.status, 0) << c.what << "\n" << import.err;
        EXPECT_NE(import.err.find(*c.told), std::string::npos) << c.what << "\n" << import.err;
        EXPECT_EQ(pairIn(folder), expected) << c.what;
        EXPECT_FALSE(fs::exists(folder + "/.OBJDAT.dat-journal")) << c.what;
        EXPECT_EQ(fs::exists(folder + "/OBJDAT.dat.journal-not-applied"), c.told == &keptAside)
            << c.what;
        const Outcome again = run(folder, "import OBJDAT.dat nothing.csv");
        EXPECT_EQ(again.err, "") << c.what << ": told twice";
        EXPECT_EQ(run(folder, "check OBJDAT.dat").status, 0) << c.what;
    }
}

TEST(CutOffSave, ASaveCutOffThroughAnotherNameIsPutBackThroughEveryNameAndOnlyOnce) {
    // As mod managers deploy files: the pair under a second name, a hard or a symbolic link.
    for (const bool hard : {true, false}) {
        const char* const what = hard ? "hard link" : "symbolic link";
        const testsupport::TempFolder game, other;
        ASSERT_EQ(run(game.path(), "sample OBJDAT.dat 30").status, 0);
        const Pair before = pairIn(game.path());
        for (const char* name : {"OBJDAT.dat", "OBJDAT.nam"}) {
            if (hard)
                fs::create_hard_link(game.file(name), other.file(name));
            else
                fs::create_symlink(game.file(name), other.file(name));
        }
        std::ofstream(game.file("later.csv")) << "index,name\n3,Later\n";
        std::ofstream(other.file("nothing.csv")) << "index\n";
        cutOffScale(other.file("OBJDAT.dat"));
        ASSERT_TRUE(fs::exists(other.file(".OBJDAT.dat-journal"))) << what;

        // Seen from the real path, and put back by its next writer.
        EXPECT_EQ(run(game.path(), "check OBJDAT.dat").status, 1) << what;
        const Outcome show = run(game.path(), "show OBJDAT.dat");
        EXPECT_EQ(show.status, 1) << what;
        EXPECT_NE(show.err.find("through another name of the file"), std::string::npos)
            << what << "\n"
            << show.err;
        const Outcome import = run(game.path(), "import OBJDAT.dat later.csv");
        EXPECT_EQ(import.status, 0) << what << "\n" << import.err;
        EXPECT_NE(
            import.err.find("were put back (the save was made through " + other.file("OBJDAT.dat")),
            std::string::npos)
            << what << "\n"
            << import.err;
        const Pair later = pairIn(game.path());
        EXPECT_EQ(later.data, before.data) << what;
        EXPECT_NE(later.names, before.names) << what;
        EXPECT_FALSE(fs::exists(other.file(".OBJDAT.dat-journal"))) << what;

        // The save that succeeded is never undone through the other name.
        const Outcome again = run(other.path(), "import OBJDAT.dat nothing.csv");
        EXPECT_EQ(again.status, 0) << what;
        EXPECT_EQ(again.err, "") << what;
        EXPECT_EQ(pairIn(game.path()), later) << what;
    }
}

TEST(CutOffSave, WhatGetsInTheWayOfTheJournalIsToldInWords) {
    struct Case {
        const char* what;
        std::function<void(const testsupport::TempFolder&)> setUp;
        std::string args;
        int status;
        std::string told; // on standard error, or for check on its output
    };
    const Case cases[] = {
        {"a names file that is a link to the data file",
         [](const testsupport::TempFolder& f) {
             fs::remove(f.file("OBJDAT.nam"));
             fs::create_symlink(f.file("OBJDAT.dat"), f.file("OBJDAT.nam"));
         },
         "check OBJDAT.dat >out", 1, "A names file cannot be opened as a data file"},
        {"a journal that is a symbolic link",
         [](const testsupport::TempFolder& f) {
             cutOffScale(f.file("OBJDAT.dat"));
             fs::rename(f.file(".OBJDAT.dat-journal"), f.file("elsewhere"));
             fs::create_symlink(f.file("elsewhere"), f.file(".OBJDAT.dat-journal"));
         },
         "import OBJDAT.dat later.csv", 1,
         ".OBJDAT.dat-journal beside it is not a journal of this program (not a regular file)"},
        {"the journal's temporary name taken by a folder",
         [](const testsupport::TempFolder& f) {
             fs::create_directory(f.file(".OBJDAT.dat-journal.tmp"));
         },
         "import OBJDAT.dat later.csv", 1,
         ".OBJDAT.dat-journal.tmp, the name its journal is made under, is taken by a folder"},
    };
    for (const Case& c : cases) {
        const testsupport::TempFolder folder;
        ASSERT_EQ(run(folder.path(), "sample OBJDAT.dat 30").status, 0);
        std::ofstream(folder.file("later.csv")) << "index,name\n3,Later\n";
        c.setUp(folder);
        const Pair before = pairIn(folder.path());
        const Outcome outcome = run(folder.path(), c.args);
        EXPECT_EQ(outcome.status, c.status) << c.what << "\n" << outcome.err;
        std::ifstream out(folder.file("out"));
        const std::string told = outcome.err + std::string(std::istreambuf_iterator<char>(out), {});
        EXPECT_NE(told.find(c.told), std::string::npos) << c.what << "\n" << told;
        EXPECT_EQ(pairIn(folder.path()), before) << c.what << ": written";
    }
}

} // namespace

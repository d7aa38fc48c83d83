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

} // namespace

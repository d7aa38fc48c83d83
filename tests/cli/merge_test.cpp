// cvnobj merge, apply and diff --patch through the built program: their lines and exit
// statuses, a dry run or a conflict left changing no byte, -o refusing a file that exists, a
// journal beside BASE or THEIRS refused, a patch applied once and then again.

#include "tests/cli/cvnobj_process.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using testsupport::Bytes;
using testsupport::readFile;

/** BASE with six records; MINE changes record 2 and 3's damage and adds record 6; THEIRS renames
 * record 0 and changes record 3's damage (a conflict) and record 4's dx_pos. */
class CvnobjMergeTest : public testsupport::CvnobjProcessTest {
protected:
    void SetUp() override {
        ASSERT_EQ(run("sample BASE.dat 6").status, 0);
        text("base.csv", "index,damage,dx_pos\n3,100,1.5\n4,100,1.5\n2,5,1.5\n");
        ASSERT_EQ(run("import BASE.dat base.csv").status, 0);
        for (const char* copy : {"MINE", "THEIRS", "COPY"})
            copyPair("BASE", copy);
        text("mine.csv", "index,damage\n2,7\n3,150\n6,1\n");
        ASSERT_EQ(run("import MINE.dat mine.csv").status, 0);
        copyPair("MINE", "MINE0");
        text("theirs.csv", "index,damage,dx_pos\n3,120,1.5\n4,100,2.5\n");
        text("name.csv", "index,name\n0,Theirs\n");
        ASSERT_EQ(run("import THEIRS.dat theirs.csv").status, 0);
        ASSERT_EQ(run("import THEIRS.dat name.csv").status, 0);
    }

    void text(const std::string& name, const std::string& content) {
        std::ofstream(folder.file(name), std::ios::binary) << content;
    }
    void copyPair(const std::string& from, const std::string& to) {
        for (const char* extension : {".dat", ".nam"})
            testsupport::writeFile(folder.file(to + extension),
                                   readFile(folder.file(from + extension)));
    }
    Bytes pair(const std::string& name) {
        Bytes bytes = readFile(folder.file(name + ".dat"));
        const Bytes names = readFile(folder.file(name + ".nam"));
        bytes.insert(bytes.end(), names.begin(), names.end());
        return bytes;
    }
};

const std::string kTaken = "record 0 name: \"Ashwick Tower 0\" -> \"Theirs\" (theirs)\n"
                           "record 4 dx_pos: 1.5 -> 2.5 (theirs)\n";
const std::string kConflict = "record 3 damage: base 100, mine 150, theirs 120";

TEST_F(CvnobjMergeTest, MergeListsWritesOnlyWhenSettledAndRefusesExistingOutput) {
    const Bytes mine = pair("MINE");
    struct Row {
        std::string args;
        int status;
        std::string out;
    };
    for (const Row& row : std::initializer_list<Row>{
             {"merge BASE.dat MINE.dat THEIRS.dat --dry-run", 1,
              "record 0 name: \"Ashwick Tower 0\" -> \"Theirs\" (theirs)\n" + kConflict +
                  "\nrecord 4 dx_pos: 1.5 -> 2.5 (theirs)\n"
                  "2 changes from theirs, 1 conflict left; nothing written\n"},
             {"merge BASE.dat MINE.dat THEIRS.dat", 1,
              "record 0 name: \"Ashwick Tower 0\" -> \"Theirs\" (theirs)\n" + kConflict +
                  "\nrecord 4 dx_pos: 1.5 -> 2.5 (theirs)\n"
                  "2 changes from theirs, 1 conflict left; nothing written\n"},
             {"merge BASE.dat MINE.dat THEIRS.dat --dry-run --prefer theirs", 0,
              "record 0 name: \"Ashwick Tower 0\" -> \"Theirs\" (theirs)\n" + kConflict +
                  " (took theirs)\nrecord 4 dx_pos: 1.5 -> 2.5 (theirs)\n"
                  "2 changes from theirs, 1 conflict; nothing written (dry run)\n"},
         }) {
        const testsupport::Outcome result = run(row.args);
        EXPECT_EQ(result.status, row.status) << row.args << "\n" << result.err;
        EXPECT_EQ(result.out, row.out) << row.args;
        EXPECT_EQ(pair("MINE"), mine) << row.args;
    }

    // Into a new pair: MINE's bytes with THEIRS's changes.
    const testsupport::Outcome out =
        run("merge BASE.dat MINE.dat THEIRS.dat -o OUT.dat --prefer mine");
    EXPECT_EQ(out.status, 0) << out.err;
    EXPECT_TRUE(out.out.ends_with("2 changes from theirs, 1 conflict; written to OUT.dat\n"))
        << out.out;
    EXPECT_EQ(run("diff MINE.dat OUT.dat").out, "record 0 name: \"Ashwick Tower 0\" -> "
                                                "\"Theirs\"\nrecord 4 dx_pos: 1.5 -> 2.5\n");
    const Bytes outData = readFile(folder.file("OUT.dat"));
    const Bytes mineData = readFile(folder.file("MINE.dat"));
    EXPECT_TRUE(std::equal(mineData.begin(), mineData.begin() + 100, outData.begin()));
    const Bytes written = pair("OUT");
    const testsupport::Outcome again =
        run("merge BASE.dat MINE.dat THEIRS.dat -o OUT.dat --prefer mine");
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.err, "cvnobj: OUT.dat: already exists; it is left as it is\n");
    EXPECT_EQ(pair("OUT"), written);

    // Into MINE, then again: everything THEIRS did is there already.
    EXPECT_EQ(run("merge BASE.dat MINE.dat THEIRS.dat --prefer theirs").status, 0);
    EXPECT_EQ(run("diff THEIRS.dat MINE.dat").out,
              "record 2 damage: 5 -> 7\nrecord 6 only in MINE.dat\n");
    const testsupport::Outcome twice = run("merge BASE.dat MINE.dat THEIRS.dat");
    EXPECT_EQ(twice.status, 0);
    EXPECT_EQ(twice.out, "0 changes from theirs, 0 conflicts; nothing to write\n");

    // Written, but the summary lost.
    EXPECT_EQ(run("merge BASE.dat MINE0.dat THEIRS.dat --prefer mine >/dev/full").status, 3);
    EXPECT_EQ(run("diff MINE0.dat OUT.dat").status, 0);
}

TEST_F(CvnobjMergeTest, PatchesApplyOnceAndThenChangeNothing) {
    const testsupport::Outcome patch = run("diff BASE.dat THEIRS.dat --patch >theirs.json");
    EXPECT_EQ(patch.status, 1) << patch.err;
    EXPECT_NE(testsupport::slurp(folder.file("theirs.json")).find("\"format\": \"cvnobj-patch\""),
              std::string::npos);
    EXPECT_EQ(run("diff BASE.dat COPY.dat --patch").status, 0);

    const testsupport::Outcome applied = run("apply COPY.dat theirs.json");
    EXPECT_EQ(applied.status, 0) << applied.err;
    EXPECT_EQ(applied.out, "record 0 name: \"Ashwick Tower 0\" -> \"Theirs\" (patch)\n"
                           "record 3 damage: 100 -> 120 (patch)\n"
                           "record 4 dx_pos: 1.5 -> 2.5 (patch)\n"
                           "3 changes from patch, 0 conflicts; written to COPY.dat\n");
    EXPECT_EQ(run("diff THEIRS.dat COPY.dat").status, 0);
    EXPECT_EQ(readFile(folder.file("THEIRS.dat")), readFile(folder.file("COPY.dat")));

    const Bytes once = pair("COPY");
    const testsupport::Outcome twice = run("apply COPY.dat theirs.json");
    EXPECT_EQ(twice.status, 0);
    EXPECT_EQ(twice.out, "0 changes from patch, 0 conflicts; nothing to write\n");
    EXPECT_EQ(pair("COPY"), once);

    const Bytes mine = pair("MINE");
    const testsupport::Outcome conflict = run("apply MINE.dat theirs.json");
    EXPECT_EQ(conflict.status, 1);
    EXPECT_NE(conflict.out.find("record 3 damage: base 100, mine 150, patch 120\n"),
              std::string::npos)
        << conflict.out;
    EXPECT_EQ(pair("MINE"), mine);
}

TEST_F(CvnobjMergeTest, TroubleIsTwoAndWritesNothing) {
    text("bad.json", "{\"format\": \"cvnobj-patch\", \"version\": 9}");
    testsupport::writeFile(folder.file(".THEIRS.dat-journal"), Bytes{1, 2, 3});
    const Bytes mine = pair("MINE");
    struct Row {
        std::string args;
        std::string err; // the start of standard error
    };
    for (const Row& row : std::initializer_list<Row>{
             {"merge BASE.dat MINE.dat", "THEIRS is required"},
             {"merge BASE.dat MINE.dat BASE.dat --prefer both", "--prefer: both not in"},
             {"merge BASE.dat MINE.dat missing.dat", "cvnobj: missing.dat: File not found"},
             {"merge MINE.dat BASE.dat MINE.dat",
              "cvnobj: BASE.dat: holds 6 records, fewer than the original's 7; records are never "
              "removed"},
             {"merge BASE.dat MINE.dat THEIRS.dat", "cvnobj: THEIRS.dat: THEIRS.dat: a save into "
                                                    "it was cut off"},
             {"merge THEIRS.dat MINE.dat BASE.dat --dry-run",
              "cvnobj: THEIRS.dat: THEIRS.dat: a save into it was cut off"},
             {"apply MINE.dat bad.json",
              "cvnobj: bad.json: not a patch this program reads: version 9 is newer"},
             {"apply MINE.dat missing.json", "cvnobj: missing.json: File not found"},
             {"diff MINE.dat BASE.dat --patch", "cvnobj: BASE.dat: holds 6 records"},
         }) {
        const testsupport::Outcome result = run(row.args);
        EXPECT_EQ(result.status, 2) << row.args << "\n" << result.err;
        EXPECT_TRUE(result.err.starts_with(row.err)) << row.args << "\n" << result.err;
        EXPECT_EQ(pair("MINE"), mine) << row.args;
    }
    // Every command's exit statuses in one table.
    EXPECT_NE(
        run("--help").out.find("merge, apply          merged      conflicts  trouble   unreported"),
        std::string::npos);
}

} // namespace

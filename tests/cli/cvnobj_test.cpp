// cvnobj through the built program: round trips byte for byte, the import's checks, appending,
// scale against the editor's computation, diff, check, every failure's message and status, hostile
// sources and names kept from the terminal, and memory bounded whatever a source's shape.

#include "document/field_table.h"
#include "document/journal.h"
#include "document/record_codec.h"
#include "document/scaling.h"
#include "tabletext/table_io.h"
#include "tests/cli/cvnobj_process.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::string_literals;
using testsupport::Bytes;

using testsupport::Outcome;
using testsupport::slurp;

class CvnobjTest : public testsupport::CvnobjProcessTest {
protected:
    std::string data = folder.file("OBJDAT.dat");
    std::string names = folder.file("OBJDAT.nam");

    /** A file with the values and names that are hardest to carry through text. */
    void writeAwkwardFile() {
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(6);
        const std::uint32_t extremes[] = {4294967295u,
                                          0x80000000u /* -0.0 */,
                                          1u /* smallest
subnormal */,
                                          std::bit_cast<std::uint32_t>(3.4e38f),
                                          std::bit_cast<std::uint32_t>(1.234f),
                                          0x7FC01234u /* NaN with a payload */,
                                          0xFF800000u};
        for (int k = 0; k < 7; ++k)
            file.records[1].fields[static_cast<std::size_t>(k == 0 ? 2 : 3 + k)] = extremes[k];
        file.records[2].fields[23] = 2; // a flag of 2 stays visible
        file.records[3].setFloatField(7, 4.5f);
        file.tail = {9, 9, 9};
        file.write(data);
        testsupport::writeNamesFile(data,
                                    {"Plain", "semi;colon, comma \"quoted\"", std::string(30, 'X'),
                                     std::string("short\0garbage after", 19),
                                     "line\nbreak \x1b[31m esc", "Caf\xe9 \x80 \x81"});
    }
};

TEST_F(CvnobjTest, ExportThenImportChangesNoByte) {
    writeAwkwardFile();
    const Bytes dataBefore = testsupport::readFile(data),
                namesBefore = testsupport::readFile(names);
    for (const std::string format : {"csv", "json"}) {
        ASSERT_EQ(run("export OBJDAT.dat --format " + format + " -o out." + format).status, 0);
        const Outcome imported = run("import OBJDAT.dat out." + format);
        EXPECT_EQ(imported.status, 0) << imported.err;
        EXPECT_EQ(imported.out, "0 changes; nothing written\n");
        EXPECT_EQ(testsupport::readFile(data), dataBefore) << format;
        EXPECT_EQ(testsupport::readFile(names), namesBefore) << format;
    }
    // As a spreadsheet writes it back: a byte-order mark, LF line ends, a float in exponent form.
    std::string csv = slurp(folder.file("out.csv"));
    for (std::size_t at; (at = csv.find("\r\n")) != std::string::npos;)
        csv.replace(at, 2, 1, '\n');
    const std::string subnormal = ",1e-45,";
    ASSERT_NE(csv.find(subnormal), std::string::npos);
    csv.replace(csv.find(subnormal), subnormal.size(), ",1E-045,");
    std::ofstream(folder.file("sheet.csv"), std::ios::binary) << "\xEF\xBB\xBF" << csv;
    EXPECT_EQ(run("import OBJDAT.dat sheet.csv").status, 0);
    EXPECT_EQ(testsupport::readFile(data), dataBefore);
    EXPECT_EQ(testsupport::readFile(names), namesBefore);
    // --bom: the same export behind the byte-order mark, which the import reads past.
    ASSERT_EQ(run("export OBJDAT.dat --bom -o bom.csv").status, 0);
    EXPECT_EQ(slurp(folder.file("bom.csv")), "\xEF\xBB\xBF" + slurp(folder.file("out.csv")));
    EXPECT_EQ(run("import OBJDAT.dat bom.csv").out, "0 changes; nothing written\n");
}

TEST_F(CvnobjTest, ExportWritesEachFormExactly) {
    writeAwkwardFile();
    const Outcome csv = run("export OBJDAT.dat");
    ASSERT_EQ(csv.status, 0);
    EXPECT_TRUE(csv.out.starts_with("index,name,class,type,damage,dot_color,dx_neg,"));
    for (const std::string piece :
         {",\"semi;colon, comma \"\"quoted\"\"\",", ",\"line\nbreak \x1b[31m esc\",",
          ",4294967295,", ",-0,1e-45,3.4e+38,1.234,0x7FC01234,0xFF800000,",
          "\r\n5,Café € \xc2\x81,"})
        EXPECT_NE(csv.out.find(piece), std::string::npos) << piece;
    const Outcome json = run("export OBJDAT.dat --format json");
    for (const std::string piece :
         {"\"count\": 6", "\"damage\": 4294967295", "\"dy_neg\": 1e-45",
          "\"dy_pos\": \"0x7FC01234\"", "\"name\": \"line\\nbreak \\u001b[31m esc\""})
        EXPECT_NE(json.out.find(piece), std::string::npos) << piece;
}

TEST_F(CvnobjTest, ImportReportsEveryBadCellAndWritesNothing) {
    writeAwkwardFile();
    std::remove(names.c_str()); // a refused import creates no names file either
    const Bytes before = testsupport::readFile(data);
    std::ofstream(folder.file("bad.csv"))
        << "index,damage,dx_neg,name,has_flame\n"
        << "0,12x,1.5,ok,1\n"
        << "1,5,1,5,\"Snowman \xe2\x98\x83\",0\n" // a field too many
        << "2,-1,abc,fine,1\n"
        << "3,7,0x1FFFFFFFF," + std::string(30, 'n') + ",1\n"
        << "9,1,1,far,1\n";
    const Outcome imported = run("import OBJDAT.dat bad.csv");
    EXPECT_EQ(imported.status, 1);
    for (const std::string line :
         {"bad.csv: row 1, column damage: '12x' is not a whole number", "bad.csv: row 2: 6 fields",
          "bad.csv: row 3, column damage: '-1'", "bad.csv: row 3, column dx_neg: 'abc'",
          "bad.csv: row 4, column dx_neg: '0x1FFFFFFFF' is not a 32-bit pattern",
          "bad.csv: row 4, column name: longer than 29 characters",
          "bad.csv: row 5, column index: record 9 is beyond the table (records 0 to 5, or 6 to add "
          "one)",
          "cvnobj: 7 errors; nothing written"})
        EXPECT_NE(imported.err.find(line), std::string::npos) << line << "\n" << imported.err;
    EXPECT_EQ(testsupport::readFile(data), before);
    EXPECT_EQ(access(names.c_str(), F_OK), -1);

    std::ofstream(folder.file("snow.json")) << R"({"records":[{"index":0,"name":"Snow ☃"}]})";
    EXPECT_NE(run("import OBJDAT.dat snow.json")
                  .err.find("row 1, column name: holds a character Windows-1252 cannot hold"),
              std::string::npos);
}

TEST_F(CvnobjTest, ImportChangesAndAppends) {
    writeAwkwardFile();
    std::ofstream(folder.file("more.csv")) << "damage,index,name\n77,0,Plain\n5,6,\n,7,Seventh\n";
    // An empty cell is refused, even in a row that adds a record.
    EXPECT_EQ(run("import OBJDAT.dat more.csv").status, 1);
    std::ofstream(folder.file("more.csv")) << "damage,index\n77,0\n5,6\n";
    std::ofstream(folder.file("named.json")) << R"({"records":[{"index":7,"name":"Seventh"}]})";
    const Outcome dry = run("import OBJDAT.dat more.csv --dry-run");
    EXPECT_EQ(dry.out,
              "record 0 damage: " + std::to_string(testsupport::sampleRecord(0).fields[2]) +
                  " -> 77\nrecord 6 added\n2 changes; nothing written (dry run)\n");
    EXPECT_EQ(testsupport::storedCount(testsupport::readFile(data)), 6);

    ASSERT_EQ(run("import OBJDAT.dat more.csv").status, 0);
    ASSERT_EQ(run("import OBJDAT.dat named.json").status, 0);
    const Bytes after = testsupport::readFile(data);
    EXPECT_EQ(testsupport::storedCount(after), 8);
    EXPECT_EQ(testsupport::recordAt(after, 0).fields[2], 77u);
    doc::ObjectRecord added = doc::defaultRecord();
    added.fields[2] = 5;
    EXPECT_EQ(testsupport::recordAt(after, 6), added);
    EXPECT_EQ(testsupport::recordAt(after, 6).fields[10], 10000u); // "Max Range"
    EXPECT_EQ(testsupport::slotAt(testsupport::readFile(names), 6),
              testsupport::nameSlot("Empty Object Slot"));
    EXPECT_EQ(testsupport::slotAt(testsupport::readFile(names), 7),
              testsupport::nameSlot("Seventh"));
    // The bytes after the old last record were overwritten by the new ones, no more.
    EXPECT_EQ(after.size(), static_cast<std::size_t>(doc::recordOffset(8)));
}

TEST_F(CvnobjTest, ScaleIsTheEditorsComputation) {
    ASSERT_EQ(run("sample OBJDAT.dat 40").status, 0);
    const Bytes before = testsupport::readFile(data);
    doc::ObjectTable expected;
    for (int r = 0; r < 40; ++r)
        expected.records[static_cast<std::size_t>(r)] = testsupport::recordAt(before, r);
    expected.lastIndex = 39;
    doc::scaleTable(expected, {30, 50}, {100, 210});
    const Outcome scale = run("scale OBJDAT.dat --damage 30:50 --size 100:210");
    ASSERT_EQ(scale.status, 0) << scale.err;
    const Bytes after = testsupport::readFile(data);
    for (int r = 0; r < 40; ++r)
        EXPECT_EQ(testsupport::recordAt(after, r), expected.records[static_cast<std::size_t>(r)])
            << r;
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + doc::kHeaderSize, after.begin()));
}

TEST_F(CvnobjTest, DiffAndCheck) {
    writeAwkwardFile();
    const std::string copy = folder.file("COPY.dat");
    testsupport::writeFile(copy, testsupport::readFile(data));
    testsupport::writeFile(folder.file("COPY.nam"), testsupport::readFile(names));
    EXPECT_EQ(run("diff OBJDAT.dat COPY.dat").status, 0);
    EXPECT_EQ(run("diff OBJDAT.dat COPY.dat").out, "");
    std::ofstream(folder.file("one.csv")) << "index,dx_pos\n3,2.5\n";
    ASSERT_EQ(run("import COPY.dat one.csv").status, 0);
    const Outcome diff = run("diff OBJDAT.dat COPY.dat");
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, "record 3 dx_pos: 4.5 -> 2.5\n");

    const Outcome awkward = run("check OBJDAT.dat");
    EXPECT_EQ(awkward.status, 1);
    EXPECT_EQ(awkward.out, "record 1 dy_pos: 0x7FC01234 is not a finite number\n"
                           "record 1 dz_pos: 0xFF800000 is not a finite number\n"
                           "record 2 has_shadow: 2 is neither 0 nor 1\n");
    testsupport::cutFile(data, testsupport::fieldOffset(3, 5));
    testsupport::cutFile(names, doc::nameSlotOffset(2));
    const Outcome cut = run("check OBJDAT.dat");
    EXPECT_NE(cut.out.find("data file: holds 3 of the 6 records its count names\n"),
              std::string::npos);
    EXPECT_NE(cut.out.find("names file: holds 2 of the 6 names the count needs\n"),
              std::string::npos);
    std::remove(names.c_str());
    EXPECT_NE(run("check OBJDAT.dat").out.find("OBJDAT.nam is missing"), std::string::npos);
    EXPECT_EQ(run("sample GOOD.dat 3").status, 0);
    EXPECT_EQ(run("check GOOD.dat").out, "no problems found\n");
}

TEST_F(CvnobjTest, FailuresHaveTheirMessageAndStatus) {
    writeAwkwardFile();
    ASSERT_EQ(mkfifo(folder.file("fifo.dat").c_str(), 0600), 0);
    ASSERT_EQ(symlink("nowhere.dat", folder.file("dangling.dat").c_str()), 0);
    ASSERT_EQ(run("export OBJDAT.dat -o out.csv").status, 0);
    const Bytes before = testsupport::readFile(data);
    struct Row {
        std::string args;
        int status;
        std::string err; // the start of standard error
    };
    for (const Row& row : std::initializer_list<Row>{
             {"show missing.dat", 1, "cvnobj: missing.dat: File not found"},
             {"show /dev/zero", 1, "cvnobj: /dev/zero: File access denied"},
             {"export fifo.dat", 1, "cvnobj: fifo.dat: File access denied"},
             {"show OBJDAT.dat 6", 1, "cvnobj: record 6 does not exist (records 0 to 5)"},
             {"show OBJDAT.dat >/dev/full", 1, "cvnobj: cannot write the output: No space left"},
             {"show OBJDAT.dat >&-", 1, "cvnobj: cannot write the output: Bad file descriptor"},
             {"export OBJDAT.dat -o OBJDAT.nam", 1,
              "cvnobj: OBJDAT.nam: is the data file or its names"},
             {"import OBJDAT.dat missing.csv", 1, "cvnobj: missing.csv: File not found"},
             {"sample OBJDAT.dat", 1, "cvnobj: OBJDAT.dat: already exists"},
             {"sample dangling.dat", 1, "cvnobj: dangling.dat: already exists"},
             {"", 2, "A subcommand is required"},
             {"frobnicate OBJDAT.dat", 2, ""},
             {"scale OBJDAT.dat --damage 5:100", 2, "--damage: expected OLD:NEW"},
             {"scale OBJDAT.dat --size 100", 2, "--size: expected OLD:NEW"},
             {"scale OBJDAT.dat", 2, "scale: give --damage, --size or both"},
             // The import's report to a closed standard output fails; the data file stays as it
             // was.
             {"import OBJDAT.dat out.csv >&-", 1, "cvnobj: cannot write the output: Bad file"},
             {"sample NEW.dat 0", 2, ""},
             {"export OBJDAT.dat --format xml", 2, ""},
             {"export OBJDAT.dat --format json --bom", 2, "--bom: only a CSV export"},
             {"--help", 0, ""},
             {"import --help", 0, ""},
             {"--version", 0, ""},
             // Help and version that cannot be written fail; diff and check keep 1 for "found"
             // and give 2 for trouble, as diff(1) and cmp(1) do.
             {"--help >/dev/full", 1, "cvnobj: cannot write the output: No space left"},
             {"--version >/dev/full", 1, "cvnobj: cannot write the output: No space left"},
             {"check --help >/dev/full", 2, "cvnobj: cannot write the output: No space left"},
             {"diff OBJDAT.dat missing.dat", 2, "cvnobj: missing.dat: File not found"},
             {"diff OBJDAT.dat", 2, "B is required"},
             {"check missing.dat", 2, "cvnobj: missing.dat: File not found"},
             {"check OBJDAT.dat >/dev/full", 2, "cvnobj: cannot write the output: No space left"},
         }) {
        const Outcome result = run(row.args);
        EXPECT_EQ(result.status, row.status) << row.args << "\n" << result.err;
        EXPECT_TRUE(result.err.starts_with(row.err)) << row.args << "\n" << result.err;
    }
    EXPECT_EQ(testsupport::readFile(data), before);
    EXPECT_EQ(access(folder.file("nowhere.dat").c_str(), F_OK), -1);
    EXPECT_NE(run("import --help").out.find("\"-0\" into \"0\""), std::string::npos);
    EXPECT_NE(run("export --help").out.find("local code page"), std::string::npos);
    // Control characters in names reach a terminal escaped.
    EXPECT_NE(run("show OBJDAT.dat").out.find(";line\\nbreak \\x1b[31m esc\n"), std::string::npos);
}

TEST_F(CvnobjTest, AWriteWhoseSummaryIsLostIsReportedAsWritten) {
    ASSERT_EQ(run("sample OBJDAT.dat 20").status, 0);
    const Bytes before = testsupport::readFile(data);
    std::ofstream(folder.file("one.csv")) << "index,damage\n3,12345\n";
    for (const std::string args :
         {"scale OBJDAT.dat --damage 100:150 >/dev/full", "import OBJDAT.dat one.csv >/dev/full"}) {
        const Outcome result = run(args);
        EXPECT_EQ(result.status, 3) << args;
        EXPECT_EQ(result.err, "cvnobj: OBJDAT.dat: written; the summary could not be printed: No "
                              "space left on device\n")
            << args;
    }
    // Both were written, as the status says.
    const Bytes after = testsupport::readFile(data);
    EXPECT_EQ(testsupport::recordAt(after, 3).fields[2], 12345u);
    for (int r = 0; r < 20; ++r) {
        if (r == 3 || testsupport::recordAt(before, r).fields[0] == 3)
            continue;
        EXPECT_NE(testsupport::recordAt(after, r).fields[2],
                  testsupport::recordAt(before, r).fields[2])
            << r;
    }
}

TEST_F(CvnobjTest, FilesWithLongNamesAreMadeAndWritten) {
    // 255 bytes, the longest name a file can have: the temporary files and the journal beside it
    // still fit.
    const std::string name = std::string(251, 'o') + ".dat";
    const std::string names = std::string(251, 'o') + ".nam";
    ASSERT_EQ(run("sample " + name + " 5").status, 0);
    std::remove(folder.file(names).c_str());
    std::ofstream(folder.file("one.csv")) << "index,damage\n1,7\n";
    const Outcome imported = run("import " + name + " one.csv");
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(testsupport::recordAt(testsupport::readFile(folder.file(name)), 1).fields[2], 7u);
    EXPECT_EQ(run("export " + name + " -o " + std::string(251, 'x') + ".csv").status, 0);
    EXPECT_EQ(run("scale " + name + " --size 100:200").status, 0);
}

TEST_F(CvnobjTest, APairWhoseSaveWasCutOffIsReportedAndPutBack) {
    writeAwkwardFile();
    const Bytes before = testsupport::readFile(data);
    // What a save that was killed after its first record leaves.
    doc::Journal journal;
    journal.dataFile = doc::FileSystem::real().openReadOnly(data)->identity();
    journal.namesFile = doc::FileSystem::real().openReadOnly(names)->identity();
    journal.dataSize = static_cast<std::int64_t>(before.size());
    journal.namesSize = 180;
    journal.ranges.push_back({doc::PairFile::Data, 100, Bytes(before.begin() + 100, before.end())});
    testsupport::writeFile(folder.file(".OBJDAT.dat-journal"), doc::encodeJournal(journal));
    Bytes torn = before;
    torn[101] ^= 0xFF;
    testsupport::writeFile(data, torn);

    const std::string cutOff = "OBJDAT.dat: a save into it was cut off (.OBJDAT.dat-journal is "
                               "beside it)";
    for (const std::string args : {"show OBJDAT.dat", "export OBJDAT.dat",
                                   "diff OBJDAT.dat "
                                   "OBJDAT.dat",
                                   "import OBJDAT.dat OBJDAT.dat --dry-run"}) {
        const Outcome read = run(args);
        // diff tells trouble (2) from files that differ (1).
        EXPECT_EQ(read.status, args.starts_with("diff") ? 2 : 1) << args;
        EXPECT_NE(read.err.find(cutOff), std::string::npos) << args << "\n" << read.err;
    }
    const Outcome check = run("check OBJDAT.dat");
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("journal: " + cutOff), std::string::npos) << check.out;
    EXPECT_EQ(testsupport::readFile(data), torn);

    const Outcome scale = run("scale OBJDAT.dat --damage 100:100");
    EXPECT_EQ(scale.status, 0);
    EXPECT_EQ(scale.err, "cvnobj: OBJDAT.dat: a save into it was cut off before it was complete; "
                         "the records and names it held before that save were put back\n");
    EXPECT_EQ(testsupport::readFile(data), before);
    EXPECT_EQ(run("show OBJDAT.dat").status, 0);
}

/** Whether text holds what a terminal would act on: a control character other than the line end,
 * DEL, or a C1 control, raw or as UTF-8 (bytes 0x80 to 0x9F that follow no lead byte but 0xC2). */
bool reachesTheTerminalRaw(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto before = i > 0 ? static_cast<unsigned char>(text[i - 1]) : 0;
        if ((byte < 0x20 && byte != '\n') || byte == 0x7F ||
            (byte >= 0x80 && byte < 0xA0 && (before < 0x80 || before == 0xC2)))
            return true;
    }
    return false;
}

TEST_F(CvnobjTest, HostileSourcesAndPathsAreReportedSafely) {
    enum class Setup { Pair, NoNamesFile, NamesFolder, ReadOnlyNames };
    struct Case {
        Setup setup;
        std::string source; // in.csv, when not empty
        std::string args;
        int status;
        std::vector<std::string> shown; // each on standard output or error
        std::string checked = "";       // a line "check" prints afterwards
    };
    std::vector<Case> cases{
        // Control characters from columns, cells and paths, DEL and C1 (0x9B starts a terminal
        // sequence) too, come out escaped; a NUL does not cut the report.
        {Setup::Pair,
         "index,dam\x1b]0;T\aage,damage,dx_neg\n0,x,\x1b[31m\x7f\xc2\x9b,\x9b\n",
         "import OBJDAT.dat in.csv",
         1,
         {"in.csv: header, column dam\\x1b]0;T\\x07age: no such column\n",
          "in.csv: row 1, column damage: '\\x1b[31m\\x7f\\x9b' is not a whole number",
          "in.csv: row 1, column dx_neg: '\\x9b' is not a decimal number"}},
        {Setup::Pair,
         "index,damage\n0,1\0"
         "2\n1,\0\n"s,
         "import OBJDAT.dat in.csv",
         1,
         {"row 1, column damage: '1\\x002' is not", "row 2, column damage: '\\x00' is not",
          "cvnobj: 2 errors; nothing written"}},
        {Setup::Pair,
         R"({"records":[{"index":0,"na\u001bme":1,"damage":"\u009b\u0000"}]})",
         "import OBJDAT.dat in.csv",
         1,
         {"row 1, column na\\x1bme: no such column",
          "row 1, column damage: '\\x9b\\x00' is not a whole number"}},
        {Setup::Pair,
         "",
         "show \"$(printf 'no\\033]0;T\\007.dat')\"",
         1,
         {"cvnobj: no\\x1b]0;T\\x07.dat: File not found\n"}},
        // At most 100 errors are listed.
        {Setup::Pair,
         "index\n" +
             [] {
                 std::string rows;
                 for (int r = 0; r < 150; ++r)
                     rows += "x\n";
                 return rows;
             }(),
         "import OBJDAT.dat in.csv",
         1,
         {"in.csv: row 100, column index: 'x' is not a record number\nin.csv: and 50 more\n"
          "cvnobj: 150 errors; nothing written\n"}},
        // A whole number is whole to its last digit; in a decimal or exponent form too.
        {Setup::Pair,
         "index,damage,type,class\n0,1.0000000000000000000000000000000001,4294967295.5,1e10\n",
         "import OBJDAT.dat in.csv",
         1,
         {"damage: '1.0000000000000000000000000000000001' is not a whole number",
          "type: '4294967295.5' is not a whole number", "class: '1e10' is not a whole number"}},
        {Setup::Pair,
         "index,damage,type,class\n0,1E+3,10000.0,0.04e2\n",
         "import OBJDAT.dat in.csv --dry-run",
         0,
         {"record 0 class: 0 -> 4\nrecord 0 type: 1 -> 10000\nrecord 0 damage: 2 -> 1000\n"}},
        // Values the files may hold but check reports are written, and listed as warnings.
        {Setup::Pair,
         "index,has_shadow,dy_pos\n0,7,0x7FC00000\n",
         "import OBJDAT.dat in.csv",
         0,
         {"in.csv: warning: row 1, column dy_pos: 0x7FC00000 is not a finite number\n",
          "in.csv: warning: row 1, column has_shadow: 7 is neither 0 nor 1\n",
          "2 changes written; 2 warnings\n"},
         "record 0 has_shadow: 7 is neither 0 nor 1\n"},
        // The names file is refused as the export's output even before it exists.
        {Setup::NoNamesFile,
         "",
         "export OBJDAT.dat -o OBJDAT.nam",
         1,
         {"cvnobj: OBJDAT.nam: is the data file or its names file"}},
        {Setup::NoNamesFile,
         "",
         "export OBJDAT.dat -o \"$PWD/./OBJDAT.nam\"",
         1,
         {"/OBJDAT.nam: is the data file or its names file"}},
        // The file that cannot be opened is the one named.
        {Setup::NamesFolder,
         "",
         "show OBJDAT.dat",
         1,
         {"cvnobj: OBJDAT.nam: File access denied\n"}},
        {Setup::NamesFolder,
         "index,damage\n0,5\n",
         "import OBJDAT.dat in.csv",
         1,
         {"cvnobj: OBJDAT.nam: File access denied\n"}},
        {Setup::NamesFolder,
         "",
         "scale OBJDAT.dat --size 100:120",
         1,
         {"cvnobj: OBJDAT.nam: File access denied\n"}},
    };
    if (geteuid() != 0) // permissions do not stop root
        cases.push_back({Setup::ReadOnlyNames,
                         "index,damage\n0,5\n",
                         "import OBJDAT.dat in.csv",
                         1,
                         {"cvnobj: OBJDAT.nam: File access denied\n"}});
    for (const Case& c : cases) {
        writeAwkwardFile();
        if (c.setup == Setup::NoNamesFile || c.setup == Setup::NamesFolder)
            std::remove(names.c_str());
        if (c.setup == Setup::NamesFolder) {
            ASSERT_EQ(mkdir(names.c_str(), 0700), 0);
        }
        if (c.setup == Setup::ReadOnlyNames) {
            ASSERT_EQ(chmod(names.c_str(), 0444), 0);
        }
        if (!c.source.empty())
            std::ofstream(folder.file("in.csv"), std::ios::binary) << c.source;
        const Outcome result = run(c.args);
        const std::string both = result.out + result.err;
        EXPECT_EQ(result.status, c.status) << c.args << "\n" << both;
        for (const std::string& text : c.shown)
            EXPECT_NE(both.find(text), std::string::npos) << c.args << ": " << text << "\n" << both;
        EXPECT_FALSE(reachesTheTerminalRaw(both)) << c.args << "\n" << both;
        if (!c.checked.empty()) {
            EXPECT_NE(run("check OBJDAT.dat").out.find(c.checked), std::string::npos) << c.args;
        }
        if (c.setup == Setup::NoNamesFile) {
            EXPECT_EQ(access(names.c_str(), F_OK), -1) << c.args;
        }
        if (c.setup == Setup::NamesFolder)
            rmdir(names.c_str());
        if (c.setup == Setup::ReadOnlyNames)
            chmod(names.c_str(), 0644);
    }
}

#ifdef CVNOBJ_MEASURE_MEMORY
/** Peak resident size of an import of a 16 MB source (the largest taken) of shapes that cost
 * most to hold row by row, cell by cell or error by error: under 200 MB, with a report of a
 * few lines. */
TEST_F(CvnobjTest, ImportMemoryIsBoundedWhateverTheSourcesShape) {
    ASSERT_EQ(run("sample OBJDAT.dat 20").status, 0);
    constexpr std::size_t kSource = 16 * 1024 * 1024;
    const auto filled = [&](const std::string& head, const std::string& unit,
                            const std::string& tail = "") {
        std::string text = head;
        while (text.size() + unit.size() + tail.size() <= kSource)
            text += unit;
        return text + tail;
    };
    const std::string shapes[] = {
        filled(std::string(1024 * 1024, 'x') + "\n", "a\n"),            // one long column name
        filled("", ","),                                                // a header of empty columns
        filled("index\n", "0\n"),                                       // an error on every row
        filled("{\"records\":[{\"index\":0,\"name\":\"", "x", "\"}]}"), // one long name
        filled("{\"records\":[{\"name\":\"", "x"),                      // an unclosed string
    };
    for (const std::string& shape : shapes) {
        std::ofstream(folder.file("big.src"), std::ios::binary) << shape;
        const Outcome result =
            run("import OBJDAT.dat big.src", "/usr/bin/time -v -o '" + folder.file("time") + "'");
        EXPECT_EQ(result.status, 1) << shape.substr(0, 40);
        EXPECT_NE(result.err.find("; nothing written"), std::string::npos) << result.err;
        const std::string time = slurp(folder.file("time"));
        const std::string key = "Maximum resident set size (kbytes): ";
        ASSERT_NE(time.find(key), std::string::npos) << time;
        const long peakKb = std::stol(time.substr(time.find(key) + key.size()));
        EXPECT_LT(peakKb, 200 * 1024) << shape.substr(0, 40);
        EXPECT_LT(result.err.size(), 32u * 1024) << shape.substr(0, 40);
    }
}
#endif

TEST(CvnobjLocale, NumbersReadTheSameUnderAGermanLocale) {
    // A German locale built for the test, since a fresh machine may have none installed.
    testsupport::TempFolder locales;
    const std::string build =
        "localedef -i de_DE -f UTF-8 '" + locales.file("de_DE.UTF-8") + "' 2>/dev/null";
    if (std::system(build.c_str()) != 0)
        GTEST_SKIP() << "localedef cannot build de_DE.UTF-8 (Debian package locales)";
    setenv("LOCPATH", locales.path().c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    doc::ObjectTable table;
    const tabletext::ImportPlan plan =
        tabletext::planImport(table, "index,dx_neg,damage\n0,1.5E+2,1E3\n");
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    ASSERT_FALSE(plan.refusal.refuses());
    EXPECT_EQ(plan.result.records[0].floatField(4), 150.0f);
    EXPECT_EQ(plan.result.records[0].fields[2], 1000u);
    EXPECT_NE(tabletext::exportCsv(plan.result).find(",150,"), std::string::npos);
}

} // namespace

// Records copied as tab-separated text and pasted back: the same bits, the header's columns, and
// every refusal reported as the import reports it, with nothing changed.

#include "document/field_table.h"
#include "tabletext/record_text.h"
#include "tabletext/value_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace doc::field;

doc::ObjectTable sampleTable() {
    doc::ObjectTable table;
    table.lastIndex = 9;
    for (int r = 0; r <= table.lastIndex; ++r) {
        auto& record = table.records[static_cast<std::size_t>(r)];
        for (int k = 0; k < doc::kFieldCount; ++k)
            record.fields[static_cast<std::size_t>(k)] = static_cast<std::uint32_t>(r * 100 + k);
        record.setFloatField(kDxNeg, 1.3f);
        record.fields[kHasShadow] = static_cast<std::uint32_t>(r % 2);
        record.fields[kHasFlame] = 1;
        doc::writeNameSlot(table.names[static_cast<std::size_t>(r)],
                           U"Object " + std::u32string(1, U'0' + static_cast<char32_t>(r)));
    }
    // Values and names whose text needs care: a NaN's own bits, minus zero, the smallest
    // single, a huge damage; a tab, quotes, ";", blanks at the ends, a letter beyond ASCII.
    auto& odd = table.records[3];
    odd.fields[kSxNeg] = 0x7FC01234u;
    odd.setFloatField(kSyNeg, -0.0f);
    odd.fields[kSzNeg] = 1u;
    odd.fields[kDamage] = 4294967295u;
    doc::writeNameSlot(table.names[3], U" a\t\"b\";c\u00E9 ");
    return table;
}

std::u32string nameOf(const doc::ObjectTable& table, int r) {
    return doc::readNameSlot(table.names[static_cast<std::size_t>(r)]);
}

TEST(RecordText, CopiedRecordsPasteBackBitForBit) {
    const doc::ObjectTable table = sampleTable();
    const std::string text = tabletext::recordsText(table, 3, 4);
    const tabletext::ImportPlan plan = tabletext::planPaste(table, 7, text);
    ASSERT_FALSE(plan.refusal.refuses()) << plan.refusal.text();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(plan.result.records[static_cast<std::size_t>(7 + i)],
                  table.records[static_cast<std::size_t>(3 + i)]);
        EXPECT_EQ(nameOf(plan.result, 7 + i), nameOf(table, 3 + i));
    }
    EXPECT_EQ(plan.result.records[6], table.records[6]);
    EXPECT_EQ(plan.result.records[9], table.records[9]);
    EXPECT_EQ(plan.result.lastIndex, table.lastIndex);
    // Pasted over themselves, they change nothing.
    EXPECT_TRUE(tabletext::planPaste(table, 3, text).changes.empty());
}

TEST(RecordText, HeaderColumnsAndLines) {
    const doc::ObjectTable table = sampleTable();
    struct Case {
        const char* text;
        int first;
        int record; // a record the paste writes
        int field;  // and one of its fields
        std::uint32_t bits;
        int changes; // lines of plan.changes
    };
    const Case cases[] = {
        // A header names some columns; the others keep their values; the index is ignored.
        {"damage\tindex\n5\t99\n6\t98\n", 2, 3, kDamage, 6, 2},
        {"index,type\r\n0,17\r\n", 8, 8, kType, 17, 1},
        // Without a header a line holds the export's columns in order.
        {"0\tX\t1\t2\t3\t4\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t1\n", 5, 5,
         kDotColor, 4, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const tabletext::ImportPlan plan = tabletext::planPaste(table, c.first, c.text);
        ASSERT_FALSE(plan.refusal.refuses()) << plan.refusal.text();
        EXPECT_EQ(plan.result.records[static_cast<std::size_t>(c.record)]
                      .fields[static_cast<std::size_t>(c.field)],
                  c.bits);
        EXPECT_EQ(static_cast<int>(plan.changes.size()), c.changes);
    }
}

TEST(RecordText, RefusalsAreReportedAsTheImportReportsThem) {
    const doc::ObjectTable table = sampleTable();
    // A bad cell: the very line the import gives for the same cell.
    for (const char* cell : {"x", "-1", "1.5", ""}) {
        SCOPED_TRACE(cell);
        const std::string pasted = std::string("name\tdamage\nA\t") + cell + "\n";
        const std::string imported = std::string("index,name,damage\n4,A,") + cell + "\n";
        const auto plan = tabletext::planPaste(table, 4, pasted);
        EXPECT_EQ(plan.refusal.items(), tabletext::planImport(table, imported).refusal.items());
        EXPECT_TRUE(plan.refusal.refuses());
    }
    const struct {
        const char* text;
        int first;
        const char* error;
    } refusals[] = {
        {"damage\n1\n2\n", 9,
         "row 2: record 10 is past the last record, 9; a paste adds no records"},
        {"1\t2\n", 0, "row 1: 2 fields, but a record has 27"},
        {"damage\ttype\n1\n", 0, "row 1: 1 fields, but the header names 2"},
        {"damage\n", 0, "the text holds no record to paste"},
        {"damage\n\"1\n", 0, "line 2: a quoted field is not closed"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(tabletext::planPaste(table, r.first, r.text).refusal.items(),
                  std::vector<std::string>{r.error});
    }
}

} // namespace

TEST(TerminalText, ControlsAreEscapedAndBackslashesAsAsked) {
    using tabletext::Backslashes;
    const std::string text = "C:\\Games\\a\tb\x1b[31m\xff";
    EXPECT_EQ(tabletext::escapedForTerminal(text), "C:\\\\Games\\\\a\\tb\\x1b[31m\\xff");
    EXPECT_EQ(tabletext::escapedForTerminal(text, Backslashes::Kept),
              "C:\\Games\\a\\tb\\x1b[31m\\xff");
}

// Grid edits: every shown text reads back to the same bits, a refusal changes nothing and names
// each column that cannot take the edit, a paste lands on the rows and columns it is given.

#include "tabletext/cell_edits.h"

#include "document/field_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using doc::CellPart;
using tabletext::BulkEdit;
namespace field = doc::field;

constexpr doc::Cell cell(int record, int k) {
    return {record, CellPart::field(k)};
}
constexpr doc::Cell index(int record) {
    return {record, CellPart::wholeRecord()};
}
constexpr doc::Cell name(int record) {
    return {record, CellPart::name()};
}

doc::ObjectTable sampleTable() {
    doc::ObjectTable table;
    table.lastIndex = 3;
    const std::uint32_t floats[] = {0x80000000u, 0x7FC00001u, 0x7F7FFFFFu, 0x00000001u};
    for (int r = 0; r <= table.lastIndex; ++r) {
        auto& record = table.records[static_cast<std::size_t>(r)];
        record.fields[field::kDamage] = r == 3 ? 4294967295u : 10u * static_cast<unsigned>(r);
        record.fields[field::kDxNeg] = floats[r];
        record.fields[field::kHasFlame] = r == 2 ? 7u : 1u;
        doc::writeNameSlot(table.names[static_cast<std::size_t>(r)],
                           U"Obj" + std::u32string(1, U'0' + static_cast<char32_t>(r)));
    }
    return table;
}

bool same(const doc::ObjectTable& a, const doc::ObjectTable& b) {
    return a.lastIndex == b.lastIndex && a.records == b.records && a.names == b.names;
}

TEST(CellEdits, EveryShownTextReadsBackUnchanged) {
    const doc::ObjectTable table = sampleTable();
    for (int r = 0; r <= table.lastIndex; ++r)
        for (int code = 0; code < CellPart::kCount; ++code) {
            const doc::Cell shown{r, CellPart::ofCode(code)};
            if (shown.part.isWholeRecord())
                continue;
            const auto plan =
                tabletext::planCellText(table, shown, tabletext::cellText(table, shown));
            ASSERT_FALSE(plan.refusal.refuses()) << plan.refusal.text();
            EXPECT_TRUE(same(plan.result, table)) << tabletext::cellText(table, shown);
        }
}

TEST(CellEdits, RefusalsNameEveryColumnAndChangeNothing) {
    const doc::ObjectTable table = sampleTable();
    const std::vector<doc::Cell> rowOne{index(1), name(1), cell(1, field::kDamage),
                                        cell(1, field::kDxNeg), cell(1, field::kHasFlame)};
    struct Case {
        std::vector<doc::Cell> cells;
        BulkEdit edit;
        const char* operand;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {rowOne, BulkEdit::Multiply, "2",
         {"column name: a name can only be set", "column has_flame: a flag can only be set to 0 or 1"}},
        {{cell(0, field::kDamage)}, BulkEdit::Add, "1,5", {"'1,5' is not a decimal number"}},
        {{cell(0, field::kHasFlame)}, BulkEdit::Set, "2", {"column has_flame: 2 is neither 0 nor 1"}},
        {rowOne, BulkEdit::Set, "abc",
         {"column damage: 'abc' is not a whole number from 0 to 4294967295",
          "column dx_neg: 'abc' is not a decimal number or a 0x bit pattern",
          "column has_flame: 'abc' is not a whole number from 0 to 4294967295"}},
        {{name(0)}, BulkEdit::Set, "\xE2\x82\xAC\xE4\xB8\x80",
         {"column name: holds a character Windows-1252 cannot hold"}},
        {{name(0)}, BulkEdit::Set, "12345678901234567890123456789012",
         {"column name: longer than 29 characters"}},
        {{index(2)}, BulkEdit::Set, "5",
         {"no cell that can be edited is selected (the index is read-only)"}},
    };
    for (const Case& c : cases) {
        const auto plan = tabletext::planBulkEdit(table, c.cells, c.edit, c.operand);
        EXPECT_EQ(plan.refusal.items(), c.errors) << c.operand;
        EXPECT_TRUE(same(plan.result, table)) << c.operand;
    }
    EXPECT_EQ(tabletext::planCellText(table, index(0), "9").refusal.items(),
              std::vector<std::string>{"column index: the index is read-only"});
}

TEST(CellEdits, SetChangesTheSelectedCellsOnly) {
    const doc::ObjectTable table = sampleTable();
    const std::vector<doc::Cell> cells{name(0), name(2), cell(0, field::kHasFlame),
                                       cell(3, field::kDxNeg), index(1)};
    const auto names = tabletext::planBulkEdit(table, {cells.data(), 2}, BulkEdit::Set, "Tower");
    const auto flags = tabletext::planBulkEdit(table, {cells.data() + 2, 3}, BulkEdit::Set, "0");
    ASSERT_FALSE(names.refusal.refuses() || flags.refusal.refuses());
    doc::ObjectTable expected = table;
    for (const int r : {0, 2})
        std::memcpy(expected.names[static_cast<std::size_t>(r)].data(), "Tower", 6);
    EXPECT_TRUE(same(names.result, expected));
    expected = table;
    expected.records[0].fields[field::kHasFlame] = 0;
    expected.records[3].fields[field::kDxNeg] = 0;
    EXPECT_TRUE(same(flags.result, expected));
}

TEST(CellEdits, PasteLandsOnTheGivenRowsAndColumnsOrNowhere) {
    const doc::ObjectTable table = sampleTable();
    // A view sorted backwards, showing damage then the name.
    const std::vector<int> records{3, 1, 0};
    const std::vector<CellPart> columns{CellPart::wholeRecord(), CellPart::field(field::kDamage),
                                        CellPart::name()};
    const auto plan =
        tabletext::planGridPaste(table, records, columns, "99\t5\tA,b\n\t16\n");
    ASSERT_FALSE(plan.refusal.refuses()) << plan.refusal.text();
    doc::ObjectTable expected = table;
    expected.records[3].fields[field::kDamage] = 5;
    std::memcpy(expected.names[3].data(), "A,b", 4);
    expected.records[1].fields[field::kDamage] = 16;
    EXPECT_TRUE(same(plan.result, expected));
    const auto refusedPlan = tabletext::planGridPaste(table, records, columns, "1\t2\n1\t-3\n");
    EXPECT_EQ(refusedPlan.refusal.items(),
              std::vector<std::string>{
                  "row 2, column damage: '-3' is not a whole number from 0 to 4294967295"});
    EXPECT_TRUE(same(refusedPlan.result, table));
    struct Shape {
        const char* text;
        std::string error;
    };
    const Shape shapes[] = {
        {"1\t2\t3\t4\n", "row 1: 4 cells, but only 3 columns from the current one on"},
        {"1\n2\n3\n4\n", "row 4: below the last row shown; a paste adds no records"},
        {"", "the text holds no cell to paste"},
    };
    for (const Shape& s : shapes) {
        const auto shaped = tabletext::planGridPaste(table, records, columns, s.text);
        EXPECT_EQ(shaped.refusal.items(), std::vector<std::string>{s.error}) << s.text;
        EXPECT_TRUE(same(shaped.result, table));
    }
}

} // namespace

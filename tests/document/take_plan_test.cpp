// Takes from another table planned: a cell, a name, a whole record, appended records with those
// before them, every difference, records only this table has kept, and the capacity refusal.

#include "document/take_plan.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

/** A name, and a byte after its terminator when after is not zero. */
doc::NameSlot slot(const std::string& text, char after = 0) {
    doc::NameSlot s = testsupport::nameSlot(text);
    s[text.size() + 1] = static_cast<std::uint8_t>(after);
    return s;
}

doc::ObjectRecord record(std::uint32_t seed) {
    doc::ObjectRecord r;
    for (std::uint32_t k = 0; k < doc::kFieldCount; ++k)
        r.fields[k] = seed * 100 + k;
    return r;
}

constexpr std::uint32_t kMinusZero = 0x80000000u;
constexpr std::uint32_t kQuietNan = 0x7FC00000u, kOtherNan = 0x7FC00001u;

/** Three records of this table against five of the other: record 0 differs in field 4 (0.0
 * against -0.0), record 1 in field 10 (two NaN payloads) and in its name, record 2 only after
 * its name's terminator; records 3 and 4 only the other has. */
struct Tables {
    doc::ObjectTable mine;
    std::vector<doc::ObjectRecord> records{record(1), record(2), record(3), record(4), record(5)};
    std::vector<doc::NameSlot> names{slot("Tower"), slot("Well!"), slot("Mill", 'y'), slot("Kiln"),
                                     slot("Gate")};
    Tables() {
        for (std::size_t r = 0; r < 3; ++r)
            mine.records[r] = records[r];
        mine.names[0] = slot("Tower");
        mine.names[1] = slot("Well");
        mine.names[2] = slot("Mill", 'x');
        mine.lastIndex = 2;
        mine.records[0].fields[4] = 0;
        records[0].fields[4] = kMinusZero;
        mine.records[1].fields[10] = kQuietNan;
        records[1].fields[10] = kOtherNan;
    }
    doc::TableRows other() const { return {records, names}; }
};

bool sameTable(const doc::ObjectTable& a, const doc::ObjectTable& b) {
    return a.lastIndex == b.lastIndex && a.records == b.records && a.names == b.names;
}

struct Case {
    const char* what;
    std::vector<doc::Cell> items;
    int firstChanged;
    /** The expected table made from this one. */
    std::function<void(doc::ObjectTable&)> expect;
};

TEST(TakePlanTest, EachKindOfTakeGivesTheExpectedTable) {
    const std::vector<Case> cases = {
        {"a field cell: -0.0 in place of 0.0",
         {{0, doc::CellPart::field(4)}},
         0,
         [](doc::ObjectTable& t) { t.records[0].fields[4] = kMinusZero; }},
        {"an equal cell changes nothing", {{0, doc::CellPart::field(5)}}, -1, [](doc::ObjectTable&) {}},
        {"a name, its slot whole",
         {{1, doc::CellPart::name()}},
         1,
         [](doc::ObjectTable& t) { t.names[1] = slot("Well!"); }},
        {"a name equal as text keeps its bytes",
         {{2, doc::CellPart::wholeRecord()}},
         -1,
         [](doc::ObjectTable&) {}},
        {"a whole record: the other NaN and the name",
         {{1, doc::CellPart::wholeRecord()}},
         1,
         [](doc::ObjectTable& t) {
             t.records[1].fields[10] = kOtherNan;
             t.names[1] = slot("Well!");
         }},
        {"a cell of a record only the other has appends it",
         {{3, doc::CellPart::field(2)}},
         3,
         [](doc::ObjectTable& t) {
             t.records[3] = record(4);
             t.names[3] = slot("Kiln");
             t.lastIndex = 3;
         }},
        {"the last record appends those before it",
         {{4, doc::CellPart::wholeRecord()}},
         3,
         [](doc::ObjectTable& t) {
             t.records[3] = record(4);
             t.records[4] = record(5);
             t.names[3] = slot("Kiln");
             t.names[4] = slot("Gate");
             t.lastIndex = 4;
         }},
        {"selected cells of two records",
         {{1, doc::CellPart::field(10)}, {0, doc::CellPart::field(4)}, {7, doc::CellPart::field(1)}},
         0,
         [](doc::ObjectTable& t) {
             t.records[0].fields[4] = kMinusZero;
             t.records[1].fields[10] = kOtherNan;
         }},
    };
    for (const Case& c : cases) {
        const Tables tables;
        doc::ObjectTable expected = tables.mine;
        c.expect(expected);
        const doc::TakePlan plan = doc::planTake(tables.mine, tables.other(), c.items);
        EXPECT_FALSE(plan.refusal.refuses()) << c.what;
        EXPECT_TRUE(sameTable(plan.result, expected)) << c.what;
        EXPECT_EQ(plan.firstChanged, c.firstChanged) << c.what;
    }
}

TEST(TakePlanTest, EveryDifferenceKeepsRecordsOnlyThisTableHas) {
    Tables tables;
    // This table has a sixth record the other lacks.
    tables.mine.lastIndex = 5;
    tables.mine.records[5] = record(9);
    tables.mine.names[5] = slot("Crate");
    const doc::TableRows other{std::span(tables.records).first(4),
                               std::span(tables.names).first(4)};
    doc::ObjectTable expected = tables.mine;
    expected.records[0].fields[4] = kMinusZero;
    expected.records[1].fields[10] = kOtherNan;
    expected.names[1] = slot("Well!");
    expected.records[3] = record(4);
    expected.names[3] = slot("Kiln");

    const doc::TakePlan plan = doc::planTake(tables.mine, other, doc::everyRecordOf(other));
    EXPECT_TRUE(sameTable(plan.result, expected));
    EXPECT_EQ(plan.result.recordCount(), 6);
    const doc::TakePlan again = doc::planTake(plan.result, other, doc::everyRecordOf(other));
    EXPECT_EQ(again.firstChanged, -1) << "nothing differs after a take of every difference";
}

TEST(TakePlanTest, AppendingBeyondTheCapacityIsRefusedWithAddRecordsMessage) {
    doc::ObjectTable mine;
    mine.lastIndex = doc::kTableCapacity - 2;
    std::vector<doc::ObjectRecord> records(doc::kTableCapacity + 1, record(1));
    std::vector<doc::NameSlot> names(records.size(), slot("Cart"));
    const doc::TableRows other{records, names};
    for (const int last : {doc::kTableCapacity - 1, doc::kTableCapacity}) {
        const doc::TakePlan plan =
            doc::planTake(mine, other, std::vector<doc::Cell>{{last, doc::CellPart::wholeRecord()}});
        const bool fits = last < doc::kTableCapacity;
        EXPECT_EQ(plan.refusal.items(),
                  fits ? std::vector<std::string>{} : std::vector{doc::tableFullMessage()})
            << last;
        EXPECT_EQ(plan.result.recordCount(), fits ? doc::kTableCapacity : mine.recordCount());
        EXPECT_EQ(plan.result.records[doc::kTableCapacity - 1],
                  fits ? record(1) : doc::ObjectRecord{});
    }
}

} // namespace

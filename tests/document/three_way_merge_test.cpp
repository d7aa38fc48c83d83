// The three-way merge: every state of a cell for an unsigned, a float and a flag field and for a
// name, appended records on one and on both sides, the refusals, and the merge's algebra on
// generated tables.

#include "document/errors.h"
#include "document/field_table.h"
#include "document/name_codec.h"
#include "document/three_way_merge.h"
#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using doc::MergeChoice;
using doc::MergeState;

constexpr std::uint32_t kMinusZero = 0x80000000u, kOne = 0x3F800000u;
constexpr std::uint32_t kQuietNan = 0x7FC00000u, kOtherNan = 0x7FC00001u;
constexpr std::uint32_t kLargestSingle = 0x7F7FFFFFu, kInfinity = 0x7F800000u;

/** A name, and a byte after its terminator when after is not zero. */
doc::NameSlot slot(const std::string& text, char after = 0) {
    doc::NameSlot s = testsupport::nameSlot(text);
    s[text.size() + 1] = static_cast<std::uint8_t>(after);
    return s;
}

doc::ObjectTable table(int count, std::uint32_t seed = 1) {
    doc::ObjectTable t;
    for (int r = 0; r < count; ++r) {
        for (std::uint32_t k = 0; k < doc::kFieldCount; ++k)
            t.records[static_cast<std::size_t>(r)].fields[k] = seed * 1000 + k;
        t.names[static_cast<std::size_t>(r)] = slot("Rec" + std::to_string(r));
    }
    t.lastIndex = static_cast<std::uint16_t>(count - 1);
    return t;
}

doc::MergePlan plan(const doc::ObjectTable& base, const doc::ObjectTable& mine,
                    const doc::ObjectTable& theirs) {
    return doc::planMerge(doc::TableRows::of(base), mine, doc::TableRows::of(theirs));
}

doc::ObjectTable merged(doc::MergePlan p, MergeChoice prefer) {
    doc::settleConflicts(p, prefer);
    const doc::TakePlan result = doc::buildMerged(p);
    EXPECT_FALSE(result.refusal.refuses());
    return result.result;
}

struct FieldCase {
    const char* what;
    int field;
    std::uint32_t base, mine, theirs;
    std::optional<MergeState> state;
    std::uint32_t preferMine, preferTheirs;
};

TEST(ThreeWayMergeTest, EachFieldStateTakesTheRightBits) {
    const int kDamage = doc::field::kDamage, kSize = doc::field::kDxNeg,
              kFlag = doc::field::kHasShadow;
    const std::vector<FieldCase> cases = {
        {"unsigned unchanged", kDamage, 5, 5, 5, std::nullopt, 5, 5},
        {"unsigned mine only", kDamage, 5, 6, 5, MergeState::Mine, 6, 6},
        {"unsigned theirs only", kDamage, 5, 5, 7, MergeState::Theirs, 7, 7},
        {"unsigned both alike", kDamage, 5, 8, 8, MergeState::Both, 8, 8},
        {"unsigned conflict", kDamage, 5, 6, 4294967295u, MergeState::Conflict, 6, 4294967295u},
        {"float 0 to -0 is a change", kSize, 0, 0, kMinusZero, MergeState::Theirs, kMinusZero,
         kMinusZero},
        {"float -0 and 0 conflict", kSize, kOne, kMinusZero, 0, MergeState::Conflict, kMinusZero,
         0},
        {"float NaN payload changed", kSize, kQuietNan, kQuietNan, kOtherNan, MergeState::Theirs,
         kOtherNan, kOtherNan},
        {"float same NaN payload both", kSize, kOne, kOtherNan, kOtherNan, MergeState::Both,
         kOtherNan, kOtherNan},
        {"float NaN payloads conflict", kSize, kOne, kQuietNan, kOtherNan, MergeState::Conflict,
         kQuietNan, kOtherNan},
        {"float largest single mine only", kSize, kOne, kLargestSingle, kOne, MergeState::Mine,
         kLargestSingle, kLargestSingle},
        {"float largest single against infinity", kSize, kOne, kLargestSingle, kInfinity,
         MergeState::Conflict, kLargestSingle, kInfinity},
        {"flag theirs only", kFlag, 1, 1, 0, MergeState::Theirs, 0, 0},
        {"flag both alike", kFlag, 0, 1, 1, MergeState::Both, 1, 1},
        {"flag of 7 against 1", kFlag, 0, 7, 1, MergeState::Conflict, 7, 1},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.what);
        doc::ObjectTable base = table(3), mine = base, theirs = base;
        base.records[1].fields[static_cast<std::size_t>(c.field)] = c.base;
        mine.records[1].fields[static_cast<std::size_t>(c.field)] = c.mine;
        theirs.records[1].fields[static_cast<std::size_t>(c.field)] = c.theirs;
        const doc::MergePlan p = plan(base, mine, theirs);
        ASSERT_EQ(p.changes.size(), c.state ? 1u : 0u);
        if (c.state) {
            const doc::MergeChange& change = p.changes[0];
            EXPECT_EQ(change.cell, (doc::Cell{1, doc::CellPart::field(c.field)}));
            EXPECT_EQ(change.state, *c.state);
            EXPECT_EQ(change.bits, (std::array<std::uint32_t, 3>{c.base, c.mine, c.theirs}));
            EXPECT_EQ(change.choice == MergeChoice::None, *c.state == MergeState::Conflict);
        }
        for (const auto& [prefer, bits] : {std::pair{MergeChoice::Mine, c.preferMine},
                                           std::pair{MergeChoice::Theirs, c.preferTheirs}}) {
            doc::ObjectTable expected = mine;
            expected.records[1].fields[static_cast<std::size_t>(c.field)] = bits;
            const doc::ObjectTable result = merged(p, prefer);
            EXPECT_EQ(result.records, expected.records);
            EXPECT_EQ(result.names, mine.names);
        }
    }
}

struct NameCase {
    const char* what;
    doc::NameSlot base, mine, theirs;
    std::optional<MergeState> state;
    /** The slot taken with the proposed choices and --prefer mine; with every choice THEIRS. */
    doc::NameSlot preferMine, allTheirs;
};

TEST(ThreeWayMergeTest, NamesCompareAsTextAndKeepTheTakenSidesBytes) {
    const std::vector<NameCase> cases = {
        {"equal as text, other bytes after the end", slot("Mill", 'a'), slot("Mill", 'b'),
         slot("Mill", 'c'), std::nullopt, slot("Mill", 'b'), slot("Mill", 'b')},
        {"theirs renamed: its bytes come along", slot("Mill"), slot("Mill", 'b'), slot("Kiln", 'c'),
         MergeState::Theirs, slot("Kiln", 'c'), slot("Kiln", 'c')},
        {"mine renamed", slot("Mill"), slot("Kiln", 'b'), slot("Mill", 'c'), MergeState::Mine,
         slot("Kiln", 'b'), slot("Mill", 'c')},
        {"both renamed alike: mine's bytes kept", slot("Mill"), slot("Kiln", 'b'),
         slot("Kiln", 'c'), MergeState::Both, slot("Kiln", 'b'), slot("Kiln", 'c')},
        {"both renamed differently", slot("Mill"), slot("Kiln"), slot("Gate"), MergeState::Conflict,
         slot("Kiln"), slot("Gate")},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        doc::ObjectTable base = table(2), mine = base, theirs = base;
        base.names[0] = c.base;
        mine.names[0] = c.mine;
        theirs.names[0] = c.theirs;
        doc::MergePlan p = plan(base, mine, theirs);
        ASSERT_EQ(p.changes.size(), c.state ? 1u : 0u);
        if (c.state) {
            EXPECT_TRUE(p.changes[0].cell.part.isName());
            EXPECT_EQ(p.changes[0].state, *c.state);
        }
        EXPECT_EQ(merged(p, MergeChoice::Mine).names[0], c.preferMine);
        // Choosing THEIRS for a name both sides wrote alike takes THEIRS's bytes.
        for (doc::MergeChange& change : p.changes)
            change.choice = MergeChoice::Theirs;
        EXPECT_EQ(merged(p, MergeChoice::Theirs).names[0], c.allTheirs);
    }
}

struct AppendCase {
    const char* what;
    int mineCount, theirsCount;
    /** Seeds of the records mine and theirs append after base's two (0: as mine's). */
    std::vector<std::uint32_t> mineSeeds, theirsSeeds;
    std::vector<MergeState> states;
    MergeChoice choice;
    /** The merged table's records after base's, by seed. */
    std::vector<std::uint32_t> expected;
};

TEST(ThreeWayMergeTest, AppendedRecordsOnOneOrBothSides) {
    const std::vector<AppendCase> cases = {
        {"mine only", 3, 2, {7}, {}, {MergeState::Mine}, MergeChoice::Mine, {7}},
        {"theirs only, two",
         2,
         4,
         {},
         {8, 9},
         {MergeState::Theirs, MergeState::Theirs},
         MergeChoice::Mine,
         {8, 9}},
        {"both alike", 3, 3, {7}, {7}, {MergeState::Both}, MergeChoice::Mine, {7}},
        {"both differ, mine", 3, 3, {7}, {8}, {MergeState::Conflict}, MergeChoice::Mine, {7}},
        {"both differ, theirs", 3, 3, {7}, {8}, {MergeState::Conflict}, MergeChoice::Theirs, {8}},
        {"both differ, keep both: theirs after every other",
         4,
         3,
         {7, 6},
         {8},
         {MergeState::Conflict, MergeState::Mine},
         MergeChoice::KeepBoth,
         {7, 6, 8}},
    };
    for (const AppendCase& c : cases) {
        SCOPED_TRACE(c.what);
        const doc::ObjectTable base = table(2);
        doc::ObjectTable mine = base, theirs = base;
        const auto append = [](doc::ObjectTable& t, const std::vector<std::uint32_t>& seeds) {
            for (const std::uint32_t seed : seeds) {
                const auto r = static_cast<std::size_t>(++t.lastIndex);
                t.records[r] = table(1, seed).records[0];
                t.names[r] = slot("New" + std::to_string(seed));
            }
        };
        append(mine, c.mineSeeds);
        append(theirs, c.theirsSeeds);
        doc::MergePlan p = plan(base, mine, theirs);
        ASSERT_EQ(p.changes.size(), c.states.size());
        for (std::size_t i = 0; i < c.states.size(); ++i) {
            EXPECT_TRUE(p.changes[i].cell.part.isWholeRecord());
            EXPECT_EQ(p.changes[i].state, c.states[i]);
        }
        const doc::ObjectTable result = merged(p, c.choice);
        ASSERT_EQ(result.recordCount(), 2 + static_cast<int>(c.expected.size()));
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(result.records[2 + i], table(1, c.expected[i]).records[0]);
            EXPECT_EQ(doc::readNameSlot(result.names[2 + i]),
                      doc::readNameSlot(slot("New" + std::to_string(c.expected[i]))));
        }
    }
}

TEST(ThreeWayMergeTest, RefusalsLeaveMineAsItIs) {
    const doc::ObjectTable base = table(3);
    // A side with fewer records than the original.
    for (const bool mineShort : {true, false}) {
        doc::ObjectTable mine = base, theirs = base;
        (mineShort ? mine : theirs).lastIndex = 1;
        try {
            plan(base, mine, theirs);
            ADD_FAILURE() << "a side with fewer records was merged";
        } catch (const doc::Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "holds 2 records, fewer than the original's 3; records are never "
                      "removed");
        }
    }

    struct Refused {
        const char* what;
        std::function<doc::MergePlan()> make;
        std::string refusal;
    };
    const std::vector<Refused> cases = {
        {"a conflict without a choice",
         [&] {
             doc::ObjectTable mine = base, theirs = base;
             mine.records[2].fields[doc::field::kDamage] = 1;
             theirs.records[2].fields[doc::field::kDamage] = 2;
             return plan(base, mine, theirs);
         },
         "record 2 damage: a conflict without a choice; nothing was merged"},
        {"an appended record left out before one kept",
         [&] {
             doc::ObjectTable mine = table(5);
             doc::MergePlan p = plan(base, mine, base);
             p.changes[0].choice = MergeChoice::Theirs;
             return p;
         },
         "record 3 is left out, but record 4 after it is kept; records keep their numbers"},
        {"keeping both beyond the full table",
         [] {
             const doc::ObjectTable full = table(doc::kTableCapacity - 1);
             doc::ObjectTable mine = table(doc::kTableCapacity, 1),
                              theirs = table(doc::kTableCapacity, 2);
             for (int r = 0; r + 1 < doc::kTableCapacity; ++r) {
                 mine.records[static_cast<std::size_t>(r)] =
                     full.records[static_cast<std::size_t>(r)];
                 theirs.records[static_cast<std::size_t>(r)] =
                     full.records[static_cast<std::size_t>(r)];
             }
             doc::MergePlan p = plan(full, mine, theirs);
             doc::settleConflicts(p, MergeChoice::KeepBoth);
             return p;
         },
         doc::tableFullMessage()},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        const doc::MergePlan p = c.make();
        const doc::TakePlan result = doc::buildMerged(p);
        EXPECT_EQ(result.refusal.items(), std::vector{c.refusal});
        EXPECT_EQ(result.firstChanged, -1);
        EXPECT_EQ(result.result.records, p.mine.records);
        EXPECT_EQ(result.result.lastIndex, p.mine.lastIndex);
    }
}

/** Tables drawn from few values, so that sides often agree, and names with bytes after them. */
doc::ObjectTable generated(std::mt19937& random, const doc::ObjectTable& from, int count) {
    static const std::uint32_t kValues[] = {0, 1, 7, kMinusZero, kQuietNan, kOtherNan, kOne};
    static const char* const kNames[] = {"Mill", "Kiln", "Gate", ""};
    doc::ObjectTable t = from;
    for (int r = 0; r < count; ++r) {
        auto& record = t.records[static_cast<std::size_t>(r)];
        for (auto& field : record.fields)
            if (r > from.lastIndex || random() % 3 == 0)
                field = kValues[random() % 7];
        if (r > from.lastIndex || random() % 3 == 0)
            t.names[static_cast<std::size_t>(r)] =
                slot(kNames[random() % 4], static_cast<char>('a' + random() % 3));
    }
    t.lastIndex = static_cast<std::uint16_t>(count - 1);
    return t;
}

void expectSameTexts(const doc::ObjectTable& a, const doc::ObjectTable& b) {
    ASSERT_EQ(a.lastIndex, b.lastIndex);
    for (int r = 0; r < a.recordCount(); ++r) {
        const auto i = static_cast<std::size_t>(r);
        EXPECT_EQ(a.records[i], b.records[i]) << "record " << r;
        EXPECT_EQ(doc::readNameSlot(a.names[i]), doc::readNameSlot(b.names[i])) << "record " << r;
    }
}

TEST(ThreeWayMergeTest, AlgebraOnGeneratedTables) {
    std::mt19937 random(32);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        const doc::ObjectTable base = generated(random, doc::ObjectTable{}, 6);
        const doc::ObjectTable m = generated(random, base, 6 + static_cast<int>(random() % 3));
        const doc::ObjectTable t = generated(random, base, 6 + static_cast<int>(random() % 3));

        // merge(BASE, M, M) is M, with no conflict and nothing taken from the other side.
        const doc::MergePlan same = plan(base, m, m);
        EXPECT_EQ(doc::unsettledConflicts(same), 0);
        const doc::ObjectTable mm = merged(same, MergeChoice::None);
        EXPECT_EQ(mm.records, m.records);
        EXPECT_EQ(mm.names, m.names);
        EXPECT_EQ(mm.lastIndex, m.lastIndex);

        // merge(BASE, BASE, T) is T.
        const doc::ObjectTable bt = merged(plan(base, base, t), MergeChoice::None);
        expectSameTexts(bt, t);

        // Preferring MINE is preferring THEIRS with the sides swapped.
        expectSameTexts(merged(plan(base, m, t), MergeChoice::Mine),
                        merged(plan(base, t, m), MergeChoice::Theirs));
    }
}

} // namespace

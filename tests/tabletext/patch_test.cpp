// Patches: a diff applied as a merge gives the second table's records and name texts with the
// first's other bytes, applying it twice changes nothing, a cell holding neither side's value is
// a conflict, and each way a text can fail to be a patch is named.

#include "document/errors.h"
#include "document/name_codec.h"
#include "document/three_way_merge.h"
#include "tabletext/patch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

doc::NameSlot slot(const std::string& text, std::uint8_t fill) {
    doc::NameSlot s;
    s.fill(fill);
    std::copy(text.begin(), text.end(), s.begin());
    if (text.size() < s.size())
        s[text.size()] = 0;
    return s;
}

doc::ObjectTable tableA() {
    doc::ObjectTable t;
    t.lastIndex = 3;
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t k = 0; k < doc::kFieldCount; ++k)
            t.records[r].fields[k] = static_cast<std::uint32_t>(r * 100 + k);
        t.names[r] = slot("Name" + std::to_string(r), 0xEE);
    }
    return t;
}

/** A with bit patterns text finds hardest, a name of a whole slot, a renamed slot, one added. */
doc::ObjectTable tableB() {
    doc::ObjectTable t = tableA();
    t.records[0].fields[4] = 0x80000000u; // -0
    t.records[1].fields[5] = 0x7FC01234u; // a NaN's payload
    t.records[1].fields[6] = 0x7F7FFFFFu; // the largest single
    t.records[2].fields[0] = 4294967295u;
    t.records[2].fields[23] = 7; // a flag of 7
    t.names[1] = slot(std::string(30, 'W'), 0);
    t.names[2] = slot("Caf\xe9 \x80", 0x11);
    t.lastIndex = 5;
    for (std::size_t r = 4; r < 6; ++r) {
        t.records[r].fields.fill(static_cast<std::uint32_t>(r));
        t.names[r] = slot("Added" + std::to_string(r), 0);
    }
    return t;
}

doc::MergePlan applied(const doc::ObjectTable& file, const std::string& patch) {
    const tabletext::PatchSides sides = tabletext::patchSides(file, patch);
    return doc::planMerge(doc::TableRows::of(sides.base), file, doc::TableRows::of(sides.theirs));
}

TEST(PatchTest, ADiffAppliedGivesTheSecondTableAndTwiceChangesNothing) {
    const doc::ObjectTable a = tableA(), b = tableB();
    const std::string patch = tabletext::patchText(doc::TableRows::of(a), doc::TableRows::of(b));
    const doc::MergePlan plan = applied(a, patch);
    EXPECT_EQ(doc::unsettledConflicts(plan), 0);
    const doc::TakePlan once = doc::buildMerged(plan);
    ASSERT_FALSE(once.refusal.refuses());
    EXPECT_EQ(once.result.lastIndex, b.lastIndex);
    EXPECT_EQ(once.result.records, b.records);
    for (int r = 0; r < b.recordCount(); ++r) {
        const auto i = static_cast<std::size_t>(r);
        EXPECT_EQ(doc::readNameSlot(once.result.names[i]), doc::readNameSlot(b.names[i]));
    }
    // A renamed slot keeps A's bytes after the new name's end.
    EXPECT_EQ(once.result.names[2][7], 0xEE);
    EXPECT_EQ(once.result.names[3], a.names[3]);

    const doc::MergePlan again = applied(once.result, patch);
    for (const doc::MergeChange& change : again.changes)
        EXPECT_EQ(change.state, doc::MergeState::Both) << doc::cellLabel(change);
    EXPECT_EQ(doc::buildMerged(again).firstChanged, -1);
}

TEST(PatchTest, ACellHoldingNeitherSidesValueIsAConflict) {
    const doc::ObjectTable a = tableA(), b = tableB();
    const std::string patch = tabletext::patchText(doc::TableRows::of(a), doc::TableRows::of(b));
    doc::ObjectTable file = a;
    file.records[2].fields[0] = 5;
    file.names[2] = slot("Other", 0);
    file.lastIndex = 4; // an added record of its own where the patch adds one
    const doc::MergePlan plan = applied(file, patch);
    std::vector<std::string> conflicts;
    for (const doc::MergeChange& change : plan.changes)
        if (change.state == doc::MergeState::Conflict)
            conflicts.push_back(doc::cellLabel(change));
    EXPECT_EQ(conflicts, (std::vector<std::string>{"record 2 name", "record 2 class", "record 4"}));
}

TEST(PatchTest, EachWayNotToBeAPatchIsNamed) {
    const std::string head = R"({"format": "cvnobj-patch", "version": 1, )";
    const auto withChange = [&](const std::string& change) {
        return head + R"("count": {"before": 4, "after": 4}, "changes": [)" + change +
               R"(], "added": []})";
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[1, 2]", "the text is not a JSON object"},
        {R"({"format": "csv", "version": 1})", "\"format\" is not \"cvnobj-patch\""},
        {R"({"format": "cvnobj-patch", "version": 2})",
         "version 2 is newer than this program reads (1)"},
        {head + R"("count": {"before": 4, "after": 3}, "changes": [], "added": []})",
         "count: \"after\" is not a whole number from 4 to 512"},
        {withChange(R"({"record": 4, "column": "class", "before": "0", "after": "1"})"),
         "change 1: \"record\" is not a whole number from 0 to 3"},
        {withChange(R"({"record": 1, "column": "colour", "before": "0", "after": "1"})"),
         "change 1: no column colour"},
        {withChange(R"({"record": 1, "column": "class", "before": "0", "after": "-1"})"),
         "change 1: "},
        {withChange(R"({"record": 1, "column": "name", "before": "a", "after": ")" +
                    std::string(31, 'x') + "\"}"),
         "change 1: the name is longer than 30 characters"},
        {withChange(R"({"record": 1, "column": "class", "before": "0", "after": "1"},
                       {"record": 1, "column": "class", "before": "0", "after": "2"})"),
         "change 2: record 1 class is changed twice"},
        {head + R"("count": {"before": 4, "after": 5}, "changes": [], "added": []})",
         "\"added\" is not a list of the 1 records after the first 4"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        try {
            tabletext::patchSides(tableA(), text);
            ADD_FAILURE() << "read as a patch";
        } catch (const doc::Error& e) {
            EXPECT_NE(std::string(e.what()).find("not a patch this program reads: " + message),
                      std::string::npos)
                << e.what();
        }
    }
}

} // namespace

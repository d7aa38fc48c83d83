// A refusal's one text: its items, at most twenty of them and how many more, then the count and
// what stays undone.

#include "document/errors.h"
#include "document/refusal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> numbered(int count) {
    std::vector<std::string> items;
    for (int i = 1; i <= count; ++i)
        items.push_back("row " + std::to_string(i) + ": bad");
    return items;
}

std::string lines(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i)
        text += "row " + std::to_string(i) + ": bad\n";
    return text;
}

TEST(RefusalTest, ListsTwentyItemsThenHowManyMore) {
    struct Case {
        std::vector<std::string> items;
        std::size_t count;
        std::string text;
    };
    const std::vector<Case> cases = {
        {numbered(1), 1, lines(1, 1) + "1 error; nothing pasted"},
        {numbered(20), 20, lines(1, 20) + "20 errors; nothing pasted"},
        {numbered(21), 21, lines(1, 20) + "and 1 more\n21 errors; nothing pasted"},
        // A list kept short by its maker still counts every item.
        {numbered(100), 250, lines(1, 20) + "and 230 more\n250 errors; nothing pasted"},
    };
    for (const Case& c : cases) {
        const doc::Refusal refusal(c.items, c.count, "nothing pasted");
        EXPECT_TRUE(refusal.refuses());
        EXPECT_EQ(refusal.text(), c.text);
        try {
            refusal.throwIfRefused();
            ADD_FAILURE() << "not thrown";
        } catch (const doc::Error& error) {
            EXPECT_EQ(error.what(), c.text);
        }
    }
}

TEST(RefusalTest, NothingRefusedThrowsNothing) {
    const doc::Refusal none;
    EXPECT_FALSE(none.refuses());
    EXPECT_NO_THROW(none.throwIfRefused());
}

} // namespace

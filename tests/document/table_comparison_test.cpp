// Two tables compared: fields by their bits, names as text, records only one table has.

#include "document/table_comparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

doc::NameSlot slot(const char* text, char after = 0) {
    doc::NameSlot s{};
    std::memcpy(s.data(), text, std::strlen(text));
    s[std::strlen(text) + 1] = static_cast<std::uint8_t>(after);
    return s;
}

TEST(TableComparisonTest, FieldsByBitsNamesAsTextAndRecordsOfOneTable) {
    std::vector<doc::ObjectRecord> a(4), b(3);
    std::vector<doc::NameSlot> an{slot("Tower"), slot("Well"), slot("Mill", 'x'), slot("Gate")};
    std::vector<doc::NameSlot> bn{slot("Tower"), slot("Well!"), slot("Mill", 'y')};
    a[0].setFloatField(4, 0.0f);
    b[0].setFloatField(4, -0.0f);
    a[1].fields[10] = 0x7FC00000u;
    b[1].fields[10] = 0x7FC00001u;
    a[2].fields[2] = b[2].fields[2] = 77;

    const auto result = doc::compareTables({a, an}, {b, bn});
    ASSERT_EQ(result.size(), 4u);
    EXPECT_TRUE(result[0].fieldDiffers[4]) << "-0.0 and 0.0 differ";
    EXPECT_FALSE(result[0].nameDiffers);
    EXPECT_TRUE(result[1].fieldDiffers[10]) << "two NaN payloads differ";
    EXPECT_TRUE(result[1].nameDiffers);
    EXPECT_FALSE(result[2].differs()) << "bytes after a name's terminator do not count";
    EXPECT_TRUE(result[3].inFirst && !result[3].inSecond && result[3].differs());
    for (const auto& record : result)
        EXPECT_EQ(std::count(record.fieldDiffers.begin(), record.fieldDiffers.end(), true),
                  record.index < 2 ? 1 : 0)
            << record.index;
}

} // namespace

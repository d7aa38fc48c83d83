#include "codepage/windows1252.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(Windows1252, EveryByteMapsToOneCharacterAndBack) {
    std::set<char32_t> seen;
    for (int b = 1; b <= 255; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        const char32_t ch = cp1252::toUnicode(byte);
        EXPECT_TRUE(seen.insert(ch).second) << "byte " << b << " shares its character";
        EXPECT_EQ(cp1252::fromUnicode(ch), byte) << "byte " << b;
    }
}

TEST(Windows1252, KnowsTheWindows1252Characters) {
    EXPECT_EQ(cp1252::toUnicode(0x80), U'\u20AC'); // euro sign
    EXPECT_EQ(cp1252::toUnicode(0x8A), U'\u0160');
    EXPECT_EQ(cp1252::toUnicode(0x92), U'\u2019');
    EXPECT_EQ(cp1252::toUnicode(0x9F), U'\u0178');
    EXPECT_EQ(cp1252::toUnicode(0xE9), U'\u00E9');
    EXPECT_EQ(cp1252::toUnicode('A'), U'A');
    EXPECT_EQ(cp1252::fromUnicode(U'\u20AC'), 0x80);
    EXPECT_EQ(cp1252::fromUnicode(U'\u2122'), 0x99);
    EXPECT_EQ(cp1252::fromUnicode(U'\u00FF'), 0xFF);
}

TEST(Windows1252, UndefinedBytesMapToTheControlCharactersOfTheirNumber) {
    for (const std::uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(cp1252::toUnicode(b), char32_t{b});
        EXPECT_EQ(cp1252::fromUnicode(char32_t{b}), b);
    }
}

TEST(Windows1252, RefusesCharactersTheCodePageCannotHold) {
    EXPECT_FALSE(cp1252::fromUnicode(0));
    EXPECT_FALSE(cp1252::fromUnicode(0x80)); // its byte means the euro sign
    EXPECT_FALSE(cp1252::fromUnicode(0x9E));
    EXPECT_FALSE(cp1252::fromUnicode(U'\u0100'));
    EXPECT_FALSE(cp1252::fromUnicode(U'\u4E2D'));
    EXPECT_FALSE(cp1252::fromUnicode(U'\U0001F600'));
}

TEST(Windows1252, PrintableCharactersAreThoseAUserMayType) {
    for (const char32_t ch : {U' ', U'A', U'~', U'\u00A0', U'\u00E9', U'\u20AC', U'\u0178'})
        EXPECT_TRUE(cp1252::isPrintable(ch)) << std::uint32_t{ch};
    // Controls, DEL, the undefined bytes' controls, and what the code page cannot hold.
    for (const char32_t ch : {U'\0', U'\t', U'\x1F', U'\x7F', U'\u0081', U'\u009D', U'\u03A9'})
        EXPECT_FALSE(cp1252::isPrintable(ch)) << std::uint32_t{ch};
}

} // namespace

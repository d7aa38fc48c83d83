#include "document/errors.h"
#include "document/text_forms.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

using doc::formatFloat;
using doc::formatUnsigned;
using doc::parseFloat;
using doc::parseInt32Bits;

TEST(FormatUnsigned, ShowsTheBitPatternAsUnsignedDecimal) {
    EXPECT_EQ(formatUnsigned(0), "0");
    EXPECT_EQ(formatUnsigned(176), "176");
    EXPECT_EQ(formatUnsigned(0x80000000u), "2147483648");
    EXPECT_EQ(formatUnsigned(0xFFFFFFFFu), "4294967295");
}

TEST(FormatFloat, FixedPointWithTwoDecimals) {
    EXPECT_EQ(formatFloat(2.5f, "."), "2.50");
    EXPECT_EQ(formatFloat(-0.25f, "."), "-0.25");
    EXPECT_EQ(formatFloat(0.0f, "."), "0.00");
    EXPECT_EQ(formatFloat(12.5f, "."), "12.50");
    EXPECT_EQ(formatFloat(0.1f, "."), "0.10");
    EXPECT_EQ(formatFloat(100.0f, "."), "100.00");
    EXPECT_EQ(formatFloat(-7.0f, "."), "-7.00");
}

TEST(FormatFloat, UsesTheGivenSeparator) {
    EXPECT_EQ(formatFloat(2.5f, ","), "2,50");
    EXPECT_EQ(formatFloat(-1234.75f, ","), "-1234,75");
    EXPECT_EQ(formatFloat(123456789.0f, ","), "1,2345679E8");
}

TEST(FormatFloat, RoundsHalfAwayFromZeroOnTheStoredValue) {
    // 0.125 and 2.5 + 1/8 are exact in a float: true halves round away from zero.
    EXPECT_EQ(formatFloat(0.125f, "."), "0.13");
    EXPECT_EQ(formatFloat(-0.125f, "."), "-0.13");
    EXPECT_EQ(formatFloat(2.625f, "."), "2.63");
    // 2.345f holds 2.34500002861..., just above the half.
    EXPECT_EQ(formatFloat(2.345f, "."), "2.35");
    // 0.285f holds 0.28499999642...: below the half, however close.
    EXPECT_EQ(formatFloat(0.285f, "."), "0.28");
    EXPECT_EQ(formatFloat(9.999f, "."), "10.00");
    EXPECT_EQ(formatFloat(-99.995f, "."), "-100.00"); // -99.9950027...
}

TEST(FormatFloat, KeepsAtMostEightSignificantDigits) {
    // 1234567.891f holds 1234567.875: eight digits leave one decimal.
    ASSERT_EQ(static_cast<double>(1234567.891f), 1234567.875);
    EXPECT_EQ(formatFloat(1234567.891f, "."), "1234567.90");
    EXPECT_EQ(formatFloat(123456.79f, "."), "123456.79"); // 123456.7890625
    EXPECT_EQ(formatFloat(12345678.0f, "."), "12345678.00");
    EXPECT_EQ(formatFloat(-4194304.5f, "."), "-4194304.50");
}

TEST(FormatFloat, ScientificBeyondEightIntegerDigits) {
    // 123456789.0f holds 123456792.
    EXPECT_EQ(formatFloat(123456789.0f, "."), "1.2345679E8");
    EXPECT_EQ(formatFloat(-123456789.0f, "."), "-1.2345679E8");
    EXPECT_EQ(formatFloat(1e10f, "."), "1E10");
    EXPECT_EQ(formatFloat(2.5e9f, "."), "2.5E9");
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::max(), "."), "3.4028235E38");
    EXPECT_EQ(formatFloat(999999999.0f, "."), "1E9"); // holds 1000000000
    // 999999995904 rounds up to 1000000000000: the carry moves the exponent.
    EXPECT_EQ(formatFloat(999999995904.0f, "."), "1E12");
}

TEST(FormatFloat, ValuesShownAsZeroHaveNoSign) {
    EXPECT_EQ(formatFloat(-0.0f, "."), "0.00");
    EXPECT_EQ(formatFloat(-0.004f, "."), "0.00");
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::denorm_min(), "."), "0.00");
    EXPECT_EQ(formatFloat(-0.005f, "."), "0.00"); // -0.004999999888...
    EXPECT_EQ(formatFloat(-0.0051f, "."), "-0.01");
}

TEST(FormatFloat, NotANumberAndInfinities) {
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::quiet_NaN(), "."), "NAN");
    EXPECT_EQ(formatFloat(std::numeric_limits<float>::infinity(), "."), "INF");
    EXPECT_EQ(formatFloat(-std::numeric_limits<float>::infinity(), "."), "-INF");
}

TEST(ParseInteger, StoresTheTwosComplementOfASigned32BitNumber) {
    EXPECT_EQ(parseInt32Bits("0"), 0u);
    EXPECT_EQ(parseInt32Bits("176"), 176u);
    EXPECT_EQ(parseInt32Bits("007"), 7u);
    EXPECT_EQ(parseInt32Bits("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(parseInt32Bits("2147483647"), 0x7FFFFFFFu);
    EXPECT_EQ(parseInt32Bits("-2147483648"), 0x80000000u);
}

TEST(ParseInteger, RefusesAnythingElseNamingTheText) {
    for (const char* text : {"", "-", "2147483648", "-2147483649", "4294967295",
                             "99999999999999999999", "12a", " 1", "1 ", "+5", "1.0", "--1"}) {
        try {
            parseInt32Bits(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const doc::ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

TEST(ParseFloat, ReadsDecimalsWithTheGivenSeparator) {
    EXPECT_EQ(parseFloat("2.5", "."), 2.5f);
    EXPECT_EQ(parseFloat("-0.25", "."), -0.25f);
    EXPECT_EQ(parseFloat("0.1", "."), 0.1f);
    EXPECT_EQ(parseFloat("2.345", "."), 2.345f);
    EXPECT_EQ(parseFloat("12,75", ","), 12.75f);
    EXPECT_EQ(parseFloat("42", "."), 42.0f);
    EXPECT_EQ(parseFloat(".5", "."), 0.5f);
}

TEST(ParseFloat, ALoneSeparatorOrATrailingOneReadsAsANumber) {
    EXPECT_EQ(parseFloat(".", "."), 0.0f);
    EXPECT_EQ(parseFloat(",", ","), 0.0f);
    EXPECT_EQ(parseFloat("12.", "."), 12.0f);
    EXPECT_EQ(parseFloat("-3,", ","), -3.0f);
}

TEST(ParseFloat, ReadsTheScientificFormItShows) {
    EXPECT_EQ(parseFloat("1.5E3", "."), 1500.0f);
    EXPECT_EQ(parseFloat("1.5e-3", "."), 0.0015f);
    EXPECT_EQ(parseFloat("2E+2", "."), 200.0f);
    EXPECT_EQ(parseFloat("1,2345679E8", ","), 123456792.0f);
    // Whatever formatFloat shows reads back as the same single when it has no lost digits.
    for (const float v : {2.5f, -0.25f, 123456789.0f, 3.4028235e38f, 1e10f})
        EXPECT_EQ(parseFloat(formatFloat(v, ","), ","), v) << v;
}

TEST(ParseFloat, RoundsOnceToTheNearestSingle) {
    // Halfway between 1 and the next single (1 + 2^-23) and a hair above it.
    EXPECT_EQ(std::bit_cast<std::uint32_t>(parseFloat("1.00000005960464477539062500", ".")),
              0x3F800000u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(parseFloat("1.00000005960464477539062501", ".")),
              0x3F800001u);
    EXPECT_EQ(parseFloat("1E-50", "."), 0.0f);
    EXPECT_TRUE(std::signbit(parseFloat("-1E-50", ".")));
    EXPECT_EQ(parseFloat("0E999999999999", "."), 0.0f);
}

TEST(ParseFloat, RefusesAnythingElseNamingTheText) {
    for (const char* text : {"", "-", "1.2.3", "1,5", "E3", "1E", "1E+", "abc", " 1", "1 ", "+1",
                             "1e39", "-3.5E38", "1E999999999999", "INF", "NAN", "0x10"}) {
        try {
            parseFloat(text, ".");
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const doc::ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
    EXPECT_THROW(parseFloat("1.5", ","), doc::ConversionError);
}

TEST(GeneralForm, ShortestTextWithFifteenSignificantDigits) {
    const std::pair<long double, const char*> cases[] = {
        {1.5L * 8, "12"},
        {0.1L * 8, "0.8"},
        {0.33L * 8, "2.64"},
        {1.23L * 8, "9.84"},
        {-0.25L * 8, "-2"},
        {0.0L, "0"},
        {-0.0L, "0"},
        {9.999999999L * 8, "79.999999992"},
        {0.0001L, "0.0001"},
        {0.00001L, "1E-5"},
        {123456789012345.0L, "123456789012345"},
        {1234567890123456.0L, "1.23456789012346E15"},
        {1.5E20L, "1.5E20"},
        {2.0L / 3, "0.666666666666667"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(doc::formatGeneral(value, "."), text) << text;
    EXPECT_EQ(doc::formatGeneral(2.5L, ","), "2,5");
    EXPECT_EQ(doc::formatGeneral(1.5E-7L, ","), "1,5E-7");
}

TEST(ExtendedParse, ReadsFieldTextsAtFullPrecision) {
    EXPECT_EQ(doc::parseExtended("1.23", "."), 1.23L);
    EXPECT_EQ(doc::parseExtended("-1,5", ","), -1.5L);
    EXPECT_EQ(doc::parseExtended("1.2345679E8", "."), 123456790.0L);
    EXPECT_EQ(doc::parseExtended(",", ","), 0.0L);
    for (const char* text : {"", "-", "1.2.3", "abc", "NAN", "1E99999"}) {
        try {
            doc::parseExtended(text, ".");
            ADD_FAILURE() << text;
        } catch (const doc::ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
}

} // namespace

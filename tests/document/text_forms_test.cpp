#include "document/errors.h"
#include "document/text_forms.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

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

std::string shadowOf(std::string_view shape, std::string_view separator) {
    return doc::formatGeneral(doc::parseExact(shape, separator).times(8), separator);
}

TEST(GeneralForm, ShortestTextWithFifteenSignificantDigits) {
    const std::pair<const char*, const char*> eightTimes[] = {
        {"1.5", "12"},
        {"0.1", "0.8"},
        {"0.33", "2.64"},
        {"1.23", "9.84"},
        {"-0.25", "-2"},
        {"0", "0"},
        {"-0.0", "0"},
        {"9.999999999", "79.999999992"},
        {"0.0000125", "0.0001"},
        {"0.00000125", "1E-5"},
        {"1.5E19", "1.2E20"},
        {"99999999999", "799999999992"},
        {"1.234E-20", "9.872E-20"},
    };
    for (const auto& [shape, shadow] : eightTimes)
        EXPECT_EQ(shadowOf(shape, "."), shadow) << shape;
    const std::pair<const char*, const char*> asRead[] = {
        {"123456789012345", "123456789012345"},
        {"1234567890123456", "1.23456789012346E15"},
        {"0.66666666666666666667", "0.666666666666667"},
        {"999999999999999.5", "1E15"}, // the carry makes a new digit and the scientific form
        {"0.000099999999999999999", "0.0001"},
        {"-1.000000000000005", "-1.00000000000001"}, // half away from zero
    };
    for (const auto& [text, shown] : asRead)
        EXPECT_EQ(doc::formatGeneral(doc::parseExact(text, "."), "."), shown) << text;
    EXPECT_EQ(shadowOf("2,5", ","), "20");
    EXPECT_EQ(shadowOf("0,3125", ","), "2,5");
    EXPECT_EQ(shadowOf("1,5E-8", ","), "1,2E-7");
}

TEST(ExactParse, ReadsFieldTextsUnrounded) {
    using doc::ExactDecimal;
    EXPECT_EQ(doc::parseExact("1.23", "."), (ExactDecimal{false, "123", -2}));
    EXPECT_EQ(doc::parseExact("-1,50", ","), (ExactDecimal{true, "15", -1}));
    EXPECT_EQ(doc::parseExact("1.2345679E8", "."), (ExactDecimal{false, "12345679", 1}));
    EXPECT_EQ(doc::parseExact("00120.0e-3", "."), (ExactDecimal{false, "12", -2}));
    EXPECT_EQ(doc::parseExact(",", ","), ExactDecimal{});
    EXPECT_EQ(doc::parseExact("1E-99999999999", "."), ExactDecimal{});
    EXPECT_EQ(doc::parseExact("0E99999999999", "."), ExactDecimal{});
    for (const char* text : {"", "-", "1.2.3", "abc", "NAN", "INF", "1E99999999999"}) {
        try {
            doc::parseExact(text, ".");
            ADD_FAILURE() << text;
        } catch (const doc::ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid floating point value");
        }
    }
}

/** A text of up to 11 characters as a shape edit holds it: digits with a separator, a sign and an
 * exponent, every part optional but a digit. */
std::string randomShapeText(std::mt19937_64& random) {
    std::string text = random() % 4 == 0 ? "-" : "";
    const auto digits = static_cast<std::size_t>(1 + random() % 10);
    const std::size_t point = random() % (digits + 2); // beyond the digits: no separator
    for (std::size_t i = 0; i < digits; ++i) {
        if (i == point)
            text += '.';
        text += static_cast<char>('0' + random() % 10);
    }
    if (point == digits)
        text += '.';
    if (random() % 2 == 0) {
        const std::string exponent = std::string(random() % 2 == 0 ? "E-" : "E") +
                                     std::to_string(random() % (random() % 2 == 0 ? 40 : 4900));
        if (text.size() + exponent.size() <= 11)
            text += exponent;
    }
    return text.substr(0, 11);
}

/** What printf shows of a long double with 15 significant digits. */
std::string fifteenDigits(long double value) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.14Le", value);
    return buffer.data();
}

/** The text read to long double, with a digit put on each side of a bare separator. */
long double readLongDouble(std::string text) {
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        if (point + 1 == text.size() || text[point + 1] == 'E')
            text.insert(point + 1, "0");
        if (point == 0 || text[point - 1] == '-')
            text.insert(point, "0");
    }
    // strtold in the program's "C" locale: MinGW's from_chars reads long double only in the
    // range of double.
    char* end = nullptr;
    const long double value = std::strtold(text.c_str(), &end);
    EXPECT_TRUE(end == text.c_str() + text.size()) << text;
    return value;
}

// The shadow texts are those that an x87 unit's full-precision read gives: where long double is
// its 80-bit format, eight times the text read to extended precision shows the same fifteen
// digits as the shadow text.
TEST(GeneralForm, ShadowTextsAreTheX87UnitsForEveryShapeText) {
    if (std::numeric_limits<long double>::digits != 64)
        GTEST_SKIP() << "long double is not the x87 format here";
    std::mt19937_64 random(11);
    for (int i = 0; i < 50000; ++i) {
        const std::string shape = randomShapeText(random);
        const std::string shadow = shadowOf(shape, ".");
        // A negative zero shows as 0, as the shadow text does.
        ASSERT_EQ(fifteenDigits(readLongDouble(shadow)),
                  fifteenDigits(8 * readLongDouble(shape) + 0.0L))
            << shape << " gives " << shadow;
    }
}

} // namespace

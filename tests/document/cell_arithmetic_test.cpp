// Bulk arithmetic on field values: against the CPU where its arithmetic is exact before one
// rounding (dyadic operands in doubles, decimals on whole numbers in 64 bits), and at what only
// exact decimal arithmetic gets right: ties, operands far beyond a double's digits, the edges of
// the single and of the unsigned fields.

#include "document/cell_arithmetic.h"
#include "document/errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace {

using doc::CellArithmetic;
using doc::DecimalOperation;

constexpr std::uint32_t kLargest = 0x7F7FFFFFu;

std::uint32_t bitsOf(float v) {
    return std::bit_cast<std::uint32_t>(v);
}

/** What IEEE arithmetic gives once the exact double is rounded to single, a finite value kept
 * finite. */
std::uint32_t viaDouble(double exact) {
    const auto single = static_cast<float>(exact);
    if (std::isinf(single))
        return (std::signbit(single) ? 0x80000000u : 0u) | kLargest;
    return bitsOf(single);
}

TEST(CellArithmetic, FloatsByDyadicOperandsRoundAsTheCpu) {
    std::mt19937 random(23);
    const char* operands[] = {"1.5", "0.25", "-3", "2.75", "0.0625", "-0.5", "1024", "-1.125"};
    for (int i = 0; i < 20000; ++i) {
        const char* text = operands[i % 8];
        const double operand = std::stod(text);
        // Any finite single for products; for sums, one whose bits and the operand's fit a double.
        std::uint32_t bits = random();
        if ((bits & 0x7F800000u) == 0x7F800000u)
            continue;
        const float x = std::bit_cast<float>(bits);
        ASSERT_EQ(DecimalOperation(CellArithmetic::Multiply, text).applyToSingle(bits),
                  viaDouble(static_cast<double>(x) * operand))
            << x << " * " << text;
        bits = (bits & 0x807FFFFFu) | (static_cast<std::uint32_t>(127 - 16 + i % 33) << 23);
        const float y = std::bit_cast<float>(bits);
        ASSERT_EQ(DecimalOperation(CellArithmetic::Add, text).applyToSingle(bits),
                  viaDouble(static_cast<double>(y) + operand))
            << y << " + " << text;
    }
}

TEST(CellArithmetic, WholeNumbersByDecimalsTruncateAsIntegersDo) {
    std::mt19937 random(29);
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t value = random() >> (random() % 32);
        const bool negative = random() % 2 == 1;
        const std::uint64_t digits = random() % 10000;
        const int decimals = static_cast<int>(random() % 4);
        std::uint64_t scale = 1;
        for (int d = 0; d < decimals; ++d)
            scale *= 10;
        std::string text = negative ? "-" : "";
        text += std::to_string(digits / scale);
        text += '.';
        text += std::to_string(scale + digits % scale).substr(1);
        const auto clamp = [](std::int64_t exact) {
            return static_cast<std::uint32_t>(std::clamp<std::int64_t>(exact, 0, 0xFFFFFFFF));
        };
        // Truncation toward zero: a negative exact result gives 0 whatever its fraction.
        const auto product = static_cast<std::int64_t>(value * digits);
        const std::int64_t sum = static_cast<std::int64_t>(value * scale) +
                                 (negative ? -1 : 1) * static_cast<std::int64_t>(digits);
        ASSERT_EQ(DecimalOperation(CellArithmetic::Multiply, text).applyToUnsigned(value),
                  negative ? 0 : clamp(product / static_cast<std::int64_t>(scale)))
            << value << " * " << text;
        ASSERT_EQ(DecimalOperation(CellArithmetic::Add, text).applyToUnsigned(value),
                  sum < 0 ? 0 : clamp(sum / static_cast<std::int64_t>(scale)))
            << value << " + " << text;
    }
}

struct Case {
    std::uint32_t value;
    CellArithmetic arithmetic;
    const char* operand;
    std::uint32_t result;
};

constexpr auto kMultiply = CellArithmetic::Multiply;
constexpr auto kAdd = CellArithmetic::Add;

TEST(CellArithmetic, FloatsAreRoundedOnceFromTheExactResult) {
    const Case cases[] = {
        // 1 + 2^-24 is halfway between 1 and the next single: ties go to the even one, and a
        // digit beyond a double's reach decides the rest.
        {0x3F800000, kAdd, "0.000000059604644775390625", 0x3F800000},
        {0x3F800000, kAdd, "0.000000059604644775390626", 0x3F800001},
        {0x3F800000, kAdd, "0.000000059604644775390624", 0x3F800000},
        {0x3F800000, kMultiply, "1.000000059604644775390625", 0x3F800000},
        {0x3F800000, kMultiply, "1.0000000596046447753906251", 0x3F800001},
        {0x3F800000, kMultiply, "1.2", 0x3F99999A},
        {0x40400000, kMultiply, "0.1", 0x3E99999A},
        {0x3F9D70A4, kMultiply, "3", 0x406C28F6},
        {0x42C80000, kMultiply, "-0.3333333333333333333333333333", 0xC2055555},
        {0x41200000, kAdd, "-10.000000000000000000000000001", 0x929E74D2},
        {0x41200000, kMultiply, "1E1", 0x42C80000},
        // Subnormals: half the smallest ties to 0, a hair more is the smallest.
        {0x00000001, kMultiply, "0.5", 0x00000000},
        {0x00000001, kMultiply, "0.5000001", 0x00000001},
        {0x00000001, kMultiply, "1.5", 0x00000002},
        {0x00000000, kAdd, "1e-45", 0x00000001},
        {0x00000000, kAdd, "0.7e-45", 0x00000000},
        // Zeros keep the sign IEEE arithmetic gives them.
        {0x80000000, kMultiply, "2", 0x80000000},
        {0x80000000, kMultiply, "-2", 0x00000000},
        {0x00000000, kMultiply, "-1", 0x80000000},
        {0x3FC00000, kMultiply, "0", 0x00000000},
        {0xBFC00000, kMultiply, "0", 0x80000000},
        {0x80000000, kAdd, "0", 0x00000000},
        {0x80000000, kAdd, "-0", 0x80000000},
        {0x3FC00000, kAdd, "-1.5", 0x00000000},
        {0x3FC00000, kAdd, "-0", 0x3FC00000},
        // A finite value stays finite; NaN and the infinities stay as stored.
        {kLargest, kMultiply, "1", kLargest},
        {kLargest, kMultiply, "1.0000001", kLargest},
        {0xFF7FFFFF, kMultiply, "2", 0xFF7FFFFF},
        {kLargest, kAdd, "1e38", kLargest},
        {kLargest, kMultiply, "-1", 0xFF7FFFFF},
        {0x7FC00001, kMultiply, "2", 0x7FC00001},
        {0xFFC00000, kAdd, "1", 0xFFC00000},
        {0xFF800000, kAdd, "1", 0xFF800000},
        {0x7F800000, kMultiply, "0", 0x7F800000},
        // Operands far beyond the range, and far below it.
        {0x3F800000, kMultiply, "1e100", kLargest},
        {0x3F800000, kMultiply, "-1e100", 0xFF7FFFFF},
        {0x00000001, kMultiply, "1e84", kLargest},
        {0x3F800000, kMultiply, "1e-100", 0x00000000},
        {0xBF800000, kMultiply, "1e-100", 0x80000000},
        {kLargest, kMultiply, "1e-84", 0x00000000},
        {0x3F800000, kAdd, "1e50", kLargest},
        {0x3F800000, kAdd, "-1e40", 0xFF7FFFFF},
        {0x3F800000, kAdd, "1e-70", 0x3F800000},
        {0x00000001, kAdd, "-1e-59", 0x00000001},
        {0x00000000, kAdd, "-1e-70", 0x80000000},
        {0x3F800000, kMultiply, "1e999999999", kLargest},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecimalOperation(c.arithmetic, c.operand).applyToSingle(c.value), c.result)
            << std::hex << c.value << (c.arithmetic == kAdd ? " + " : " * ") << c.operand;
}

TEST(CellArithmetic, UnsignedValuesAreTruncatedAndClamped) {
    const Case cases[] = {
        {10, kMultiply, "1.15", 11},
        {7, kAdd, "-0.5", 6},
        {5, kMultiply, "-1", 0},
        {5, kMultiply, "-0.0000001", 0},
        {0, kAdd, "-0.5", 0},
        {0, kAdd, "0.999", 0},
        {4294967295, kAdd, "1", 4294967295},
        {4294967295, kMultiply, "1", 4294967295},
        {4294967295, kMultiply, "0.5", 2147483647},
        {1, kMultiply, "4294967295.9", 4294967295},
        {1, kAdd, "4294967294.9999999999999999999999", 4294967295},
        {1, kAdd, "4294967295", 4294967295},
        {3, kMultiply, "0.3333333333333333333333333334", 1},
        {3, kMultiply, "0.3333333333333333333333333333", 0},
        {100, kMultiply, "1.2", 120},
        {10, kMultiply, "0.7", 7},
        {5, kAdd, "-1e-70", 4},
        {0, kAdd, "-1e-70", 0},
        {5, kAdd, "1e-70", 5},
        {5, kMultiply, "1e20", 4294967295},
        {5, kMultiply, "1e-20", 0},
        {5, kAdd, "-1e20", 0},
        {5, kAdd, "1e10", 4294967295},
        {5, kMultiply, "0", 0},
        {5, kAdd, "-0", 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecimalOperation(c.arithmetic, c.operand).applyToUnsigned(c.value), c.result)
            << c.value << (c.arithmetic == kAdd ? " + " : " * ") << c.operand;
}

TEST(CellArithmetic, OperandsThatAreNoDecimalAreRefused) {
    const std::string longest = "1." + std::string(98, '0') + "1"; // 100 significant digits
    EXPECT_EQ(DecimalOperation(kMultiply, longest).applyToUnsigned(7), 7u);
    const std::pair<std::string, std::string> refused[] = {
        {"abc", "'abc' is not a decimal number"},
        {"", "'' is not a decimal number"},
        {"1,5", "'1,5' is not a decimal number"},
        {"0x10", "'0x10' is not a decimal number"},
        {"1e", "'1e' is not a decimal number"},
        {"--1", "'--1' is not a decimal number"},
        {" 1", "' 1' is not a decimal number"},
        {longest + "1", "'" + longest + "1' has more than 100 significant digits"},
    };
    for (const auto& [text, message] : refused) {
        try {
            DecimalOperation(kAdd, text);
            ADD_FAILURE() << text << " was taken";
        } catch (const doc::Error& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

} // namespace

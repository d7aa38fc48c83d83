// Exact binary numbers rounded in integer arithmetic, against the CPU's own IEEE arithmetic at the
// widths every CPU has (the double's 53 bits, the single), and at the single's edges: ties,
// subnormals, the largest finite single.

#include "document/binary_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

using doc::BinaryNumber;

double toDouble(BinaryNumber n) {
    const double magnitude = std::ldexp(static_cast<double>(n.significand), n.exponent);
    return n.negative ? -magnitude : magnitude;
}

std::uint64_t bitsOf(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

/** A number of up to 53 bits (so that a double holds it) with an exponent from low to high. */
BinaryNumber randomNumber(std::mt19937_64& random, int low, int high) {
    const auto spread = static_cast<std::uint64_t>(high - low + 1);
    return {(random() & 1) != 0, random() >> (11 + random() % 53),
            low + static_cast<int>(random() % spread)};
}

TEST(BinaryNumber, RoundsAsTheCpuDoesInDoublesAndSingles) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 100000; ++i) {
        // Exponents far apart and close together: sums that cancel, that carry and that leave
        // the smaller one far below the last bit kept.
        const BinaryNumber a = randomNumber(random, -300, 300);
        const BinaryNumber b = randomNumber(random, -300, 300);
        const BinaryNumber near{b.negative, b.significand,
                                a.exponent + static_cast<int>(i % 9) - 4};
        for (const BinaryNumber& other : {b, near}) {
            ASSERT_EQ(bitsOf(toDouble(doc::roundedSum(a, other, doc::kDoubleBits))),
                      bitsOf(toDouble(a) + toDouble(other)))
                << toDouble(a) << " + " << toDouble(other);
            ASSERT_EQ(bitsOf(toDouble(doc::roundedProduct(a, other, doc::kDoubleBits))),
                      bitsOf(toDouble(a) * toDouble(other)))
                << toDouble(a) << " * " << toDouble(other);
        }
        const auto numerator = static_cast<std::int64_t>(random() >> (11 + random() % 53));
        const auto denominator = static_cast<std::int64_t>(random() >> (11 + random() % 52)) + 1;
        const std::int64_t signedNumerator = (random() & 1) != 0 ? -numerator : numerator;
        ASSERT_EQ(
            bitsOf(toDouble(doc::roundedQuotient(signedNumerator, denominator, doc::kDoubleBits))),
            bitsOf(static_cast<double>(signedNumerator) / static_cast<double>(denominator)))
            << signedNumerator << " / " << denominator;
        // To single: from below the subnormals up to just below the largest single's exponent.
        const BinaryNumber c = randomNumber(random, -220, 74);
        ASSERT_EQ(doc::roundToSingle(c),
                  std::bit_cast<std::uint32_t>(static_cast<float>(toDouble(c))))
            << toDouble(c);
    }
}

TEST(BinaryNumber, RoundsToSingleAtItsEdges) {
    const std::pair<BinaryNumber, std::uint32_t> cases[] = {
        {{false, 0x8000008000000000u, -63}, 0x3F800000u}, // 1 + 2^-24: a tie, to the even 1
        {{false, 0x8000008000000001u, -63}, 0x3F800001u}, // a hair above it
        {{false, 0x8000018000000000u, -63}, 0x3F800002u}, // 1 + 3 * 2^-24: a tie, up to even
        {{false, 1, -149}, 0x00000001u},                  // the smallest subnormal
        {{true, 1, -150}, 0x80000000u},                   // half of it: a tie, to zero
        {{false, 3, -151}, 0x00000001u},                  // three quarters of it
        {{false, 0xFFFFFF, -150}, 0x00800000u},           // up from the subnormals to 2^-126
        {{false, 0xFFFFFF, 104}, 0x7F7FFFFFu},            // the largest finite single
        {{false, 0x3FFFFFD, 102}, 0x7F7FFFFFu},           // a quarter of a unit above it
        {{true, 0x1FFFFFF, 103}, 0xFF800000u},            // half a unit above it: infinity
        {{false, 1, 200}, 0x7F800000u},
        {{true, 0, 0}, 0x80000000u},
    };
    for (const auto& [number, single] : cases)
        EXPECT_EQ(doc::roundToSingle(number), single)
            << number.significand << " * 2^" << number.exponent;
}

TEST(BinaryNumber, ExactSinglesAndTruncation) {
    for (const float v : {1.5f, -0.1f, 3.4028235e38f, 1.0e-45f, -0.0f})
        EXPECT_EQ(doc::roundToSingle(doc::exactSingle(std::bit_cast<std::uint32_t>(v))),
                  std::bit_cast<std::uint32_t>(v))
            << v;
    const std::pair<BinaryNumber, std::uint32_t> cases[] = {
        {{false, 7, -1}, 3u},
        {{false, 1, 31}, 0x80000000u},
        {{false, 1, 32}, 0xFFFFFFFFu},
        {{false, 0xFFFFFFFF0u, -4}, 0xFFFFFFFFu},
        {{true, 5, 0}, 0u},
        {{false, 1, -70}, 0u},
    };
    for (const auto& [number, truncated] : cases)
        EXPECT_EQ(doc::truncateToUnsigned(number), truncated)
            << number.significand << " * 2^" << number.exponent;
}

} // namespace

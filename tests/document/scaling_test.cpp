// Global scaling's arithmetic, against the examples it is known by and against a reference that
// performs each rounding in exact integer arithmetic over many random percentages and values.

#include "document/errors.h"
#include "document/scaling.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

using doc::ScalePercentages;
__extension__ typedef unsigned __int128 u128; // GCC and Clang; exact products of up to 128 bits

// ---- the reference: numbers m * 2^e with an exact integer significand ------------------------

struct Dyadic {
    bool negative = false;
    u128 m = 0;
    int e = 0;
};

int bitLength(u128 v) {
    int n = 0;
    while (v) {
        v >>= 1;
        ++n;
    }
    return n;
}

/** Drops the lowest shift bits of d, rounding to nearest-even; sticky tells that bits below
 * those were not zero (the value lies above what the bits show). */
Dyadic dropBits(Dyadic d, int shift, bool sticky = false) {
    if (shift <= 0)
        return d;
    if (shift > 120)
        return {d.negative, 0, d.e + shift};
    const u128 lost = d.m & ((u128{1} << shift) - 1);
    const u128 half = u128{1} << (shift - 1);
    u128 kept = d.m >> shift;
    if (lost > half || (lost == half && (sticky || (kept & 1))))
        ++kept;
    return {d.negative, kept, d.e + shift};
}

/** Rounds to a significand of bits bits, nearest-even. */
Dyadic roundTo(Dyadic d, int bits, bool sticky = false) {
    const Dyadic r = dropBits(d, bitLength(d.m) - bits, sticky);
    return bitLength(r.m) > bits ? dropBits(r, 1) : r; // a carry out of the top
}

/** num / den (den > 0) rounded to bits bits. */
Dyadic quotient(long long num, long long den, int bits) {
    if (num == 0)
        return {};
    const u128 n = static_cast<u128>(num < 0 ? -num : num);
    const int k = bits + 2 + bitLength(static_cast<u128>(den)) - bitLength(n);
    const u128 scaled = n << k;
    const u128 q = scaled / static_cast<u128>(den);
    return roundTo({num < 0, q, -k}, bits, scaled % static_cast<u128>(den) != 0);
}

Dyadic plusOne(Dyadic d, int bits) {
    // 1 = 2^-d.e in units of 2^d.e; d.e is far below zero for every factor here.
    const u128 one = u128{1} << -d.e;
    Dyadic sum = d;
    if (!d.negative)
        sum.m = d.m + one;
    else if (d.m > one)
        sum.m = d.m - one;
    else
        sum = {false, one - d.m, d.e};
    return roundTo(sum, bits);
}

Dyadic times(Dyadic a, bool negative, u128 m, int e, int bits) {
    return roundTo({a.negative != negative, a.m * m, a.e + e}, bits);
}

Dyadic referenceFactor(ScalePercentages p) {
    return plusOne(quotient(p.to - p.from, p.from, 64), 64);
}

std::uint32_t referenceDamage(std::uint32_t v, ScalePercentages p) {
    if (v == 0)
        return 0;
    const Dyadic d = roundTo(times(referenceFactor(p), false, v, 0, 64), 53);
    if (bitLength(d.m) + d.e > 32)
        return 0xFFFFFFFFu;
    return d.e >= 0 ? static_cast<std::uint32_t>(d.m << d.e)
                    : static_cast<std::uint32_t>(d.m >> -d.e); // truncated toward zero
}

std::uint32_t referenceSize(std::uint32_t bits, ScalePercentages p) {
    const float x = std::bit_cast<float>(bits);
    if (!std::isfinite(x) || x == 0)
        return std::bit_cast<std::uint32_t>(x * 1.0f);
    int exponent = 0;
    const float fraction = std::frexp(std::fabs(x), &exponent); // x = fraction * 2^exponent
    const auto mx = static_cast<u128>(std::ldexp(fraction, 24));
    Dyadic d = times(referenceFactor(p), x < 0, mx, exponent - 24, 64);
    // Once to single: 24 bits, or the subnormals' fixed grid of 2^-149.
    const int top = bitLength(d.m) + d.e; // the value lies in [2^(top-1), 2^top)
    d = top - 1 < -126 ? dropBits(d, -149 - d.e) : roundTo(d, 24);
    if (d.m == 0)
        return x < 0 ? 0x80000000u : 0u;
    if (bitLength(d.m) + d.e > 128) // beyond the largest single: the largest single
        return std::bit_cast<std::uint32_t>(std::copysign(std::numeric_limits<float>::max(), x));
    const float result = std::ldexp(static_cast<float>(static_cast<std::uint32_t>(d.m)), d.e);
    return std::bit_cast<std::uint32_t>(d.negative ? -result : result);
}

float scaled(float x, ScalePercentages p) {
    return std::bit_cast<float>(doc::scaleSize(std::bit_cast<std::uint32_t>(x), p));
}

// ---- the examples ----------------------------------------------------------------------------

TEST(Scaling, DamageExamples) {
    EXPECT_EQ(doc::scaleDamage(30, {30, 50}), 50u); // a double computation gives 49
    EXPECT_EQ(doc::scaleDamage(10, {100, 110}), 11u);
    EXPECT_EQ(doc::scaleDamage(7, {100, 150}), 10u);
    EXPECT_EQ(doc::scaleDamage(doc::scaleDamage(7, {100, 200}), {200, 100}), 7u);
    EXPECT_EQ(doc::scaleDamage(doc::scaleDamage(7, {100, 150}), {150, 100}), 6u);
    EXPECT_EQ(doc::scaleDamage(123456, {250, 250}), 123456u);
    // Beyond 32 bits: the largest value, never a wrapped one.
    EXPECT_EQ(doc::scaleDamage(0xFFFFFFF0u, {10, 1000}), 0xFFFFFFFFu);
    EXPECT_EQ(doc::scaleDamage(500'000'000, {100, 1000}), 0xFFFFFFFFu);
}

TEST(Scaling, SizeExamples) {
    const float third = scaled(10.0f, {30, 50});
    EXPECT_LT(third, 50.0 / 3.0); // the single just below 50/3
    EXPECT_GT(std::nextafter(third, 100.0f), 50.0 / 3.0);
    const float product = scaled(1.3f, {100, 210});
    EXPECT_LT(product, 2.73);
    EXPECT_GT(std::nextafter(product, 100.0f), 2.73);
    EXPECT_EQ(scaled(-2.0f, {100, 50}), -1.0f);
    EXPECT_EQ(scaled(0.1f, {77, 77}), 0.1f);
    EXPECT_TRUE(std::signbit(scaled(-0.0f, {100, 200})));
}

TEST(Scaling, NonFiniteValuesStayAndOverflowStopsAtTheLargestSingle) {
    for (const std::uint32_t bits : {0x7FC00001u, 0xFFC00000u, 0x7F800000u, 0xFF800000u})
        EXPECT_EQ(doc::scaleSize(bits, {10, 1000}), bits);
    EXPECT_EQ(scaled(3.0e38f, {10, 1000}), std::numeric_limits<float>::max());
    EXPECT_EQ(scaled(-3.0e38f, {10, 1000}), -std::numeric_limits<float>::max());
}

TEST(Scaling, TableLeavesClassThreeAndOtherFieldsAlone) {
    doc::ObjectTable table;
    table.lastIndex = 2;
    for (std::uint32_t r = 0; r < 4; ++r) {
        auto& record = table.records[r];
        for (std::uint32_t k = 0; k < 25; ++k)
            record.fields[k] = 1000 * r + k;
        for (int k : {4, 5, 6, 7, 8, 9, 17, 18, 19, 20, 21, 22})
            record.setFloatField(k, 1.5f + static_cast<float>(k));
        record.fields[2] = 7;
    }
    table.records[1].fields[0] = 3;
    const doc::ObjectTable before = table;
    doc::scaleTable(table, {100, 200}, {100, 300});

    EXPECT_EQ(table.records[1], before.records[1]); // class 3
    EXPECT_EQ(table.records[3], before.records[3]); // beyond the last index
    for (const int r : {0, 2}) {
        doc::ObjectRecord expected = before.records[static_cast<std::size_t>(r)];
        expected.fields[2] = 14;
        for (int k : {4, 5, 6, 7, 8, 9, 17, 18, 19, 20, 21, 22})
            expected.setFloatField(k, 3 * (1.5f + static_cast<float>(k)));
        EXPECT_EQ(table.records[static_cast<std::size_t>(r)], expected) << r;
    }
}

TEST(Scaling, AStoredScaleOfZeroOrBelowIsRefused) {
    for (const int percent : {0, -5}) {
        try {
            doc::checkStoredScale(percent);
            FAIL() << percent;
        } catch (const doc::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Stored scale " + std::to_string(percent) +
                                                 " is not valid; it must be above 0");
        }
    }
    EXPECT_NO_THROW(doc::checkStoredScale(1));
    doc::ObjectTable table;
    table.records[0].fields[2] = 7;
    EXPECT_THROW(doc::scaleTable(table, {100, 200}, {0, 200}), doc::Error);
    EXPECT_EQ(table.records[0].fields[2], 7u);
}

// ---- against the reference -------------------------------------------------------------------

TEST(Scaling, TheReferenceKnowsTheExamples) {
    EXPECT_EQ(referenceDamage(30, {30, 50}), 50u);
    EXPECT_EQ(referenceDamage(7, {100, 150}), 10u);
    EXPECT_EQ(referenceSize(std::bit_cast<std::uint32_t>(1.3f), {100, 210}),
              std::bit_cast<std::uint32_t>(scaled(1.3f, {100, 210})));
    // Rounding the exact product once would give the single above: 1.3f * 2.1 lies halfway.
    EXPECT_LT(std::bit_cast<float>(referenceSize(std::bit_cast<std::uint32_t>(1.3f), {100, 210})),
              2.73);
}

TEST(Scaling, AgreesWithStepByStepRoundingForRandomValues) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> percent(10, 1000);
    int sizes = 0;
    for (int i = 0; i < 200000; ++i) {
        const ScalePercentages p{percent(random), percent(random)};
        // Damages: small, typical and near the top of the range.
        const auto damage = static_cast<std::uint32_t>(random() >> (32 + random() % 32));
        ASSERT_EQ(doc::scaleDamage(damage, p), referenceDamage(damage, p))
            << damage << " from " << p.from << " to " << p.to;
        // Sizes: every exponent, both signs, subnormals included; NaN and infinities skipped.
        const auto bits = static_cast<std::uint32_t>(random());
        if (!std::isfinite(std::bit_cast<float>(bits)))
            continue;
        ++sizes;
        ASSERT_EQ(doc::scaleSize(bits, p), referenceSize(bits, p))
            << std::bit_cast<float>(bits) << " from " << p.from << " to " << p.to;
    }
    EXPECT_GT(sizes, 190000);
}

} // namespace

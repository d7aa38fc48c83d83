// Global scaling's arithmetic, against the examples it is known by and bit for bit against the
// x87 unit's extended precision, which it reproduces in integer arithmetic: directly where the
// CPU has that unit, and through a digest of its results everywhere else.

#include "document/errors.h"
#include "document/scaling.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

using doc::ScalePercentages;

// ---- the x87 unit: long double is its 80-bit format on x86 with GCC and Clang ------------------

constexpr bool kHasX87 = std::numeric_limits<long double>::digits == 64;

long double x87Factor(ScalePercentages p) {
    const long double quotient =
        static_cast<long double>(p.to - p.from) / static_cast<long double>(p.from);
    return quotient + 1.0L;
}

std::uint32_t x87Damage(std::uint32_t v, ScalePercentages p) {
    const auto product = static_cast<double>(x87Factor(p) * static_cast<long double>(v));
    if (!(product > 0.0))
        return 0;
    if (product >= 4294967296.0)
        return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(product);
}

std::uint32_t x87Size(std::uint32_t bits, ScalePercentages p) {
    const float x = std::bit_cast<float>(bits);
    if (!std::isfinite(x))
        return bits;
    float result = static_cast<float>(x87Factor(p) * static_cast<long double>(x));
    if (std::isinf(result))
        result = std::copysign(std::numeric_limits<float>::max(), result);
    return std::bit_cast<std::uint32_t>(result);
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

// ---- bit for bit ------------------------------------------------------------------------------

/** FNV-1a over 32-bit results. */
struct Digest {
    std::uint64_t value = 14695981039346656037u;
    void add(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            value ^= (v >> (8 * i)) & 0xFFu;
            value *= 1099511628211u;
        }
    }
};

// The digest of the results below, as the x87 unit gives them (where it is, the test checks each
// result against it, and so this figure too).
constexpr std::uint64_t kX87Digest = 0x97cf167c0620250eu;

TEST(Scaling, GivesTheX87UnitsBitsForRandomValues) {
    std::mt19937_64 random(20261208); // its sequence is the same in every library
    const auto below = [&random](std::uint64_t n) { return static_cast<int>(random() % n); };
    Digest digest;
    int floors = 0;
    for (int i = 0; i < 200000; ++i) {
        // Mostly the spin boxes' 10 to 1000 %; sometimes anything a settings file or the command
        // line can bring, down to 1 % and up to ten thousand times, and new ones of 0 or below.
        const bool usual = i % 4 != 0;
        const ScalePercentages p =
            usual ? ScalePercentages{10 + below(991), 10 + below(991)}
                  : ScalePercentages{1 + below(1000000), below(2000001) - 1000000};
        // Damages: small, typical and near the top of the range.
        const auto damage = static_cast<std::uint32_t>(random() >> (32 + random() % 32));
        const std::uint32_t scaledDamage = doc::scaleDamage(damage, p);
        digest.add(scaledDamage);
        if (kHasX87) {
            ASSERT_EQ(scaledDamage, x87Damage(damage, p))
                << damage << " from " << p.from << " to " << p.to;
        }
        // The floor of the exact value, wherever it fits.
        const std::uint64_t exact = std::uint64_t{damage} * static_cast<std::uint64_t>(p.to) /
                                    static_cast<std::uint64_t>(p.from);
        if (usual && exact < 0xFFFFFFFFu) {
            ASSERT_EQ(scaledDamage, exact) << damage << " from " << p.from << " to " << p.to;
            ++floors;
        }
        // Sizes: every bit pattern, both signs, subnormals, NaN and the infinities included.
        const auto bits = static_cast<std::uint32_t>(random());
        const std::uint32_t scaledSize = doc::scaleSize(bits, p);
        digest.add(scaledSize);
        if (kHasX87) {
            ASSERT_EQ(scaledSize, x87Size(bits, p))
                << std::bit_cast<float>(bits) << " from " << p.from << " to " << p.to;
        }
    }
    EXPECT_GT(floors, 140000);
    EXPECT_EQ(digest.value, kX87Digest) << "the results differ from the x87 unit's";
}

} // namespace

#pragma once
// Exact binary numbers and their roundings, in integer arithmetic only, so that every CPU and
// every compiler gives the same bits: the steps of a computation carried out in a wider format
// (the x87 extended format's 64-bit significand, the double's 53 bits) and the final rounding to
// the IEEE single that a field holds.

#include <cstdint>

namespace doc {

/** (-1)^negative × significand × 2^exponent, held exactly. Zero keeps its sign. */
struct BinaryNumber {
    bool negative = false;
    std::uint64_t significand = 0;
    int exponent = 0;

    bool operator==(const BinaryNumber&) const = default;
};

/** The significand widths of the formats the computations round to. */
inline constexpr int kExtendedBits = 64;
inline constexpr int kDoubleBits = 53;

// Each of these rounds the exact result once to a significand of `bits` bits (1 to 64), to
// nearest with ties to even. The exponent is not limited: the results stand for what the format
// holds as long as they stay inside its range, as every result of the global scaling does.

/** numerator ÷ denominator; the denominator must not be 0. */
BinaryNumber roundedQuotient(std::int64_t numerator, std::int64_t denominator, int bits);
/** a + b; an exact zero is positive unless both are negative zeros. */
BinaryNumber roundedSum(BinaryNumber a, BinaryNumber b, int bits);
/** a × b. */
BinaryNumber roundedProduct(BinaryNumber a, BinaryNumber b, int bits);
/** a itself. */
BinaryNumber rounded(BinaryNumber a, int bits);

/** An integer, exactly. */
BinaryNumber exactInteger(std::int64_t value);

/** The exact value of a finite single held as its bits. */
BinaryNumber exactSingle(std::uint32_t bits);

/** The nearest single to an exact number, as its bits, ties to even: through the single's
 * subnormals down to a zero of the number's sign, and beyond the largest finite single to the
 * infinity of its sign. The one rounding to single of every computation on float fields. */
std::uint32_t roundToSingle(BinaryNumber exact);

/** The number truncated toward zero, as an unsigned 32-bit integer: 0 for a negative number,
 * 4294967295 for 2^32 or more. */
std::uint32_t truncateToUnsigned(BinaryNumber number);

} // namespace doc

#include "document/binary_number.h"

#include <bit>
#include <utility>

namespace doc {

namespace {

/** An unsigned 128-bit integer: wide enough for the exact product of two significands. Written
 * out in 64-bit words, since not every compiler and target has a 128-bit integer type. */
struct Wide {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
};

constexpr std::uint64_t kLow32 = 0xFFFFFFFFu;

int bitLength(std::uint64_t v) {
    return 64 - std::countl_zero(v);
}

int bitLength(Wide w) {
    return w.high != 0 ? 64 + bitLength(w.high) : bitLength(w.low);
}

bool isZero(Wide w) {
    return (w.high | w.low) == 0;
}

bool less(Wide a, Wide b) {
    return a.high != b.high ? a.high < b.high : a.low < b.low;
}

Wide add(Wide a, Wide b) {
    const std::uint64_t low = a.low + b.low;
    return {a.high + b.high + (low < a.low ? 1 : 0), low};
}

/** a - b for a >= b. */
Wide subtract(Wide a, Wide b) {
    return {a.high - b.high - (a.low < b.low ? 1 : 0), a.low - b.low};
}

Wide multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t lowLow = (a & kLow32) * (b & kLow32);
    const std::uint64_t lowHigh = (a & kLow32) * (b >> 32);
    const std::uint64_t highLow = (a >> 32) * (b & kLow32);
    const std::uint64_t highHigh = (a >> 32) * (b >> 32);
    const std::uint64_t middle = (lowLow >> 32) + (lowHigh & kLow32) + (highLow & kLow32);
    return {highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
            (middle << 32) | (lowLow & kLow32)};
}

/** w × 2^n for 0 <= n < 128; the caller makes sure no bit is pushed out. */
Wide shiftLeft(Wide w, int n) {
    if (n == 0)
        return w;
    if (n >= 64)
        return {w.low << (n - 64), 0};
    return {(w.high << n) | (w.low >> (64 - n)), w.low << n};
}

/** w ÷ 2^n, truncated, for n >= 0. */
Wide shiftRight(Wide w, int n) {
    if (n == 0)
        return w;
    if (n >= 128)
        return {};
    if (n >= 64)
        return {0, w.high >> (n - 64)};
    return {w.high >> n, (w.low >> n) | (w.high << (64 - n))};
}

bool bitAt(Wide w, int position) {
    if (position >= 128)
        return false;
    return position >= 64 ? ((w.high >> (position - 64)) & 1) != 0 : ((w.low >> position) & 1) != 0;
}

/** Whether any of the bits below `position` is set. */
bool anyBelow(Wide w, int position) {
    if (position <= 0)
        return false;
    if (position >= 128)
        return !isZero(w);
    if (position > 64)
        return w.low != 0 || (w.high & ((std::uint64_t{1} << (position - 64)) - 1)) != 0;
    if (position == 64)
        return w.low != 0;
    return (w.low & ((std::uint64_t{1} << position) - 1)) != 0;
}

/** m without its lowest `shift` bits (shift > 0), rounded to nearest, ties to even. `sticky` says
 * that the exact value lies above m by less than one unit of m's last bit. */
Wide dropBits(Wide m, int shift, bool sticky) {
    const Wide kept = shiftRight(m, shift);
    const bool half = bitAt(m, shift - 1);
    const bool aboveHalf = sticky || anyBelow(m, shift - 1);
    if (half && (aboveHalf || (kept.low & 1) != 0))
        return add(kept, Wide{0, 1});
    return kept;
}

/** (-1)^negative × (m + t) × 2^exponent, 0 <= t < 1 and t > 0 exactly when sticky, rounded to
 * `bits` bits. A sticky value must bring at least bits + 2 bits, so that t only breaks ties. */
BinaryNumber roundWide(bool negative, Wide m, int exponent, bool sticky, int bits) {
    const int length = bitLength(m);
    if (length <= bits)
        return {negative, m.low, isZero(m) ? 0 : exponent};
    int shift = length - bits;
    Wide kept = dropBits(m, shift, sticky);
    if (bitLength(kept) > bits) { // rounded up to 2^bits
        kept = shiftRight(kept, 1);
        ++shift;
    }
    return {negative, kept.low, exponent + shift};
}

std::uint64_t magnitude(std::int64_t v) {
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

int topBit(BinaryNumber n) {
    return bitLength(n.significand) + n.exponent;
}

} // namespace

BinaryNumber roundedQuotient(std::int64_t numerator, std::int64_t denominator, int bits) {
    const bool negative = (numerator < 0) != (denominator < 0);
    const std::uint64_t n = magnitude(numerator);
    const std::uint64_t d = magnitude(denominator);
    // Long division, one bit at a time, until the quotient has two bits more than are kept;
    // the remainder tells whether the exact quotient lies above it.
    Wide quotient{0, n / d};
    std::uint64_t remainder = n % d;
    int exponent = 0;
    while (n != 0 && bitLength(quotient) < bits + 2) {
        quotient = shiftLeft(quotient, 1);
        if (remainder >= d - remainder) { // 2 × remainder >= d, without overflow
            quotient.low |= 1;
            remainder -= d - remainder;
        } else {
            remainder += remainder;
        }
        --exponent;
    }
    return roundWide(negative, quotient, exponent, remainder != 0, bits);
}

BinaryNumber roundedSum(BinaryNumber a, BinaryNumber b, int bits) {
    if (a.significand == 0 && b.significand == 0)
        return {a.negative && b.negative, 0, 0};
    if (a.significand == 0)
        return rounded(b, bits);
    if (b.significand == 0)
        return rounded(a, bits);
    if (topBit(a) < topBit(b))
        std::swap(a, b);
    // The larger one fills 127 bits of a window (one more above it for a carry); the smaller one
    // is placed in the same window, and what falls below the window only counts as sticky.
    const int exponent = topBit(a) - 127;
    const Wide big = shiftLeft(Wide{0, a.significand}, a.exponent - exponent);
    Wide small{0, b.significand};
    bool sticky = false;
    if (b.exponent >= exponent) {
        small = shiftLeft(small, b.exponent - exponent);
    } else {
        sticky = anyBelow(small, exponent - b.exponent);
        small = shiftRight(small, exponent - b.exponent);
    }
    if (a.negative == b.negative)
        return roundWide(a.negative, add(big, small), exponent, sticky, bits);
    if (less(big, small)) // only when nothing fell below the window
        return roundWide(b.negative, subtract(small, big), exponent, false, bits);
    Wide difference = subtract(big, small);
    if (isZero(difference))
        return {false, 0, 0};
    if (sticky) // big - (small + t) = (big - small - 1) + (1 - t)
        difference = subtract(difference, Wide{0, 1});
    return roundWide(a.negative, difference, exponent, sticky, bits);
}

BinaryNumber roundedProduct(BinaryNumber a, BinaryNumber b, int bits) {
    return roundWide(a.negative != b.negative, multiply(a.significand, b.significand),
                     a.exponent + b.exponent, false, bits);
}

BinaryNumber rounded(BinaryNumber a, int bits) {
    return roundWide(a.negative, Wide{0, a.significand}, a.exponent, false, bits);
}

BinaryNumber exactInteger(std::int64_t value) {
    return {value < 0, magnitude(value), 0};
}

BinaryNumber exactSingle(std::uint32_t bits) {
    const bool negative = (bits >> 31) != 0;
    const auto biased = static_cast<int>((bits >> 23) & 0xFFu);
    const std::uint32_t fraction = bits & 0x7FFFFFu;
    if (biased == 0)
        return {negative, fraction, -149};
    return {negative, fraction | 0x800000u, biased - 150};
}

std::uint32_t roundToSingle(BinaryNumber exact) {
    const std::uint32_t sign = exact.negative ? 0x80000000u : 0u;
    if (exact.significand == 0)
        return sign;
    // The unit of the last bit the single keeps: 24 bits below the top bit, but never finer than
    // the subnormals' grid of 2^-149.
    int unit = topBit(exact) - 24;
    if (unit < -149)
        unit = -149;
    Wide kept{0, exact.significand};
    if (unit > exact.exponent)
        kept = dropBits(kept, unit - exact.exponent, false);
    else
        kept = shiftLeft(kept, exact.exponent - unit); // fewer than 24 bits: exact
    if (bitLength(kept) > 24) {                        // rounded up to 2^24
        kept = shiftRight(kept, 1);
        ++unit;
    }
    const auto significand = static_cast<std::uint32_t>(kept.low);
    if (significand < 0x800000u) // a subnormal or zero: unit is 2^-149, the exponent field 0
        return sign | significand;
    const int biased = unit + 150;
    if (biased >= 0xFF)
        return sign | 0x7F800000u;
    return sign | static_cast<std::uint32_t>(biased) << 23 | (significand & 0x7FFFFFu);
}

std::uint32_t truncateToUnsigned(BinaryNumber number) {
    constexpr std::uint32_t kLargest = 0xFFFFFFFFu;
    if (number.negative || number.significand == 0)
        return 0;
    if (number.exponent >= 0)
        return topBit(number) > 32
                   ? kLargest
                   : static_cast<std::uint32_t>(number.significand << number.exponent);
    if (number.exponent <= -64)
        return 0;
    const std::uint64_t whole = number.significand >> -number.exponent;
    return whole > kLargest ? kLargest : static_cast<std::uint32_t>(whole);
}

} // namespace doc

#include "document/cell_arithmetic.h"

#include "document/binary_number.h"
#include "document/errors.h"
#include "document/text_forms.h"

#include <algorithm>
#include <bit>
#include <string>

namespace doc {

namespace {

using Natural = std::vector<std::uint32_t>;

constexpr std::uint32_t kSign = 0x80000000u;
constexpr std::uint32_t kExponentBits = 0x7F800000u;
constexpr std::uint32_t kLargestSingle = 0x7F7FFFFFu;
constexpr std::uint32_t kLargestUnsigned = 0xFFFFFFFFu;

// Operand magnitudes (the decimal exponent of the first digit) beyond which a result is known
// without computing it, for any value of the field:
// - a product of an unsigned value (below 4294967296) with 10^10 or more is beyond the field, with
//   less than 10^-10 below 1; a sum with 10^10 or more is beyond it or below 0;
// - a single times 10^84 or more is beyond the largest single (the smallest one is 1.4E-45),
//   times less than 10^-84 below half the smallest (the largest is 3.4E38); a sum with 10^40 or
//   more is beyond the largest single;
// - a sum with less than 10^-59 is closer to the value than half its last bit, or to 0 half the
//   smallest subnormal.
constexpr long long kUnsignedBeyond = 10;
constexpr long long kUnsignedProductBelow = -11;
constexpr long long kSingleProductBeyond = 84;
constexpr long long kSingleProductBelow = -85;
constexpr long long kSingleSumBeyond = 40;
constexpr long long kNegligibleSummand = -60;
// Within this range the operand is held exactly; every magnitude outside it is one of the above.
constexpr long long kHeldMagnitude = 100;

void trim(Natural& n) {
    while (!n.empty() && n.back() == 0)
        n.pop_back();
}

Natural natural(std::uint64_t v) {
    Natural n{static_cast<std::uint32_t>(v), static_cast<std::uint32_t>(v >> 32)};
    trim(n);
    return n;
}

bool isOne(const Natural& n) {
    return n.size() == 1 && n[0] == 1;
}

int bitLength(const Natural& n) {
    return n.empty() ? 0 : static_cast<int>(32 * n.size()) - std::countl_zero(n.back());
}

bool bitAt(const Natural& n, int position) {
    const auto word = static_cast<std::size_t>(position / 32);
    return word < n.size() && ((n[word] >> (position % 32)) & 1u) != 0;
}

/** n := n × factor + carry. */
void multiplyAdd(Natural& n, std::uint32_t factor, std::uint32_t carry) {
    std::uint64_t c = carry;
    for (std::uint32_t& word : n) {
        c += static_cast<std::uint64_t>(word) * factor;
        word = static_cast<std::uint32_t>(c);
        c >>= 32;
    }
    if (c != 0)
        n.push_back(static_cast<std::uint32_t>(c));
    trim(n);
}

Natural product(const Natural& a, const Natural& b) {
    if (a.empty() || b.empty())
        return {};
    Natural result(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.size(); ++j) {
            carry += static_cast<std::uint64_t>(a[i]) * b[j] + result[i + j];
            result[i + j] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        result[i + b.size()] = static_cast<std::uint32_t>(carry);
    }
    trim(result);
    return result;
}

Natural shiftedLeft(const Natural& n, int bits) {
    if (n.empty() || bits == 0)
        return n;
    const int rest = bits % 32;
    Natural result(static_cast<std::size_t>(bits / 32), 0);
    result.reserve(result.size() + n.size() + 1);
    std::uint32_t carry = 0;
    for (const std::uint32_t word : n) {
        result.push_back(rest == 0 ? word : (word << rest) | carry);
        carry = rest == 0 ? 0 : word >> (32 - rest);
    }
    if (carry != 0)
        result.push_back(carry);
    return result;
}

/** n := 2 × n + bit. */
void doubleAndAdd(Natural& n, bool bit) {
    std::uint32_t carry = bit ? 1 : 0;
    for (std::uint32_t& word : n) {
        const std::uint32_t top = word >> 31;
        word = (word << 1) | carry;
        carry = top;
    }
    if (carry != 0)
        n.push_back(carry);
}

int compare(const Natural& a, const Natural& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

void add(Natural& a, const Natural& b) {
    if (a.size() < b.size())
        a.resize(b.size(), 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        carry += static_cast<std::uint64_t>(a[i]) + (i < b.size() ? b[i] : 0);
        a[i] = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
    if (carry != 0)
        a.push_back(static_cast<std::uint32_t>(carry));
}

/** a := a - b, for a >= b. */
void subtract(Natural& a, const Natural& b) {
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::uint64_t taken = (i < b.size() ? b[i] : 0) + borrow;
        const std::uint64_t word = a[i];
        a[i] = static_cast<std::uint32_t>(word - taken);
        borrow = word < taken ? 1 : 0;
    }
    trim(a);
}

Natural powerOfTen(long long n) {
    Natural p{1};
    for (; n >= 9; n -= 9)
        multiplyAdd(p, 1'000'000'000u, 0);
    std::uint32_t rest = 1;
    for (; n > 0; --n)
        rest *= 10;
    multiplyAdd(p, rest, 0);
    return p;
}

Natural fromDigits(std::string_view digits) {
    Natural n;
    for (std::size_t i = 0; i < digits.size(); i += 9) {
        std::uint32_t value = 0;
        std::uint32_t scale = 1;
        for (const char c : digits.substr(i, 9)) {
            value = value * 10 + static_cast<std::uint32_t>(c - '0');
            scale *= 10;
        }
        multiplyAdd(n, scale, value);
    }
    return n;
}

// The exact results are handed to the roundings as at most 64 bits "rounded to odd": the bits
// kept truncated, the last one set when anything was dropped. With at least two bits more than a
// rounding keeps (the single keeps 24, the unsigned fields' integer part at most 32 of 64), that
// rounding gives what it gives on the exact number.

/** ±n × 2^exponent, n > 0. */
BinaryNumber toBinary(bool negative, const Natural& n, int exponent) {
    const int length = bitLength(n);
    const int shift = std::max(length - 64, 0);
    std::uint64_t top = 0;
    for (int i = length - 1; i >= shift; --i)
        top = (top << 1) | (bitAt(n, i) ? 1 : 0);
    bool dropped = false;
    for (int i = 0; i < shift && !dropped; ++i)
        dropped = bitAt(n, i);
    return {negative, top | (dropped ? 1 : 0), exponent + shift};
}

/** ±(n / d) × 2^exponent, n and d > 0: the quotient to 63 or 64 bits, by long division. */
BinaryNumber quotientToBinary(bool negative, Natural n, Natural d, int exponent) {
    const int shift = 63 + bitLength(d) - bitLength(n);
    if (shift > 0)
        n = shiftedLeft(n, shift);
    else if (shift < 0)
        d = shiftedLeft(d, -shift);
    // Now 2^62 × d < n < 2^64 × d.
    std::uint64_t quotient = 0;
    Natural remainder;
    for (int i = bitLength(n) - 1; i >= 0; --i) {
        doubleAndAdd(remainder, bitAt(n, i));
        quotient <<= 1;
        if (compare(remainder, d) >= 0) {
            subtract(remainder, d);
            quotient |= 1;
        }
    }
    return {negative, quotient | (remainder.empty() ? 0 : 1), exponent - shift};
}

std::string quoted(std::string_view text) {
    std::string out(1, '\'');
    out += text;
    out += '\'';
    return out;
}

std::uint32_t signedSingle(bool negative, std::uint32_t magnitude) {
    return (negative ? kSign : 0u) | magnitude;
}

} // namespace

struct DecimalOperation::Exact {
    bool negative;
    Natural magnitude; // the result is ±magnitude × 2^exponent / m_denominator
    int exponent;
};

DecimalOperation::DecimalOperation(CellArithmetic arithmetic, std::string_view operand)
    : m_arithmetic(arithmetic), m_denominator{1} {
    ExactDecimal value;
    try {
        value = parseExact(operand, ".");
    } catch (const ConversionError&) {
        throw Error(quoted(operand) + " is not a decimal number");
    }
    if (value.digits.size() > kMaxOperandDigits)
        throw Error(quoted(operand) + " has more than " + std::to_string(kMaxOperandDigits) +
                    " significant digits");
    m_negative = value.negative;
    m_zero = value.digits.empty();
    if (m_zero)
        return;
    m_magnitude = static_cast<long long>(value.digits.size()) - 1 + value.exponent;
    if (m_magnitude < -kHeldMagnitude || m_magnitude > kHeldMagnitude)
        return;
    m_numerator = fromDigits(value.digits);
    if (value.exponent >= 0)
        m_numerator = product(m_numerator, powerOfTen(value.exponent));
    else
        m_denominator = powerOfTen(-value.exponent);
}

DecimalOperation::Exact DecimalOperation::exactResult(bool negative, std::uint64_t significand,
                                                      int exponent) const {
    const Natural value = natural(significand);
    if (m_arithmetic == CellArithmetic::Multiply)
        return {negative != m_negative, product(value, m_numerator), exponent};
    // Both over the same power of two and the operand's power of ten.
    const int common = std::min(exponent, 0);
    Natural mine = shiftedLeft(product(value, m_denominator), exponent - common);
    Natural theirs = shiftedLeft(m_numerator, -common);
    if (negative == m_negative) {
        add(mine, theirs);
        return {negative, std::move(mine), common};
    }
    const int order = compare(mine, theirs);
    if (order == 0)
        return {false, {}, 0}; // x + -x is +0
    if (order > 0) {
        subtract(mine, theirs);
        return {negative, std::move(mine), common};
    }
    subtract(theirs, mine);
    return {m_negative, std::move(theirs), common};
}

std::uint32_t DecimalOperation::applyToUnsigned(std::uint32_t value) const {
    if (m_arithmetic == CellArithmetic::Multiply) {
        // A negative product truncates toward zero to 0 or below, which is clamped to 0.
        if (value == 0 || m_zero || m_negative || m_magnitude <= kUnsignedProductBelow)
            return 0;
        if (m_magnitude >= kUnsignedBeyond)
            return kLargestUnsigned;
    } else {
        if (m_zero)
            return value;
        if (m_magnitude >= kUnsignedBeyond)
            return m_negative ? 0 : kLargestUnsigned;
        if (m_magnitude <= kNegligibleSummand) // just below value truncates to value - 1
            return m_negative ? (value == 0 ? 0 : value - 1) : value;
    }
    const Exact exact = exactResult(false, value, 0);
    if (exact.negative || exact.magnitude.empty())
        return 0;
    const BinaryNumber binary = isOne(m_denominator)
                                    ? toBinary(false, exact.magnitude, exact.exponent)
                                    : quotientToBinary(false, exact.magnitude, m_denominator,
                                                       exact.exponent);
    return truncateToUnsigned(binary);
}

std::uint32_t DecimalOperation::applyToSingle(std::uint32_t bits) const {
    if ((bits & kExponentBits) == kExponentBits) // NaN and the infinities stay
        return bits;
    const BinaryNumber value = exactSingle(bits);
    const bool zero = value.significand == 0;
    if (m_arithmetic == CellArithmetic::Multiply) {
        const bool negative = value.negative != m_negative;
        if (zero || m_zero || m_magnitude <= kSingleProductBelow)
            return signedSingle(negative, 0);
        if (m_magnitude >= kSingleProductBeyond)
            return signedSingle(negative, kLargestSingle);
    } else {
        if (m_zero) // -0 + -0 is -0, -0 + 0 is +0
            return zero ? signedSingle(value.negative && m_negative, 0) : bits;
        if (m_magnitude >= kSingleSumBeyond)
            return signedSingle(m_negative, kLargestSingle);
        if (m_magnitude <= kNegligibleSummand)
            return zero ? signedSingle(m_negative, 0) : bits;
    }
    const Exact exact = exactResult(value.negative, value.significand, value.exponent);
    if (exact.magnitude.empty())
        return 0;
    const BinaryNumber binary =
        isOne(m_denominator)
            ? toBinary(exact.negative, exact.magnitude, exact.exponent)
            : quotientToBinary(exact.negative, exact.magnitude, m_denominator, exact.exponent);
    const std::uint32_t result = roundToSingle(binary); // the one rounding
    if ((result & ~kSign) == kExponentBits)
        return (result & kSign) | kLargestSingle;
    return result;
}

} // namespace doc

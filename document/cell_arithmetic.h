#pragma once
// A decimal operand multiplied into or added to field values, as the table's bulk edits do: the
// result computed exactly, then rounded once: toward zero into 0 to 4294967295 for the unsigned
// fields, to the nearest single (roundToSingle, the last step of scaling too) for the floats.
// Integer arithmetic only, so every CPU gives the same bits.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace doc {

enum class CellArithmetic { Multiply, Add };

/** One operation with its operand, prepared once for the many values it is applied to. */
class DecimalOperation {
public:
    /** The operand's significant digits are held exactly up to this many; a longer one is
     * refused rather than rounded. */
    static constexpr std::size_t kMaxOperandDigits = 100;

    /** operand is a decimal with "." (optional "-", digits, an optional exponent), whatever the
     * locale. Throws Error "'<text>' is not a decimal number" for anything else, and for more than
     * kMaxOperandDigits significant digits. */
    DecimalOperation(CellArithmetic arithmetic, std::string_view operand);

    /** An unsigned field's value: the exact result truncated toward zero, then clamped to 0 to
     * 4294967295 (7 + -0.5 gives 6, 5 × -1 gives 0, 4294967295 + 1 gives 4294967295). */
    std::uint32_t applyToUnsigned(std::uint32_t value) const;
    /** A float field's bits: the exact result rounded once to the nearest single, ties to even,
     * zeros keeping the sign IEEE arithmetic gives them (-0 × 2 is -0, 1.5 + -1.5 is +0). A
     * finite value stays finite: beyond the range, the largest finite single of its sign. NaN and
     * the infinities stay as they are. */
    std::uint32_t applyToSingle(std::uint32_t bits) const;

private:
    /** A natural number of any size, as 32-bit words, least significant first, no zero word on
     * top. */
    using Natural = std::vector<std::uint32_t>;
    /** What applying to ±significand × 2^exponent gives, before its rounding. */
    struct Exact;
    Exact exactResult(bool negative, std::uint64_t significand, int exponent) const;

    CellArithmetic m_arithmetic;
    bool m_negative = false;
    bool m_zero = false;
    /** The decimal exponent of the operand's first digit: 10^m_magnitude <= |operand| < 10 ×
     * that. Far outside the values' range the result is known without computing it. */
    long long m_magnitude = 0;
    /** |operand| = m_numerator / m_denominator, the denominator a power of ten (1 for a whole
     * operand). */
    Natural m_numerator;
    Natural m_denominator;
};

} // namespace doc

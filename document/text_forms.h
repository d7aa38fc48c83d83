#pragma once
// How field values are written as text and read back. Plain C++: the caller
// passes the locale's decimal separator (UTF-8), so the editor and the
// command-line companion format numbers the same way.

#include <cstdint>
#include <string>
#include <string_view>

namespace doc {

/** Unsigned decimal, no sign or separators: 0xFFFFFFFF gives "4294967295". */
std::string formatUnsigned(std::uint32_t value);

/** A float field with exactly two decimals: the value is rounded once, half away from zero on
 * its exact decimal expansion, to two decimals or to 8 significant digits, whichever keeps
 * fewer, and missing decimals show as zeros: 2.5 gives "2.50", -0.25 gives "-0.25",
 * 1234567.891 (held as 1234567.875) gives "1234567.90", 0.285 (held as 0.28499999...) gives
 * "0.28". When the integer part has more than 8 digits the
 * scientific form with up to 8 significant digits is used, trailing zeros dropped, "E" and the
 * exponent without "+": 123456789.0 gives "1.2345679E8". A value shown as all zeros has no sign.
 * NaN and the infinities show as "NAN", "INF" and "-INF". */
std::string formatFloat(float value, std::string_view decimalSeparator);

/** The whole text as a signed 32-bit decimal (optional leading "-", then digits), returned as
 * its two's-complement bit pattern. Throws ConversionError "'<text>' is not a valid integer
 * value" for anything else, including an empty text, a lone "-" and values outside
 * -2147483648 to 2147483647. */
std::uint32_t parseInt32Bits(std::string_view text);

/** The whole text as a decimal number with the given separator (optional "-", digits, at most
 * one separator, an optional exponent "E" or "e" with optional sign), rounded once to the
 * nearest single. A lone separator reads as 0 and "12<sep>" as 12. Throws ConversionError
 * "'<text>' is not a valid floating point value" for anything else, including an empty text,
 * a lone "-" and values beyond the single range. */
float parseFloat(std::string_view text, std::string_view decimalSeparator);

/** A decimal number held exactly: (-1)^negative × digits × 10^exponent, where digits holds its
 * decimal digits without leading or trailing zeros (none for zero). */
struct ExactDecimal {
    bool negative = false;
    std::string digits;
    long long exponent = 0;

    /** The number times a factor (at most 10^9), exactly. */
    ExactDecimal times(unsigned factor) const;

    bool operator==(const ExactDecimal&) const = default;
};

/** The same text, with the same rules and errors, kept exactly instead of rounded: what the
 * shadow command reads from a shape size as shown, so that the sizes it derives are the same on
 * every CPU. A written exponent of a billion or more, far beyond any text of an edit, is
 * refused when positive (for a number that is not zero) and reads as zero when negative. */
ExactDecimal parseExact(std::string_view text, std::string_view decimalSeparator);

/** The general number form: the number rounded to 15 significant digits (half away from zero),
 * no trailing zeros and no separator when whole, "-" for negatives, scientific notation ("E",
 * the exponent without "+") only when the integer part has more than 15 digits or the magnitude
 * is below 0.0001: 12 gives "12", 0.8 gives "0.8", 1.5E20 gives "1.5E20", 0.00001 gives
 * "1E-5". */
std::string formatGeneral(const ExactDecimal& value, std::string_view decimalSeparator);

} // namespace doc

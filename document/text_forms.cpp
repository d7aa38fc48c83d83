#include "document/text_forms.h"

#include "document/errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace doc {

namespace {

constexpr int kSignificantDigits = 8;
constexpr int kDecimals = 2;
constexpr int kGeneralDigits = 15;

/** Adds one to a string of decimal digits; returns true when it grew by a leading "1". */
bool incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

/** Keeps the first keep digits, rounding half away from zero on the next one. The digit
 * string is the exact decimal expansion, so a next digit of 5 or more means at least half. */
bool roundDigits(std::string& digits, std::size_t keep) {
    const bool up = keep < digits.size() && digits[keep] >= '5';
    digits.resize(std::min(keep, digits.size()));
    return up ? incrementDigits(digits) : false;
}

std::string formatFixed(const std::string& intDigits, const std::string& fracDigits, int decimals,
                        std::string_view separator) {
    std::string digits = intDigits + fracDigits;
    roundDigits(digits, intDigits.size() + static_cast<std::size_t>(decimals));
    digits.resize(digits.size() + static_cast<std::size_t>(kDecimals - decimals), '0');
    const std::size_t intLength = digits.size() - kDecimals;
    std::string text = intLength == 0 ? "0" : digits.substr(0, intLength);
    text += separator;
    text += digits.substr(intLength);
    return text;
}

std::string formatScientific(const std::string& intDigits, const std::string& fracDigits,
                             std::string_view separator) {
    std::string digits = intDigits + fracDigits;
    int exponent = static_cast<int>(intDigits.size()) - 1;
    if (roundDigits(digits, kSignificantDigits)) {
        digits.pop_back();
        ++exponent;
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string text(1, digits[0]);
    if (digits.size() > 1) {
        text += separator;
        text += digits.substr(1);
    }
    return text + "E" + std::to_string(exponent);
}

[[noreturn]] void refuseInteger(std::string_view text) {
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

[[noreturn]] void refuseFloat(std::string_view text) {
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view takeDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

} // namespace

std::string formatUnsigned(std::uint32_t value) {
    return std::to_string(value);
}

std::string formatFloat(float value, std::string_view decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    // A float's exact decimal expansion has at most 39 integer digits and 149 decimals.
    std::array<char, 256> buffer{};
    const double magnitude = std::fabs(static_cast<double>(value));
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, 149);
    const std::string_view exact(buffer.data(),
                                 static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t point = exact.find('.');
    std::string intDigits(exact.substr(0, point));
    const std::string fracDigits(exact.substr(point + 1));
    intDigits.erase(0, intDigits.find_first_not_of('0'));

    const int integerLength = static_cast<int>(intDigits.size());
    std::string text;
    if (integerLength > kSignificantDigits) {
        text = formatScientific(intDigits, fracDigits, decimalSeparator);
    } else {
        // At most 8 significant digits: a 7-digit integer part keeps one decimal, an
        // 8-digit one none; the missing decimals show as zeros.
        const int decimals = std::min(kDecimals, kSignificantDigits - integerLength);
        text = formatFixed(intDigits, fracDigits, decimals, decimalSeparator);
    }
    const bool allZero = text.find_first_of("123456789") == std::string::npos;
    if (std::signbit(value) && !allZero)
        text.insert(text.begin(), '-');
    return text;
}

std::uint32_t parseInt32Bits(std::string_view text) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++pos;
    const std::string_view digits = takeDigits(text, pos);
    if (digits.empty() || pos != text.size())
        refuseInteger(text);
    std::int64_t magnitude = 0;
    for (const char c : digits) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{1} << 31)
            refuseInteger(text);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max())
        refuseInteger(text);
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

namespace {

/** A decimal number as the field texts write it, checked and put in a form from_chars reads. */
struct DecimalText {
    bool negative = false;
    std::string digits; // the integer and the fractional digits together
    std::size_t intLength = 0;
    long long exponent = 0;
    std::string normal; // "-int.fracEexp"
};

DecimalText readDecimal(std::string_view text, std::string_view decimalSeparator) {
    DecimalText decimal;
    std::size_t pos = 0;
    decimal.negative = !text.empty() && text[0] == '-';
    if (decimal.negative)
        ++pos;
    const std::string_view intDigits = takeDigits(text, pos);
    bool hasSeparator = false;
    std::string_view fracDigits;
    if (!decimalSeparator.empty() && text.substr(pos).starts_with(decimalSeparator)) {
        hasSeparator = true;
        pos += decimalSeparator.size();
        fracDigits = takeDigits(text, pos);
    }
    // A lone separator reads as 0; a lone sign or nothing at all is no number.
    if (intDigits.empty() && fracDigits.empty() && !hasSeparator)
        refuseFloat(text);

    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            negativeExponent = text[pos++] == '-';
        const std::string_view expDigits = takeDigits(text, pos);
        if (expDigits.empty())
            refuseFloat(text);
        for (const char c : expDigits)
            decimal.exponent = std::min(decimal.exponent * 10 + (c - '0'), 1'000'000'000LL);
        if (negativeExponent)
            decimal.exponent = -decimal.exponent;
    }
    if (pos != text.size())
        refuseFloat(text);

    decimal.digits = std::string(intDigits) + std::string(fracDigits);
    decimal.intLength = intDigits.size();
// GCC 12 at -O3 reports a false -Wrestrict inside std::string's assignment of a literal
// (GCC bug 105329); nothing here overlaps.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    decimal.normal = decimal.negative ? "-" : "";
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    decimal.normal += intDigits.empty() ? "0" : std::string(intDigits);
    decimal.normal += '.';
    decimal.normal += fracDigits.empty() ? "0" : std::string(fracDigits);
    decimal.normal += 'e';
    decimal.normal += std::to_string(decimal.exponent);
    return decimal;
}

/** The number rounded once to T. Too large is refused, too small reads as zero. */
template <typename T> T convertDecimal(const DecimalText& decimal, std::string_view text) {
    T value = 0;
    const char* first = decimal.normal.data();
    const char* last = first + decimal.normal.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc{} && end == last)
        return value;
    if (ec != std::errc::result_out_of_range)
        refuseFloat(text);
    const std::size_t firstNonZero = decimal.digits.find_first_not_of('0');
    if (firstNonZero != std::string::npos) {
        const long long magnitude = static_cast<long long>(decimal.intLength) -
                                    static_cast<long long>(firstNonZero) + decimal.exponent;
        if (magnitude > 0)
            refuseFloat(text);
    }
    return decimal.negative ? -T(0) : T(0);
}

} // namespace

float parseFloat(std::string_view text, std::string_view decimalSeparator) {
    return convertDecimal<float>(readDecimal(text, decimalSeparator), text);
}

namespace {

constexpr long long kExponentLimit = 1'000'000'000; // readDecimal stops counting there

void stripZeros(ExactDecimal& value) {
    const std::size_t last = value.digits.find_last_not_of('0');
    if (last == std::string::npos) {
        value.digits.clear();
        value.exponent = 0;
        return;
    }
    value.exponent += static_cast<long long>(value.digits.size() - last - 1);
    value.digits.resize(last + 1);
    value.digits.erase(0, value.digits.find_first_not_of('0'));
}

} // namespace

ExactDecimal ExactDecimal::times(unsigned factor) const {
    ExactDecimal product = *this;
    std::uint64_t carry = 0;
    for (auto it = product.digits.rbegin(); it != product.digits.rend(); ++it) {
        carry += static_cast<std::uint64_t>(*it - '0') * factor;
        *it = static_cast<char>('0' + carry % 10);
        carry /= 10;
    }
    for (; carry != 0; carry /= 10)
        product.digits.insert(product.digits.begin(), static_cast<char>('0' + carry % 10));
    stripZeros(product);
    return product;
}

ExactDecimal parseExact(std::string_view text, std::string_view decimalSeparator) {
    const DecimalText decimal = readDecimal(text, decimalSeparator);
    ExactDecimal value{decimal.negative, decimal.digits,
                       decimal.exponent -
                           static_cast<long long>(decimal.digits.size() - decimal.intLength)};
    stripZeros(value);
    if (decimal.exponent >= kExponentLimit && !value.digits.empty())
        refuseFloat(text);
    if (decimal.exponent <= -kExponentLimit)
        value = {decimal.negative, {}, 0};
    return value;
}

std::string formatGeneral(const ExactDecimal& value, std::string_view decimalSeparator) {
    if (value.digits.empty())
        return "0";
    ExactDecimal shown = value;
    if (shown.digits.size() > kGeneralDigits) {
        shown.exponent += static_cast<long long>(shown.digits.size() - kGeneralDigits);
        roundDigits(shown.digits, kGeneralDigits);
        stripZeros(shown);
    }
    const std::string& digits = shown.digits;
    // The number is d.ddd × 10^leading.
    const long long leading = static_cast<long long>(digits.size()) - 1 + shown.exponent;
    std::string text = value.negative ? "-" : "";
    if (leading >= kGeneralDigits || leading < -4) {
        text += digits[0];
        if (digits.size() > 1) {
            text += decimalSeparator;
            text += digits.substr(1);
        }
        return text + "E" + std::to_string(leading);
    }
    if (leading < 0) {
        text += '0';
        text += decimalSeparator;
        text += std::string(static_cast<std::size_t>(-leading - 1), '0') + digits;
        return text;
    }
    const auto intLength = static_cast<std::size_t>(leading) + 1;
    if (digits.size() <= intLength)
        return text + digits + std::string(intLength - digits.size(), '0');
    text += digits.substr(0, intLength);
    text += decimalSeparator;
    text += digits.substr(intLength);
    return text;
}

} // namespace doc

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

std::uint32_t parseInteger(std::string_view text) {
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

float parseFloat(std::string_view text, std::string_view decimalSeparator) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
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

    long long exponent = 0;
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            negativeExponent = text[pos++] == '-';
        const std::string_view expDigits = takeDigits(text, pos);
        if (expDigits.empty())
            refuseFloat(text);
        for (const char c : expDigits)
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        if (negativeExponent)
            exponent = -exponent;
    }
    if (pos != text.size())
        refuseFloat(text);

    std::string normal = negative ? "-" : "";
    normal += intDigits.empty() ? "0" : std::string(intDigits);
    normal += '.';
    normal += fracDigits.empty() ? "0" : std::string(fracDigits);
    normal += 'e';
    normal += std::to_string(exponent);

    float value = 0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec == std::errc{} && end == normal.data() + normal.size())
        return value;
    if (ec != std::errc::result_out_of_range)
        refuseFloat(text);

    // Out of range: too large is refused, too small reads as zero.
    const std::string digits = std::string(intDigits) + std::string(fracDigits);
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos)
        return negative ? -0.0f : 0.0f;
    const long long magnitude =
        static_cast<long long>(intDigits.size()) - static_cast<long long>(firstNonZero) + exponent;
    if (magnitude > 0)
        refuseFloat(text);
    return negative ? -0.0f : 0.0f;
}

} // namespace doc

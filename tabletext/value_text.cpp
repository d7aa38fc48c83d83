#include "tabletext/value_text.h"

#include "document/errors.h"
#include "document/text_forms.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace tabletext {

namespace {

bool isFiniteBits(std::uint32_t bits) {
    return std::isfinite(std::bit_cast<float>(bits));
}

std::string hexPattern(std::uint32_t bits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", bits);
    return text;
}

/** The cell's text between single quotes, as the reasons quote it; a long one cut short. */
std::string quoted(std::string_view text) {
    std::string out(1, '\'');
    out += excerpt(text);
    out += '\'';
    return out;
}

/** The whole number a decimal text stands for exactly ("4000", "1E+3", "10000.0", "0.04e2", "-0"),
 * or nothing when it is not whole, not from 0 to 4294967295 or not a decimal. Worked out on the
 * digits, never through a double, so no digit is rounded away. */
std::optional<std::uint32_t> exactWhole(std::string_view text) {
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    i += negative;
    const auto digitsFrom = [&](std::size_t from) {
        std::size_t end = from;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        return end;
    };
    const std::size_t wholeBegin = i, wholeEnd = digitsFrom(i);
    std::size_t fractionBegin = wholeEnd, fractionEnd = wholeEnd;
    if (wholeEnd < text.size() && text[wholeEnd] == '.') {
        fractionBegin = wholeEnd + 1;
        fractionEnd = digitsFrom(fractionBegin);
    }
    const std::size_t wholeDigits = wholeEnd - wholeBegin;
    const std::size_t allDigits = wholeDigits + (fractionEnd - fractionBegin);
    if (allDigits == 0)
        return std::nullopt;
    // The exponent, held within a bound far beyond any digit count a source can have.
    std::int64_t exponent = 0;
    i = fractionEnd;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < text.size() && text[i] == '-';
        i += i < text.size() && (text[i] == '-' || text[i] == '+');
        const std::size_t end = digitsFrom(i);
        if (end == i)
            return std::nullopt;
        for (; i < end; ++i)
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000);
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != text.size())
        return std::nullopt;
    // The digits of whole and fraction as one sequence; the point stands after `point` of them.
    const auto digitAt = [&](std::int64_t k) -> int {
        if (k < 0 || k >= static_cast<std::int64_t>(allDigits))
            return 0;
        const auto at = static_cast<std::size_t>(k);
        return text[at < wholeDigits ? wholeBegin + at : fractionBegin + (at - wholeDigits)] - '0';
    };
    const std::int64_t point = static_cast<std::int64_t>(wholeDigits) + exponent;
    std::int64_t first = 0, last = static_cast<std::int64_t>(allDigits) - 1;
    while (first <= last && digitAt(first) == 0)
        ++first;
    if (first > last)
        return 0; // every digit is 0
    while (digitAt(last) == 0)
        --last;
    if (last >= point || negative || point - first > 10)
        return std::nullopt; // a digit after the point, below 0, or more than ten digits
    std::uint64_t value = 0;
    for (std::int64_t k = first; k < point; ++k)
        value = value * 10 + static_cast<std::uint64_t>(digitAt(k));
    if (value > 4294967295u)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

ParsedValue parseUnsigned(std::string_view text) {
    if (const std::optional<std::uint32_t> value = exactWhole(text))
        return {*value, {}};
    return {0, quoted(text) + " is not a whole number from 0 to 4294967295"};
}

/** The length of the valid UTF-8 character at text[i], with the character in c; 0 when the
 * bytes there are not one (a stray byte, a cut, overlong or surrogate form, beyond Unicode). */
std::size_t decodeCharacter(std::string_view text, std::size_t i, char32_t& c) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead < 0xE0) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead < 0xF0) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    const char32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < lowest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
        return 0;
    return length;
}

void appendEscape(std::string& out, unsigned value) {
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[(value >> 4) & 0xF];
    out += kHex[value & 0xF];
}

ParsedValue parseFloatText(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t bits = 0;
        const std::string_view digits = text.substr(2);
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        if (digits.size() <= 8 && ec == std::errc{} && end == digits.data() + digits.size())
            return {bits, {}};
        return {0, quoted(text) + " is not a 32-bit pattern (0x and 1 to 8 hexadecimal digits)"};
    }
    // The editor's own reading, with "." whatever the locale: the decimal rounded once to single.
    // A text it refuses is either out of range or not a number at all.
    try {
        return {std::bit_cast<std::uint32_t>(doc::parseFloat(text, ".")), {}};
    } catch (const doc::ConversionError&) {
    }
    double number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    const bool decimal = text.find_first_not_of("0123456789.eE+-") == std::string_view::npos;
    if (decimal && end == text.data() + text.size() &&
        (ec == std::errc{} || ec == std::errc::result_out_of_range))
        return {0, quoted(text) + " is beyond the range of a float"};
    return {0, quoted(text) + " is not a decimal number or a 0x bit pattern"};
}

} // namespace

std::string valueText(doc::FieldType type, std::uint32_t bits) {
    if (type != doc::FieldType::Float)
        return std::to_string(bits);
    if (!isFiniteBits(bits))
        return hexPattern(bits);
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, std::bit_cast<float>(bits));
    return std::string(text, result.ptr);
}

std::string fieldValueText(int field, std::uint32_t bits) {
    return valueText(doc::kFields[static_cast<std::size_t>(field)].type, bits);
}

bool isWrittenAsNumber(doc::FieldType type, std::uint32_t bits) {
    return type != doc::FieldType::Float || isFiniteBits(bits);
}

ParsedValue parseValueText(doc::FieldType type, std::string_view text) {
    if (text.empty())
        return {0, "empty"};
    return type == doc::FieldType::Float ? parseFloatText(text) : parseUnsigned(text);
}

std::string toUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::optional<std::u32string> fromUtf8(std::string_view text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = decodeCharacter(text, i, c);
        if (length == 0)
            return std::nullopt;
        out += c;
        i += length;
    }
    return out;
}

std::string valueProblem(doc::FieldType type, std::uint32_t bits) {
    if (type == doc::FieldType::Flag && bits > 1)
        return std::to_string(bits) + " is neither 0 nor 1";
    if (type == doc::FieldType::Float && !isFiniteBits(bits))
        return valueText(type, bits) + " is not a finite number";
    return {};
}

std::string escapedForTerminal(std::string_view text, Backslashes backslashes) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = decodeCharacter(text, i, c);
        if (length == 0) {
            appendEscape(out, static_cast<unsigned char>(text[i]));
            ++i;
            continue;
        }
        switch (c) {
        case U'\n':
            out += "\\n";
            break;
        case U'\t':
            out += "\\t";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\\':
            out += backslashes == Backslashes::Escaped ? "\\\\" : "\\";
            break;
        default:
            if (c < 0x20 || (c >= 0x7F && c < 0xA0))
                appendEscape(out, static_cast<unsigned>(c));
            else
                out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string escapedForTerminal(std::u32string_view text) {
    return escapedForTerminal(toUtf8(text));
}

std::string excerpt(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return std::string(text);
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // back to the start of a character
    std::string out(text.substr(0, cut));
    out += "... (";
    out += std::to_string(text.size());
    out += " bytes)";
    return out;
}

} // namespace tabletext

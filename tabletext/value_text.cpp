#include "tabletext/value_text.h"

#include "document/errors.h"
#include "document/text_forms.h"

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

/** from_chars reads no leading "+", which spreadsheets may write in exponents only. */
template <typename T> bool readWhole(std::string_view text, T& value) {
    if (text.empty() || text.front() == '+' || text.front() == ' ')
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc{} && end == text.data() + text.size();
}

/** The cell's text between single quotes, as the reasons quote it. */
std::string quoted(std::string_view text) {
    std::string out(1, '\'');
    out.append(text);
    out += '\'';
    return out;
}

ParsedValue parseUnsigned(std::string_view text) {
    std::uint32_t value = 0;
    if (readWhole(text, value))
        return {value, {}};
    // A spreadsheet may write a whole number as "1E+3" or "10000.0".
    double number = 0;
    if (text.find_first_not_of("0123456789.eE+-") == std::string_view::npos &&
        readWhole(text, number) && number >= 0 && number <= 4294967295.0 &&
        number == std::floor(number))
        return {static_cast<std::uint32_t>(number), {}};
    return {0, quoted(text) + " is not a whole number from 0 to 4294967295"};
}

ParsedValue parseFloatText(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t bits = 0;
        const std::string_view digits = text.substr(2);
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
        if (digits.size() <= 8 && ec == std::errc{} && end == digits.data() + digits.size())
            return {bits, {}};
        return {0, quoted(text) +
                       " is not a 32-bit pattern (0x and 1 to 8 hexadecimal digits)"};
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
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            length = 1;
            c = lead;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            c = lead & 0x0F;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            c = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + static_cast<std::size_t>(length) > text.size())
            return std::nullopt;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < lowest[length] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return std::nullopt; // overlong, beyond Unicode, or a surrogate
        out += c;
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string escapedForTerminal(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text) {
        switch (c) {
        case U'\n':
            out += "\\n";
            continue;
        case U'\t':
            out += "\\t";
            continue;
        case U'\r':
            out += "\\r";
            continue;
        case U'\\':
            out += "\\\\";
            continue;
        default:
            break;
        }
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += toUtf8(std::u32string_view(&c, 1));
        }
    }
    return out;
}

} // namespace tabletext

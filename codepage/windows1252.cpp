#include "codepage/windows1252.h"

#include <algorithm>
#include <array>

namespace cp1252 {

namespace {
// Bytes 0x80 to 0x9F; the five the code page leaves undefined keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isControl(char32_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F);
}
} // namespace

char32_t toUnicode(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[static_cast<std::size_t>(byte - 0x80)];
    return byte;
}

std::optional<std::uint8_t> fromUnicode(char32_t ch) {
    if (ch == 0)
        return std::nullopt;
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<std::uint8_t>(ch);
    const auto it = std::find(kHighControls.begin(), kHighControls.end(), ch);
    if (it == kHighControls.end())
        return std::nullopt;
    return static_cast<std::uint8_t>(0x80 + (it - kHighControls.begin()));
}

bool isPrintable(char32_t ch) {
    return !isControl(ch) && fromUnicode(ch).has_value();
}

} // namespace cp1252

#include "document/name_codec.h"

#include "document/file_layout.h"

#include <algorithm>

namespace doc {

namespace {
// Bytes 0x80 to 0x9F; the five the code page leaves undefined keep their own number.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
} // namespace

char32_t cp1252ToUnicode(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[static_cast<std::size_t>(byte - 0x80)];
    return byte;
}

std::optional<std::uint8_t> unicodeToCp1252(char32_t ch) {
    if (ch == 0)
        return std::nullopt;
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<std::uint8_t>(ch);
    const auto it = std::find(kHighControls.begin(), kHighControls.end(), ch);
    if (it == kHighControls.end())
        return std::nullopt;
    return static_cast<std::uint8_t>(0x80 + (it - kHighControls.begin()));
}

std::u32string readNameSlot(const NameSlot& slot) {
    std::u32string name;
    for (const std::uint8_t byte : slot) {
        if (byte == 0)
            break;
        name.push_back(cp1252ToUnicode(byte));
    }
    return name;
}

bool writeNameSlot(NameSlot& slot, const std::u32string& name) {
    const std::size_t length = std::min<std::size_t>(name.size(), kMaxNameLength);
    NameSlot updated = slot;
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = unicodeToCp1252(name[i]);
        if (!byte)
            return false;
        updated[i] = *byte;
    }
    updated[length] = 0; // the bytes after the terminator stay as they were
    slot = updated;
    return true;
}

} // namespace doc

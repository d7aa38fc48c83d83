#include "ui/code_page.h"

#include <algorithm>
#include <array>

namespace ui {

namespace {
// The characters that bytes 0x80 to 0x9F stand for; the five unassigned bytes are left out.
constexpr std::array<char16_t, 27> kUpperControlRange = {
    0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
} // namespace

bool isPrintableWindows1252(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0x20 && u <= 0x7E)
        return true;
    if (u >= 0xA0 && u <= 0xFF)
        return true;
    return std::find(kUpperControlRange.begin(), kUpperControlRange.end(), u) !=
           kUpperControlRange.end();
}

bool isPrintableWindows1252(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return isPrintableWindows1252(c); });
}

} // namespace ui

// The table of control words the reader acts on, sorted by name for a binary search.

#include "rtf/keywords.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace rtf {

namespace {

struct Entry {
    std::string_view name;
    Keyword keyword;
    int value = 0;
};

using K = Keyword;

constexpr std::array kEntries = {
    Entry{"aftncn", K::Ignorable},
    Entry{"aftnsep", K::Ignorable},
    Entry{"aftnsepc", K::Ignorable},
    Entry{"annotation", K::Ignorable},
    Entry{"ansi", K::CodePage, 1252},
    Entry{"ansicpg", K::CodePage},
    Entry{"atnauthor", K::Ignorable},
    Entry{"atnid", K::Ignorable},
    Entry{"author", K::Ignorable},
    Entry{"b", K::Bold},
    Entry{"blue", K::Blue},
    Entry{"bullet", K::Character, 0x2022},
    Entry{"buptim", K::Ignorable},
    Entry{"cell", K::Character, '\t'}, // table cells read as text separated by tabs
    Entry{"cf", K::Foreground},
    Entry{"colortbl", K::ColorTable},
    Entry{"comment", K::Ignorable},
    Entry{"company", K::Ignorable},
    Entry{"cpg", K::FontCodePage},
    Entry{"creatim", K::Ignorable},
    Entry{"deff", K::DefaultFont},
    Entry{"doccomm", K::Ignorable},
    Entry{"emdash", K::Character, 0x2014},
    Entry{"emspace", K::Character, 0x2003},
    Entry{"endash", K::Character, 0x2013},
    Entry{"enspace", K::Character, 0x2002},
    Entry{"f", K::Font},
    Entry{"fcharset", K::Charset},
    Entry{"fldinst", K::Ignorable},
    Entry{"fonttbl", K::FontTable},
    Entry{"footer", K::Ignorable},
    Entry{"footerf", K::Ignorable},
    Entry{"footerl", K::Ignorable},
    Entry{"footerr", K::Ignorable},
    Entry{"footnote", K::Ignorable},
    Entry{"fs", K::FontSize},
    Entry{"ftncn", K::Ignorable},
    Entry{"ftnsep", K::Ignorable},
    Entry{"ftnsepc", K::Ignorable},
    Entry{"green", K::Green},
    Entry{"header", K::Ignorable},
    Entry{"headerf", K::Ignorable},
    Entry{"headerl", K::Ignorable},
    Entry{"headerr", K::Ignorable},
    Entry{"i", K::Italic},
    Entry{"info", K::Ignorable},
    Entry{"keywords", K::Ignorable},
    Entry{"ldblquote", K::Character, 0x201C},
    Entry{"line", K::Character, 0x2028},
    Entry{"lquote", K::Character, 0x2018},
    Entry{"ltrmark", K::Character, 0x200E},
    Entry{"mac", K::CodePage, 10000},
    Entry{"nestcell", K::Character, '\t'},
    Entry{"nestrow", K::Paragraph},
    Entry{"nonshppict", K::Ignorable},
    Entry{"object", K::Ignorable},
    Entry{"operator", K::Ignorable},
    Entry{"page", K::Paragraph},
    Entry{"par", K::Paragraph},
    Entry{"pc", K::CodePage, 437},
    Entry{"pca", K::CodePage, 850},
    Entry{"pict", K::Ignorable},
    Entry{"plain", K::Plain},
    Entry{"pn", K::Ignorable},
    Entry{"printim", K::Ignorable},
    Entry{"private", K::Ignorable},
    Entry{"qmspace", K::Character, 0x2005},
    Entry{"rdblquote", K::Character, 0x201D},
    Entry{"red", K::Red},
    Entry{"revtbl", K::Ignorable},
    Entry{"revtim", K::Ignorable},
    Entry{"row", K::Paragraph},
    Entry{"rquote", K::Character, 0x2019},
    Entry{"rtlmark", K::Character, 0x200F},
    Entry{"sect", K::Paragraph},
    Entry{"strike", K::Strike},
    Entry{"striked", K::Strike},
    Entry{"stylesheet", K::Ignorable},
    Entry{"subject", K::Ignorable},
    Entry{"tab", K::Character, '\t'},
    Entry{"tc", K::Ignorable},
    Entry{"template", K::Ignorable},
    Entry{"title", K::Ignorable},
    Entry{"txe", K::Ignorable},
    Entry{"u", K::Unicode},
    Entry{"uc", K::UnicodeSkip},
    Entry{"ul", K::Underline},
    Entry{"uld", K::Underline},
    Entry{"uldash", K::Underline},
    Entry{"uldashd", K::Underline},
    Entry{"uldashdd", K::Underline},
    Entry{"uldb", K::Underline},
    Entry{"ulhwave", K::Underline},
    Entry{"ulldash", K::Underline},
    Entry{"ulnone", K::UnderlineNone},
    Entry{"ulth", K::Underline},
    Entry{"ulthd", K::Underline},
    Entry{"ulthdash", K::Underline},
    Entry{"ulthdashd", K::Underline},
    Entry{"ulthdashdd", K::Underline},
    Entry{"ulthldash", K::Underline},
    Entry{"ululdbwave", K::Underline},
    Entry{"ulw", K::Underline},
    Entry{"ulwave", K::Underline},
    Entry{"userprops", K::Ignorable},
    Entry{"xe", K::Ignorable},
    Entry{"zwj", K::Character, 0x200D},
    Entry{"zwnj", K::Character, 0x200C},
};

constexpr bool byName(const Entry& a, const Entry& b) {
    return a.name < b.name;
}
static_assert(std::is_sorted(kEntries.begin(), kEntries.end(), byName));
static_assert(std::adjacent_find(kEntries.begin(), kEntries.end(),
                                 [](const Entry& a, const Entry& b) { return a.name == b.name; }) ==
              kEntries.end());

} // namespace

KeywordInfo lookupKeyword(QByteArrayView name) {
    const std::string_view key(name.data(), static_cast<std::size_t>(name.size()));
    const auto it = std::lower_bound(kEntries.begin(), kEntries.end(), key,
                                     [](const Entry& e, std::string_view k) { return e.name < k; });
    if (it == kEntries.end() || it->name != key)
        return {};
    return {it->keyword, it->value};
}

} // namespace rtf

#pragma once
// The control words the reader acts on, looked up by name.

#include <QByteArrayView>

#include <cstdint>

namespace rtf {

enum class Keyword : std::uint8_t {
    Unknown,
    // Header
    CodePage,    // \ansicpgN; \ansi, \mac, \pc and \pca carry their code page as the value
    DefaultFont, // \deffN
    FontTable,
    ColorTable,
    // Font and colour tables
    Font, // \fN, also the current font in text
    Charset,
    FontCodePage, // \cpgN
    Red,
    Green,
    Blue,
    // Character formatting; a parameter of 0 switches the toggles off
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    Foreground,
    Plain,
    // Text
    Paragraph,
    Character, // the value is the character
    Unicode,
    UnicodeSkip, // \ucN
    // A destination whose group is not text and is skipped whole
    Ignorable,
};

struct KeywordInfo {
    Keyword keyword = Keyword::Unknown;
    int value = 0;
};

/** What a control word means; Unknown for a word the reader ignores. */
KeywordInfo lookupKeyword(QByteArrayView name);

} // namespace rtf

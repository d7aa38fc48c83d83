// Reads RTF into a QTextDocument in one pass over the tokens, with an explicit stack of group
// states: bounded depth, no recursion, and every count taken from the input clamped.

#include "rtf/char_formats.h"
#include "rtf/characters.h"
#include "rtf/code_pages.h"
#include "rtf/document_builder.h"
#include "rtf/keywords.h"
#include "rtf/rtf.h"
#include "rtf/tokenizer.h"

#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <vector>

namespace rtf {

namespace {

constexpr std::size_t kMaxDepth = 256; // groups nested deeper are skipped whole
constexpr int kMaxHalfPoints = 3276;
constexpr char16_t kReplacement = 0xFFFD;

enum class Destination : std::uint8_t { Text, FontTable, ColorTable };

struct GroupState {
    CharState chars;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

class Reader {
public:
    explicit Reader(QTextDocument& document) : m_builder(document) { m_stack.reserve(kMaxDepth); }

    void read(QByteArrayView bytes);

private:
    GroupState& top() { return m_stack.back(); }

    void dispatch(const Token& token);
    void skipped(const Token& token);
    bool takeFallback();
    void openGroup();
    void closeGroup();
    void skipGroup();
    void word(const Token& token);
    void symbol(char c);
    void unicode(int value);
    void text(QByteArrayView bytes);
    void character(char16_t c);
    void paragraph();
    void finish(const CharState& chars);

    void beginRun();
    void dropHighSurrogate();
    void flushRun();
    ByteDecoder decoder();

    DocumentBuilder m_builder; // one change for the document's listeners, not one per run
    std::vector<GroupState> m_stack;
    int m_skippedGroups = 0; // open groups being skipped, the outermost included
    int m_fallback = 0;      // characters still to skip after a \uN
    bool m_done = false;

    int m_codePage = kWindows1252;
    int m_defaultFont = 0;
    CharFormats m_formats;

    QString m_run; // text not yet in the document, all in m_runState
    CharState m_runState;
    bool m_runOpen = false;
    bool m_blockEmpty = true;
    char16_t m_highSurrogate = 0; // waiting for its low half
};

void Reader::read(QByteArrayView bytes) {
    Tokenizer tokens(bytes);
    for (Token token = tokens.next(); token.kind != Token::Kind::End && !m_done;
         token = tokens.next()) {
        if (m_skippedGroups > 0)
            skipped(token);
        else if (!m_stack.empty())
            dispatch(token);
        else if (token.kind == Token::Kind::GroupStart)
            m_stack.push_back(GroupState{});
    }
    if (!m_done && !m_stack.empty())
        finish(top().chars); // cut short: keep what was read
}

void Reader::dispatch(const Token& token) {
    switch (token.kind) {
    case Token::Kind::GroupStart:
        m_fallback = 0;
        openGroup();
        break;
    case Token::Kind::GroupEnd:
        m_fallback = 0;
        closeGroup();
        break;
    case Token::Kind::Word:
        if (!takeFallback())
            word(token);
        break;
    case Token::Kind::Symbol:
        if (!takeFallback())
            symbol(token.symbol);
        break;
    case Token::Kind::HexByte:
        if (!takeFallback() && top().destination != Destination::ColorTable)
            character(decoder().decode(token.byte));
        break;
    case Token::Kind::Text:
        text(token.bytes);
        break;
    case Token::Kind::Binary:
        takeFallback();
        break;
    case Token::Kind::End:
        break;
    }
}

void Reader::skipped(const Token& token) {
    if (token.kind == Token::Kind::GroupStart)
        ++m_skippedGroups;
    else if (token.kind == Token::Kind::GroupEnd)
        --m_skippedGroups;
}

// The fallback after \uN counts every text byte, \'hh, control word and symbol as one character.
bool Reader::takeFallback() {
    if (m_fallback == 0)
        return false;
    --m_fallback;
    return true;
}

void Reader::openGroup() {
    if (m_stack.size() >= kMaxDepth) {
        m_skippedGroups = 1;
        return;
    }
    m_stack.push_back(top());
}

void Reader::closeGroup() {
    if (top().destination == Destination::FontTable && m_formats.hasFontName())
        m_formats.commitFont(); // an entry without its ';'
    if (m_stack.size() == 1) {
        finish(top().chars);
        return;
    }
    m_stack.pop_back();
}

void Reader::skipGroup() {
    m_fallback = 0;
    if (m_stack.size() == 1) { // the whole document is a destination that holds no text
        finish(top().chars);
        return;
    }
    m_stack.pop_back();
    m_skippedGroups = 1;
}

void Reader::word(const Token& token) {
    const KeywordInfo info = lookupKeyword(token.bytes);
    GroupState& group = top();
    CharState& chars = group.chars;
    const int p = token.parameter;
    const bool on = !token.hasParameter || p != 0;
    const bool inFontTable = group.destination == Destination::FontTable;
    const bool inColorTable = group.destination == Destination::ColorTable;
    switch (info.keyword) {
    case Keyword::Unknown:
        break;
    case Keyword::CodePage:
        if (info.value != 0 || p > 0)
            m_codePage = info.value != 0 ? info.value : p;
        break;
    case Keyword::DefaultFont:
        m_defaultFont = p;
        chars.font = p;
        break;
    case Keyword::FontTable:
        group.destination = Destination::FontTable;
        break;
    case Keyword::ColorTable:
        group.destination = Destination::ColorTable;
        break;
    case Keyword::Font:
        if (inFontTable)
            m_formats.setFontNumber(p);
        else
            chars.font = p;
        break;
    case Keyword::Charset:
        if (inFontTable)
            m_formats.setFontCodePage(codePageOfCharset(p));
        break;
    case Keyword::FontCodePage:
        if (inFontTable)
            m_formats.setFontCodePage(p);
        break;
    case Keyword::Red:
        if (inColorTable)
            m_formats.setRed(p);
        break;
    case Keyword::Green:
        if (inColorTable)
            m_formats.setGreen(p);
        break;
    case Keyword::Blue:
        if (inColorTable)
            m_formats.setBlue(p);
        break;
    case Keyword::Bold:
        chars.bold = on;
        break;
    case Keyword::Italic:
        chars.italic = on;
        break;
    case Keyword::Underline:
        chars.underline = on;
        break;
    case Keyword::UnderlineNone:
        chars.underline = false;
        break;
    case Keyword::Strike:
        chars.strike = on;
        break;
    case Keyword::FontSize:
        chars.halfPoints =
            token.hasParameter ? std::clamp(p, 1, kMaxHalfPoints) : kDefaultHalfPoints;
        break;
    case Keyword::Foreground:
        chars.colour = std::max(p, 0);
        break;
    case Keyword::Plain:
        chars = CharState{};
        chars.font = m_defaultFont;
        break;
    case Keyword::Paragraph:
        paragraph();
        break;
    case Keyword::Character:
        character(static_cast<char16_t>(info.value));
        break;
    case Keyword::Unicode:
        if (token.hasParameter)
            unicode(p);
        break;
    case Keyword::UnicodeSkip:
        group.unicodeSkip = std::max(p, 0);
        break;
    case Keyword::Ignorable:
        skipGroup();
        break;
    }
}

void Reader::symbol(char c) {
    switch (c) {
    case '\\':
    case '{':
    case '}':
        character(static_cast<char16_t>(c));
        break;
    case '~':
        character(0x00A0); // no-break space
        break;
    case '-':
        character(0x00AD); // soft hyphen
        break;
    case '_':
        character(0x2011); // no-break hyphen
        break;
    case '\n': // a backslash before a line end is a paragraph mark
        paragraph();
        break;
    case '*': // a destination this reader does not know
        skipGroup();
        break;
    default:
        break;
    }
}

// N is a signed 16-bit number: negative values stand for U+8000 to U+FFFF.
void Reader::unicode(int value) {
    if (value < 0)
        value += 0x10000;
    character(value >= 0 && value <= 0xFFFF ? static_cast<char16_t>(value) : kReplacement);
    m_fallback = top().unicodeSkip;
}

void Reader::text(QByteArrayView bytes) {
    if (m_fallback > 0) {
        const qsizetype n = std::min<qsizetype>(m_fallback, bytes.size());
        m_fallback -= static_cast<int>(n);
        bytes = bytes.sliced(n);
    }
    if (bytes.isEmpty())
        return;
    switch (top().destination) {
    case Destination::Text: {
        std::optional<ByteDecoder> decode; // looked up only for text beyond ASCII
        dropHighSurrogate();
        beginRun();
        for (const char c : bytes) {
            const auto b = static_cast<std::uint8_t>(c);
            if (b >= 0x80) {
                if (!decode)
                    decode = decoder();
                m_run.append(QChar(decode->decode(b)));
            } else if (b >= 0x20 || b == '\t')
                m_run.append(QChar(char16_t{b}));
        }
        break;
    }
    case Destination::FontTable: {
        const ByteDecoder decode = decoder();
        for (const char c : bytes) {
            if (c == ';')
                m_formats.commitFont();
            else
                character(decode.decode(static_cast<std::uint8_t>(c)));
        }
        break;
    }
    case Destination::ColorTable:
        for (const char c : bytes) {
            if (c == ';')
                m_formats.commitColour();
        }
        break;
    }
}

void Reader::character(char16_t c) {
    switch (top().destination) {
    case Destination::FontTable:
        m_formats.appendToFontName(c);
        return;
    case Destination::ColorTable:
        return;
    case Destination::Text:
        break;
    }
    if (m_highSurrogate != 0 && QChar::isLowSurrogate(c)) {
        beginRun();
        m_run.append(QChar(m_highSurrogate));
        m_run.append(QChar(c));
        m_highSurrogate = 0;
        return;
    }
    dropHighSurrogate();
    if (QChar::isHighSurrogate(c)) {
        m_highSurrogate = c;
    } else if (c == QChar::ParagraphSeparator) {
        paragraph();
    } else if (isCarriedText(c)) {
        beginRun();
        m_run.append(QChar(QChar::isLowSurrogate(c) ? kReplacement : c));
    }
}

void Reader::paragraph() {
    if (top().destination != Destination::Text)
        return;
    dropHighSurrogate();
    flushRun();
    if (m_blockEmpty)
        m_builder.setBlockCharFormat(m_formats.format(top().chars));
    m_builder.insertBlock(m_formats.formatIn(m_builder, top().chars));
    m_blockEmpty = true;
}

void Reader::finish(const CharState& chars) {
    dropHighSurrogate();
    flushRun();
    if (m_blockEmpty)
        m_builder.setBlockCharFormat(m_formats.format(chars));
    m_done = true;
}

void Reader::beginRun() {
    const CharState& chars = top().chars;
    if (m_runOpen && chars == m_runState)
        return;
    flushRun();
    m_runState = chars;
    m_runOpen = true;
}

void Reader::dropHighSurrogate() {
    if (m_highSurrogate == 0)
        return;
    m_highSurrogate = 0;
    beginRun();
    m_run.append(QChar(kReplacement));
}

void Reader::flushRun() {
    if (m_run.isEmpty())
        return;
    m_builder.insertText(m_run, m_formats.formatIn(m_builder, m_runState));
    m_run.truncate(0); // keeps the buffer
    m_blockEmpty = false;
}

// \'hh bytes are in the code page of the current font, or of the font table entry being read.
ByteDecoder Reader::decoder() {
    const int codePage = top().destination == Destination::FontTable
                             ? m_formats.fontEntryCodePage()
                             : m_formats.codePageOf(top().chars.font);
    return ByteDecoder(codePage != 0 ? codePage : m_codePage);
}

bool beginsWithRtfGroup(QByteArrayView bytes) {
    qsizetype start = 0;
    while (start < bytes.size() && QByteArrayView(" \t\r\n").contains(bytes[start]))
        ++start;
    Tokenizer tokens(bytes.sliced(start));
    if (tokens.next().kind != Token::Kind::GroupStart)
        return false;
    const Token word = tokens.next();
    return word.kind == Token::Kind::Word && word.bytes == QByteArrayView("rtf");
}

} // namespace

bool read(QByteArrayView bytes, QTextDocument& document) {
    if (!beginsWithRtfGroup(bytes))
        return false;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false); // loading is not an edit to undo
    document.clear();
    Reader(document).read(bytes);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    return true;
}

} // namespace rtf

// Writes a QTextDocument as RTF in one pass over its blocks and fragments: the body is written
// while the font and colour tables are gathered, then header, tables and body are joined.

#include "rtf/characters.h"
#include "rtf/code_pages.h"
#include "rtf/rtf.h"

#include <QBrush>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <charconv>

namespace rtf {

namespace {

constexpr int kPlainHalfPoints = 24; // the size a reader starts with
constexpr int kMaxHalfPoints = 3276;

struct RunState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = 0;
    int halfPoints = kPlainHalfPoints;
    int colour = 0; // 0: auto

    bool operator==(const RunState&) const = default;
};

void appendNumber(QByteArray& out, int value) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

// \uN takes N as a signed 16-bit number; '?' is the fallback for readers without Unicode.
void appendUnicode(QByteArray& out, char16_t c) {
    out += "\\u";
    appendNumber(out, c > 0x7FFF ? c - 0x10000 : c);
    out += '?';
}

bool isPlain(char16_t c, bool fontName) {
    return c >= 0x20 && c < 0x80 && c != u'\\' && c != u'{' && c != u'}' &&
           !(fontName && c == u';');
}

/** Appends text, escaped. `delimit` tells whether the output ends in a control word that a
 * letter, digit or space would run into; a space then ends it first. In a font name ';' is
 * escaped as it ends the entry. */
void appendEscaped(QByteArray& out, QStringView text, bool& delimit, bool fontName) {
    static constexpr char kHex[] = "0123456789abcdef";
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype end = i;
        while (end < n && isPlain(text[end].unicode(), fontName))
            ++end;
        if (end > i) {
            if (delimit)
                out += ' ';
            delimit = false;
            const qsizetype at = out.size();
            out.resize(at + (end - i));
            char* dst = out.data() + at;
            for (; i < end; ++i)
                *dst++ = static_cast<char>(text[i].unicode());
            continue;
        }
        const char16_t c = text[i++].unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == u'\t' || c == QChar::LineSeparator) {
            out += c == u'\t' ? "\\tab" : "\\line";
            delimit = true;
            continue;
        } else if (!isCarriedText(c)) {
            continue;
        } else if (c == u';') { // only in a font name, where it would end the entry
            out += "\\'3b";
        } else if (const auto byte = windows1252Byte(c)) {
            out += "\\'";
            out += kHex[*byte >> 4];
            out += kHex[*byte & 0xF];
        } else if (QChar::isHighSurrogate(c) && i < n && text[i].isLowSurrogate()) {
            appendUnicode(out, c);
            appendUnicode(out, text[i++].unicode());
        } else {
            appendUnicode(out, QChar::isSurrogate(c) ? char16_t{0xFFFD} : c);
        }
        delimit = false;
    }
}

class Writer {
public:
    explicit Writer(const QTextDocument& document);
    QByteArray write();

private:
    void block(const QTextBlock& block);
    RunState stateOf(const QTextCharFormat& format, int formatIndex);
    void switchTo(const RunState& state);
    void word(const char* name);
    void word(const char* name, int parameter);
    int fontIndex(const QString& family);
    int colourIndex(const QBrush& brush);

    const QTextDocument& m_document;
    const QFont m_defaultFont;
    QByteArray m_body;
    QByteArray m_fontTable;
    QByteArray m_colourTable;
    QHash<QString, int> m_fonts;
    QHash<QRgb, int> m_colours;
    QHash<int, RunState> m_states; // by the document's char format index
    RunState m_state;
    bool m_delimit = false;
};

Writer::Writer(const QTextDocument& document)
    : m_document(document), m_defaultFont(document.defaultFont()) {
    fontIndex(m_defaultFont.family()); // font 0, the \deff0 font
}

QByteArray Writer::write() {
    m_body.reserve(m_document.characterCount() * 9 / 8 + 64);
    for (QTextBlock b = m_document.begin(); b.isValid(); b = b.next()) {
        if (b != m_document.begin()) {
            m_body += "\\par\n"; // the line end ends the word
            m_delimit = false;
        }
        block(b);
    }
    QByteArray out;
    out.reserve(m_body.size() + m_fontTable.size() + m_colourTable.size() + 96);
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    out += m_fontTable;
    out += "}\n{\\colortbl;";
    out += m_colourTable;
    out += "}\n";
    out += m_body;
    out += "}\n";
    return out;
}

void Writer::block(const QTextBlock& block) {
    if (block.length() <= 1) { // only its separator: the block's own format is what it shows
        switchTo(stateOf(block.charFormat(), block.charFormatIndex()));
        return;
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        switchTo(stateOf(fragment.charFormat(), fragment.charFormatIndex()));
        appendEscaped(m_body, fragment.text(), m_delimit, false);
    }
}

// What a format shows once the properties it leaves unset are taken from the default font.
RunState Writer::stateOf(const QTextCharFormat& format, int formatIndex) {
    const auto known = m_states.constFind(formatIndex);
    if (known != m_states.constEnd())
        return *known;
    const QFont font = format.font().resolve(m_defaultFont);
    qreal points = font.pointSizeF();
    if (points <= 0)
        points = font.pixelSize() * 0.75; // at 96 pixels per inch
    RunState state;
    state.bold = font.weight() >= QFont::DemiBold;
    state.italic = font.italic();
    state.underline = font.underline();
    state.strike = font.strikeOut();
    state.font = fontIndex(font.family());
    state.halfPoints =
        points > 0 ? std::clamp(qRound(points * 2), 1, kMaxHalfPoints) : kPlainHalfPoints;
    state.colour = colourIndex(format.foreground());
    m_states.insert(formatIndex, state);
    return state;
}

void Writer::switchTo(const RunState& state) {
    if (state.bold != m_state.bold)
        word(state.bold ? "b" : "b0");
    if (state.italic != m_state.italic)
        word(state.italic ? "i" : "i0");
    if (state.underline != m_state.underline)
        word(state.underline ? "ul" : "ulnone");
    if (state.strike != m_state.strike)
        word(state.strike ? "strike" : "strike0");
    if (state.font != m_state.font)
        word("f", state.font);
    if (state.halfPoints != m_state.halfPoints)
        word("fs", state.halfPoints);
    if (state.colour != m_state.colour)
        word("cf", state.colour);
    m_state = state;
}

void Writer::word(const char* name) {
    m_body += '\\';
    m_body += name;
    m_delimit = true;
}

void Writer::word(const char* name, int parameter) {
    word(name);
    appendNumber(m_body, parameter);
}

int Writer::fontIndex(const QString& family) {
    const auto known = m_fonts.constFind(family);
    if (known != m_fonts.constEnd())
        return *known;
    const int index = static_cast<int>(m_fonts.size());
    m_fonts.insert(family, index);
    m_fontTable += "{\\f";
    appendNumber(m_fontTable, index);
    m_fontTable += "\\fnil\\fcharset0 ";
    bool delimit = false;
    appendEscaped(m_fontTable, family, delimit, true);
    m_fontTable += ";}";
    return index;
}

// Colour 0 is auto, the entry left empty at the head of the table.
int Writer::colourIndex(const QBrush& brush) {
    if (brush.style() == Qt::NoBrush)
        return 0;
    const QColor colour = brush.color();
    const auto known = m_colours.constFind(colour.rgb());
    if (known != m_colours.constEnd())
        return *known;
    const int index = static_cast<int>(m_colours.size()) + 1;
    m_colours.insert(colour.rgb(), index);
    m_colourTable += "\\red";
    appendNumber(m_colourTable, colour.red());
    m_colourTable += "\\green";
    appendNumber(m_colourTable, colour.green());
    m_colourTable += "\\blue";
    appendNumber(m_colourTable, colour.blue());
    m_colourTable += ';';
    return index;
}

} // namespace

QByteArray write(const QTextDocument& document) {
    return Writer(document).write();
}

} // namespace rtf

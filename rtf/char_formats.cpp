// The font and colour tables of RTF as the reader collects them, and the QTextCharFormat that
// each state of character formatting stands for.

#include "rtf/char_formats.h"

#include "rtf/characters.h"
#include "rtf/document_builder.h"

#include <QFont>

#include <algorithm>

namespace rtf {

namespace {
constexpr qsizetype kMaxFontName = 256;
}

size_t qHash(const CharState& state, size_t seed) {
    return qHashMulti(seed, state.bold, state.italic, state.underline, state.strike, state.font,
                      state.halfPoints, state.colour);
}

void CharFormats::appendToFontName(char16_t c) {
    if (isCarriedText(c) && m_entryName.size() < kMaxFontName)
        m_entryName.append(QChar(c));
}

void CharFormats::commitFont() {
    if (m_entryNumber >= 0) {
        m_fonts.insert(m_entryNumber, Font{m_entryName.trimmed(), m_entryCodePage});
        m_made.clear();
    }
    m_entryNumber = -1;
    m_entryCodePage = 0;
    m_entryName.clear();
}

void CharFormats::setRed(int value) {
    m_red = std::clamp(value, 0, 255);
    m_colourSet = true;
}

void CharFormats::setGreen(int value) {
    m_green = std::clamp(value, 0, 255);
    m_colourSet = true;
}

void CharFormats::setBlue(int value) {
    m_blue = std::clamp(value, 0, 255);
    m_colourSet = true;
}

void CharFormats::commitColour() {
    m_colours.append(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_made.clear();
    m_red = m_green = m_blue = 0;
    m_colourSet = false;
}

int CharFormats::codePageOf(int font) const {
    const auto it = m_fonts.constFind(font);
    return it != m_fonts.constEnd() ? it->codePage : 0;
}

CharFormats::Made& CharFormats::made(const CharState& state) {
    const auto known = m_made.find(state);
    if (known != m_made.end())
        return *known;
    QTextCharFormat format;
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    format.setFontStrikeOut(state.strike);
    format.setFontPointSize(state.halfPoints / 2.0);
    const auto font = m_fonts.constFind(state.font);
    if (font != m_fonts.constEnd() && !font->family.isEmpty())
        format.setFontFamilies(QStringList{font->family});
    if (state.colour >= 0 && state.colour < m_colours.size() && m_colours[state.colour].isValid())
        format.setForeground(m_colours[state.colour]);
    return *m_made.insert(state, Made{format});
}

QTextCharFormat CharFormats::format(const CharState& state) {
    return made(state).format;
}

int CharFormats::formatIn(DocumentBuilder& builder, const CharState& state) {
    Made& known = made(state);
    if (known.number < 0)
        known.number = builder.charFormat(known.format);
    return known.number;
}

} // namespace rtf

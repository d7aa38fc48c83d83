#pragma once
// The font and colour tables of RTF as the reader collects them, and the QTextCharFormat that
// each state of character formatting stands for.

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextCharFormat>

namespace rtf {

class DocumentBuilder;

/** The size when none is given: 12 points. */
inline constexpr int kDefaultHalfPoints = 24;

/** The character formatting in force in a group, in RTF's terms. */
struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = 0;
    int halfPoints = kDefaultHalfPoints;
    int colour = 0;

    bool operator==(const CharState&) const = default;
};

size_t qHash(const CharState& state, size_t seed = 0);

class CharFormats {
public:
    // The font table entry being read: \fN, \fcharsetN or \cpgN, the name, then ';' or the end
    // of the entry's group.
    void setFontNumber(int number) { m_entryNumber = number; }
    void setFontCodePage(int codePage) { m_entryCodePage = codePage; }
    void appendToFontName(char16_t c);
    bool hasFontName() const { return !m_entryName.isEmpty(); }
    void commitFont();
    /** The code page of \'hh bytes in the entry being read; 0 when it names none. */
    int fontEntryCodePage() const { return m_entryCodePage; }

    // The colour table entry being read: \redN \greenN \blueN (each clamped to 0..255), then ';'.
    // An entry with none of them stands for the automatic colour.
    void setRed(int value);
    void setGreen(int value);
    void setBlue(int value);
    void commitColour();

    /** The code page of a font's \'hh bytes; 0 when it names none or is not in the table. */
    int codePageOf(int font) const;

    /** What text in a state looks like: every property set, the family only when the font table
     * names one and the colour only when the colour table holds one that is not auto. */
    QTextCharFormat format(const CharState& state);

    /** The same format as the document being built numbers it. */
    int formatIn(DocumentBuilder& builder, const CharState& state);

private:
    struct Font {
        QString family;
        int codePage = 0;
    };

    QHash<int, Font> m_fonts;
    QList<QColor> m_colours; // invalid: auto
    int m_entryNumber = -1;
    int m_entryCodePage = 0;
    QString m_entryName;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colourSet = false;
    struct Made {
        QTextCharFormat format;
        int number = -1; // in the document being built; -1 until asked for
    };
    // Formats made once per state, and numbered once: the document recognises a format it has
    // seen by its shared data far faster than by its properties, and by its number at once.
    // Emptied when a table changes what a state means.
    Made& made(const CharState& state);
    QHash<CharState, Made> m_made;
};

} // namespace rtf

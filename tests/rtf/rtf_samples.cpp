// Sample documents and RTF for the RTF tests, the fuzzer's seed corpus and the benchmark.

#include "tests/rtf/rtf_samples.h"

#include <QColor>
#include <QTextCursor>
#include <QTextDocument>

#include <array>

namespace rtfsamples {

namespace {

// In the manner of WordPad: a Cyrillic font whose \'hh bytes are code page 1251, and the final
// paragraph mark that leaves an empty last paragraph.
const char kWordPad[] =
    R"({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1033{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset204 Arial;}}
{\colortbl ;\red255\green0\blue0;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\f0\fs22\lang9 Hello \b bold\b0  and \cf1 red\cf0  text.\par
\f1\lang1049\'cf\'f0\'e8\'e2\'e5\'f2\f0\lang9\par
}
)";

// In the manner of Word: panose and alternative names in the font table, a style sheet, document
// information, unknown \* destinations, pictures in hex, a field, \uc1 and \uc0.
const char kWord[] =
    R"({\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff0\deff0\stshfdbch0\stshfloch31506\deflang1033\themelang1033{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}
{\f1\fbidi \fswiss\fcharset0\fprq2{\*\panose 020b0604020202020204}Arial{\*\falt Helvetica};}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;}
{\stylesheet{\ql \li0\ri0\widctlpar\wrapdefault\rtlch\fcs1 \af0\afs24\alang1025 \ltrch\fcs0 \fs24\lang1033\snext0 \sqformat \spriority0 Normal;}{\*\cs10 \additive \ssemihidden Default Paragraph Font;}}
{\*\rsidtbl \rsid1208430}{\info{\title Notes}{\author Someone}{\creatim\yr2024\mo1\dy2\hr3\min4}{\nofpages1}}
{\*\xmlnstbl {\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}
\paperw12240\paperh15840\margl1440\margr1440 \sectd \pard\plain \ltrpar\ql \rtlch\fcs1 \af0\afs24 \ltrch\fcs0 \fs24\lang1033 {\rtlch\fcs1 \af0 \ltrch\fcs0 \insrsid1208430 Plain {\b\i bold italic} \{braces\} \\ end.}\par
{\f1\fs20\cf2 Euro \u8364\'80, snowman {\uc0\u9731}, emoji \u-10179?\u-8704?.}\par
{\*\shppict{\pict\pngblip\picw10\pich10 89504e470d0a1a0a0000000d49484452}}{\nonshppict{\pict\wmetafile8 0100090000}}Picture gone.\par
{\field{\*\fldinst HYPERLINK "http://example.com"}{\fldrslt {\ul\cf2 link}}} after}
)";

// Odd but valid: a font table without inner groups and a Hebrew font (code page 1255), control
// symbols, a negative parameter, \uc2, \bin data holding braces, a word split by a line end and
// an unknown control word.
const char kOddities[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl\\f0\\froman Times;\\f1\\fswiss\\fcharset177 David;}\n"
    "\\pard\\fi-360\\li720 A\\~B\\-C\\_D\\tab E\\line F\\par\n"
    "\\f1 \\'f9\\'ec\\'e5\\'ed {\\uc2\\u1488\\'e0\\'e0}\\f0\\par\n"
    "{\\pict\\bin5 {}}{}\\par\\par}After bin\\par\n"
    "Spl\r\nit \\unknownword-12 word\\emdash end}";

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}

} // namespace

QList<ForeignSample> foreignSamples() {
    return {
        {"wordpad", kWordPad, {QStringLiteral("Hello bold and red text."), text(u"Привет"), {}}},
        {"word",
         kWord,
         {QStringLiteral("Plain bold italic {braces} \\ end."),
          text(u"Euro \u20AC, snowman \u2603, emoji \U0001F600."), QStringLiteral("Picture gone."),
          QStringLiteral("link after")}},
        {"oddities",
         kOddities,
         {text(u"A\u00A0B\u00ADC\u2011D\tE\u2028F"), text(u"\u05E9\u05DC\u05D5\u05DD \u05D0"),
          QStringLiteral("After bin"), text(u"Split word\u2014end")}},
    };
}

void fillShowcase(QTextDocument& document) {
    QTextCursor cursor(&document);
    const auto run = [&cursor](const QString& s, auto&& setUp) {
        QTextCharFormat format;
        setUp(format);
        cursor.insertText(s, format);
    };
    const auto plain = [](QTextCharFormat&) {};
    run(QStringLiteral("Plain, "), plain);
    run(QStringLiteral("bold, "), [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); });
    run(QStringLiteral("italic, "), [](QTextCharFormat& f) { f.setFontItalic(true); });
    run(QStringLiteral("underlined, "), [](QTextCharFormat& f) { f.setFontUnderline(true); });
    run(QStringLiteral("struck out"), [](QTextCharFormat& f) { f.setFontStrikeOut(true); });
    cursor.insertBlock();
    run(QStringLiteral("Courier 9 pt "), [](QTextCharFormat& f) {
        f.setFontFamilies({QStringLiteral("Courier New")});
        f.setFontPointSize(9);
    });
    run(QStringLiteral("20.5 pt red "), [](QTextCharFormat& f) {
        f.setFontPointSize(20.5);
        f.setForeground(QColor(200, 0, 0));
    });
    run(QStringLiteral("all at once"), [](QTextCharFormat& f) {
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setFontStrikeOut(true);
        f.setFontFamilies({QStringLiteral("Serif; with semicolon")});
        f.setForeground(QColor(0, 128, 255));
    });
    cursor.insertBlock();
    run(text(u"Grüße \u2603, \u05E9\u05DC\u05D5\u05DD, \u0633\u0644\u0627\u0645, \U0001F600, "
             u"\u6F22\u5B57"),
        plain);
    cursor.insertBlock();
    run(text(u"tab\there, line\u2028break, {braces} \\ backslash, \u20AC \u2030 \u00A0nbsp"),
        plain);
    QTextCharFormat big;
    big.setFontPointSize(30);
    cursor.insertBlock(QTextBlockFormat(), big); // empty, keeping its own size
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    run(QStringLiteral("Last paragraph."), plain);
}

void fillMixed(QTextDocument& document, qsizetype characters, int formattedEvery) {
    static const std::array<QString, 12> kWords = {QStringLiteral("alpha"),
                                                   QStringLiteral("object"),
                                                   QStringLiteral("range"),
                                                   QStringLiteral("damage"),
                                                   QStringLiteral("{shadow}"),
                                                   text(u"Grüße"),
                                                   text(u"\u2603"),
                                                   text(u"\u05E9\u05DC\u05D5\u05DD"),
                                                   QStringLiteral("tab\t"),
                                                   text(u"\U0001F600"),
                                                   QStringLiteral("1.25"),
                                                   QStringLiteral("back\\slash")};
    std::array<QTextCharFormat, 8> formats;
    formats[1].setFontWeight(QFont::Bold);
    formats[2].setFontItalic(true);
    formats[3].setFontUnderline(true);
    formats[4].setFontFamilies({QStringLiteral("Courier New")});
    formats[5].setFontPointSize(14);
    formats[6].setForeground(QColor(180, 20, 20));
    formats[7].setFontWeight(QFont::Bold);
    formats[7].setForeground(QColor(20, 20, 180));

    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    quint32 seed = 12345;
    const auto next = [&seed](quint32 n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    qsizetype written = 0;
    while (written < characters) {
        if (written > 0)
            cursor.insertBlock();
        const quint32 words = 8 + next(24);
        for (quint32 w = 0; w < words; ++w) {
            const QString word = kWords[next(kWords.size())] + u' ';
            const QTextCharFormat& format =
                next(static_cast<quint32>(formattedEvery)) == 0 ? formats[1 + next(7)] : formats[0];
            cursor.insertText(word, format);
            written += word.size();
        }
        ++written;
    }
    cursor.endEditBlock();
}

} // namespace rtfsamples

// The RTF reader and writer: round trips of formatted documents, what the writer puts out, RTF
// written by other programs, input that is not RTF, and damaged input.

#include "rtf/rtf.h"
#include "tests/rtf/rtf_samples.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A run as the reader sees it: its text and what its format shows, unset properties taken from
// the document's default font.
struct Run {
    QString text;
    bool bold, italic, underline, strike;
    QString family;
    qreal points;
    QColor colour; // invalid: auto

    QString look() const {
        return QStringLiteral("b%1 i%2 u%3 s%4 %5 %6pt %7")
            .arg(bold)
            .arg(italic)
            .arg(underline)
            .arg(strike)
            .arg(family)
            .arg(points)
            .arg(colour.isValid() ? colour.name() : QStringLiteral("auto"));
    }
};

Run look(const QTextDocument& document, const QTextCharFormat& format, const QString& text) {
    const QFont font = format.font().resolve(document.defaultFont());
    const QBrush brush = format.foreground();
    return {text,
            font.weight() >= QFont::DemiBold,
            font.italic(),
            font.underline(),
            font.strikeOut(),
            font.family(),
            font.pointSizeF(),
            brush.style() == Qt::NoBrush ? QColor() : brush.color()};
}

// Block by block, each run's look and text, adjacent runs of the same look joined; an empty block
// shows the look of its own format.
QStringList runsOf(const QTextDocument& document) {
    QStringList blocks;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        QList<Run> runs;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const Run run = look(document, it.fragment().charFormat(), it.fragment().text());
            if (!runs.isEmpty() && runs.last().look() == run.look())
                runs.last().text += run.text;
            else
                runs.append(run);
        }
        if (runs.isEmpty())
            runs.append(look(document, b.charFormat(), {}));
        QString text;
        for (const Run& run : runs)
            text += u"["_s + run.look() + u"] "_s + run.text;
        blocks.append(text);
    }
    return blocks;
}

QStringList paragraphsOf(const QTextDocument& document) {
    QStringList paragraphs;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        paragraphs.append(b.text());
    return paragraphs;
}

Run runAt(const QTextDocument& document, int block, const QString& text) {
    const QTextBlock b = document.findBlockByNumber(block);
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        if (it.fragment().text().contains(text))
            return look(document, it.fragment().charFormat(), text);
    }
    return {};
}

bool isAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c > 0; });
}

} // namespace

class RtfTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("showcase") << QStringLiteral("showcase");
        QTest::newRow("mixed") << QStringLiteral("mixed");
        QTest::newRow("default font") << QStringLiteral("default font");
        QTest::newRow("empty") << QStringLiteral("empty");
        QTest::newRow("empty paragraphs") << QStringLiteral("empty paragraphs");
    }
    void roundTrip() {
        QFETCH(QString, kind);
        QTextDocument original;
        if (kind == u"showcase")
            rtfsamples::fillShowcase(original);
        else if (kind == u"mixed")
            rtfsamples::fillMixed(original, 3000);
        else if (kind == u"default font") {
            QFont font(QStringLiteral("Courier New"), 15);
            font.setItalic(true);
            original.setDefaultFont(font);
            rtfsamples::fillShowcase(original);
        } else if (kind == u"empty paragraphs")
            original.setPlainText(QStringLiteral("\n\n"));

        const QByteArray rtf = rtf::write(original);
        QVERIFY(isAscii(rtf));
        QTextDocument copy;
        copy.setDefaultFont(QFont(QStringLiteral("Serif"), 7)); // the copy's own is not used
        QVERIFY(rtf::read(rtf, copy));
        QCOMPARE(paragraphsOf(copy), paragraphsOf(original));
        QCOMPARE(runsOf(copy), runsOf(original));
        copy.setDefaultFont(original.defaultFont()); // explicit formats stay as they are
        QCOMPARE(rtf::write(copy), rtf);
        QVERIFY(!copy.isModified());
        QVERIFY(!copy.isUndoAvailable());
    }

    void writerEscapes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("Windows-1252")
            << QStringLiteral("Grüße ☃") << QByteArray("Gr\\'fc\\'dfe \\u9731?");
        QTest::newRow("1252 above Latin-1") << QStringLiteral("€‰") << QByteArray("\\'80\\'89");
        QTest::newRow("right to left")
            << QStringLiteral("שלום") << QByteArray("\\u1513?\\u1500?\\u1493?\\u1501?");
        QTest::newRow("beyond the BMP")
            << QStringLiteral("x😀") << QByteArray("x\\u-10179?\\u-8704?");
        QTest::newRow("tab and line")
            << QStringLiteral("a\tb\u2028c") << QByteArray("a\\tab b\\line c");
        QTest::newRow("braces") << QStringLiteral("{a}\\") << QByteArray("\\{a\\}\\\\");
        QTest::newRow("paragraphs") << QStringLiteral("a\n1") << QByteArray("a\\par\n1");
    }
    void writerEscapes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, body);
        QTextDocument document;
        document.setDefaultFont(QFont(QStringLiteral("Arial"), 12)); // the size \plain implies
        document.setPlainText(text);
        const QByteArray rtf = rtf::write(document);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0"));
        QVERIFY2(rtf.contains("}\n" + body + "}\n"), rtf.constData());
    }

    void writerDefaultFont() {
        QTextDocument document;
        document.setDefaultFont(QFont(QStringLiteral("Courier New"), 10, QFont::Bold));
        document.setPlainText(QStringLiteral("x"));
        const QByteArray rtf = rtf::write(document);
        QVERIFY2(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}"), rtf.constData());
        QVERIFY2(rtf.contains("}\n\\b\\fs20 x}"), rtf.constData());
    }

    void foreignRtf_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QStringList>("paragraphs");
        for (const auto& sample : rtfsamples::foreignSamples())
            QTest::newRow(sample.name) << sample.rtf << sample.paragraphs;
    }
    void foreignRtf() {
        QFETCH(QByteArray, rtf);
        QFETCH(QStringList, paragraphs);
        QTextDocument document;
        QVERIFY(rtf::read(rtf, document));
        QCOMPARE(paragraphsOf(document), paragraphs);
    }

    void foreignFormats() {
        const auto samples = rtfsamples::foreignSamples();
        QTextDocument wordPad;
        QVERIFY(rtf::read(samples[0].rtf, wordPad));
        const Run bold = runAt(wordPad, 0, QStringLiteral("bold"));
        QVERIFY(bold.bold && !bold.italic);
        QCOMPARE(bold.family, QStringLiteral("Calibri"));
        QCOMPARE(bold.points, 11.0);
        QCOMPARE(runAt(wordPad, 0, QStringLiteral("red")).colour, QColor(255, 0, 0));
        QCOMPARE(runAt(wordPad, 0, QStringLiteral(" text")).colour, QColor()); // \cf0 is auto
        QCOMPARE(runAt(wordPad, 1, QStringLiteral("П")).family, QStringLiteral("Arial"));

        QTextDocument word;
        QVERIFY(rtf::read(samples[1].rtf, word));
        const Run plain = runAt(word, 0, QStringLiteral("Plain"));
        QVERIFY(!plain.bold && !plain.italic && !plain.underline);
        QCOMPARE(plain.family, QStringLiteral("Times New Roman"));
        QCOMPARE(plain.points, 12.0);
        const Run boldItalic = runAt(word, 0, QStringLiteral("bold italic"));
        QVERIFY(boldItalic.bold && boldItalic.italic);
        const Run euro = runAt(word, 1, QStringLiteral("Euro"));
        QCOMPARE(euro.family, QStringLiteral("Arial"));
        QCOMPARE(euro.points, 10.0);
        QCOMPARE(euro.colour, QColor(0, 0, 255));
        const Run link = runAt(word, 3, QStringLiteral("link"));
        QVERIFY(link.underline);
        QCOMPARE(link.colour, QColor(0, 0, 255));
        QVERIFY(!runAt(word, 3, QStringLiteral("after")).underline);
    }

    void notRtf_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain text") << QByteArray("Notes about objects\n");
        QTest::newRow("header later") << QByteArray("x {\\rtf1 a}");
        QTest::newRow("other word") << QByteArray("{\\rtfx1 a}");
        QTest::newRow("no group") << QByteArray("\\rtf1 a}");
        QTest::newRow("text before word") << QByteArray("{ \\rtf1 a}");
        QTest::newRow("truncated header") << QByteArray("{\\rt");
    }
    void notRtf() {
        QFETCH(QByteArray, bytes);
        QTextDocument document;
        document.setPlainText(QStringLiteral("kept"));
        QVERIFY(!rtf::read(bytes, document));
        QCOMPARE(document.toPlainText(), QStringLiteral("kept"));
    }

    void damagedInput_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QStringList>("paragraphs");
        const QByteArray deep(100000, '{');
        const QByteArray deepEnd(100000, '}');
        QTest::newRow("white space first") << QByteArray(" \r\n{\\rtf a}") << QStringList{u"a"_s};
        QTest::newRow("cut short") << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b bold\\par sec")
                                   << QStringList{u"bold"_s, u"sec"_s};
        QTest::newRow("after the end") << QByteArray("{\\rtf1 a}b}c{d") << QStringList{u"a"_s};
        QTest::newRow("deep nesting")
            << "{\\rtf1 a" + deep + "x" + deepEnd + "b}" << QStringList{u"ab"_s};
        QTest::newRow("deep, never closed") << "{\\rtf1 a" + deep + "x" << QStringList{u"a"_s};
        QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin99999999999 bc}")
                                  << QStringList{u"a"_s};
        QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << QStringList{u"ab"_s};
        QTest::newRow("huge uc") << QByteArray("{\\rtf1\\uc999999999\\u65 abc{d}e}")
                                 << QStringList{u"Ade"_s};
        QTest::newRow("lone surrogates") << QByteArray("{\\rtf1\\u-10179?x\\u-8704?}")
                                         << QStringList{QStringLiteral("\uFFFDx\uFFFD")};
        QTest::newRow("u out of range")
            << QByteArray("{\\rtf1\\u70000?}") << QStringList{QStringLiteral("\uFFFD")};
        QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zz\\'4}") << QStringList{u"azz4"_s};
        QTest::newRow("backslash at end") << QByteArray("{\\rtf1 a\\") << QStringList{u"a"_s};
        QTest::newRow("long word")
            << "{\\rtf1\\" + QByteArray(1000, 'b') + " x}" << QStringList{u"x"_s};
        QTest::newRow("control characters")
            << QByteArray("{\\rtf1 a\x01\\u13?\\u0?b\\u8233?c}") << QStringList{u"ab"_s, u"c"_s};
        QTest::newRow("whole group ignorable")
            << QByteArray("{\\rtf1\\pict 0a0b}") << QStringList{u""_s};
    }
    void damagedInput() {
        QFETCH(QByteArray, rtf);
        QFETCH(QStringList, paragraphs);
        QTextDocument document;
        QVERIFY(rtf::read(rtf, document));
        QCOMPARE(paragraphsOf(document), paragraphs);
    }

    void clampedFontSize() {
        QTextDocument document;
        QVERIFY(rtf::read("{\\rtf1\\fs99999999999999 a\\fs-4 b}", document));
        QCOMPARE(runAt(document, 0, QStringLiteral("a")).points, 1638.0);
        QCOMPARE(runAt(document, 0, QStringLiteral("b")).points, 0.5);
    }
};

QTEST_MAIN(RtfTest)
#include "rtf_test.moc"

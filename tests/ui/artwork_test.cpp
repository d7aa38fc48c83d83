// The drawn artwork at the screen's pixel density: run at a scale factor of 2, the windows keep
// their sizes in device-independent pixels while the background, the glyphs and the icon have
// twice the pixels each way, drawn finer rather than enlarged. And the background drawn from
// its weave tile looks as the picture drawn line by line.

#include "editor/record_view.h"
#include "ui/artwork/artwork.h"
#include "ui/artwork/backdrop.h"
#include "ui/controls/glyph_button.h"
#include "ui/forms/editor_form.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <functional>

using ui::artwork::Glyph;

namespace {

constexpr qreal kScale = 2.0;

/** The largest difference of one colour channel between two images of one size. */
int largestDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return largest;
}

/** The mean difference of the colour channels of two images of one size. */
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * x.width() * x.height());
}

/** The part of the background the editor window shows, drawn for ratio. */
QImage backgroundAt(qreal ratio) {
    const QRect shown(178, 140, 667, 488);
    QImage image(shown.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    QPainter p(&image);
    p.translate(-shown.topLeft());
    ui::artwork::drawBackground(p, shown);
    return image;
}

} // namespace

class ArtworkTest : public QObject {
    Q_OBJECT

private slots:
    void backgroundLooksAsDrawnLineByLine() {
        QImage reference(ui::artwork::kBackgroundSize, QImage::Format_RGB32);
        QPainter p(&reference);
        QLinearGradient wash(0, 0, 0, 768);
        wash.setColorAt(0.0, QColor(243, 239, 228));
        wash.setColorAt(0.45, QColor(221, 222, 214));
        wash.setColorAt(1.0, QColor(150, 164, 176));
        p.fillRect(reference.rect(), wash);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255, 38), 1));
        for (int x = -768; x < 1024; x += 8)
            p.drawLine(x, 0, x + 768, 768);
        p.setPen(QPen(QColor(90, 70, 50, 14), 1));
        for (int x = 0; x < 1024 + 768; x += 8)
            p.drawLine(x, 0, x - 768, 768);
        QRadialGradient glow(QPointF(512, 330), 420);
        glow.setColorAt(0.0, QColor(255, 252, 240, 70));
        glow.setColorAt(1.0, QColor(255, 252, 240, 0));
        p.fillRect(reference.rect(), glow);
        p.end();

        QVERIFY(largestDifference(backgroundAt(1.0), reference.copy(178, 140, 667, 488)) <= 2);
    }

    void artworkIsDrawnAtTwiceThePixels_data() {
        using Draw = std::function<QImage(qreal)>;
        QTest::addColumn<Draw>("draw");
        // Whole-pixel art of straight lines and boxes only: drawn finer it is its doubled copy.
        QTest::addColumn<bool>("squareOnly");
        const auto strip = [](Glyph glyph) {
            return Draw(
                [glyph](qreal ratio) { return ui::artwork::glyphStrip(glyph, ratio).toImage(); });
        };
        QTest::newRow("background") << Draw(backgroundAt) << false;
        QTest::newRow("program icon")
            << Draw([](qreal ratio) { return ui::artwork::programIcon(ratio).toImage(); }) << false;
        QTest::newRow("glyph of boxes") << strip(Glyph::AddRecord) << true;
        QTest::newRow("glyph of slants") << strip(Glyph::ClearRecord) << false;
    }

    void artworkIsDrawnAtTwiceThePixels() {
        QFETCH(std::function<QImage(qreal)>, draw);
        QFETCH(bool, squareOnly);
        const QImage single = draw(1.0);
        const QImage fine = draw(kScale);
        QCOMPARE(fine.devicePixelRatio(), kScale);
        QCOMPARE(fine.size(), single.size() * 2);

        // The same picture: halved again, it differs from the picture drawn at ratio 1 only
        // where edges fall between its pixels (another glyph differs by 50 and more, the same
        // one moved by a pixel by about 20).
        const QImage halved =
            fine.scaled(single.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY2(meanDifference(halved, single) < 12,
                 qPrintable(QString::number(meanDifference(halved, single))));
        // Drawn finer, not enlarged; and where there is nothing finer to draw, outlines stay on
        // the pixels they cover at ratio 1.
        const QImage doubled =
            single.scaled(fine.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QCOMPARE(largestDifference(fine, doubled) == 0, squareOnly);
    }

    void windowsKeepTheirSizesAtScaleTwo() {
        ui::EditorForm editor(editor::kRecordViewControls);
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QCOMPARE(editor.devicePixelRatio(), kScale);

        auto* client = editor.findChild<ui::Backdrop*>(QStringLiteral("ClientArea"));
        QVERIFY(client);
        QCOMPARE(client->size(), QSize(667, 488));
        const QPixmap surface = client->surface();
        QCOMPARE(surface.devicePixelRatio(), kScale);
        QCOMPARE(surface.size(), QSize(1334, 976));
        // The backdrop shows the picture's centre, at its own ratio.
        const QImage expected = backgroundAt(kScale);
        QCOMPARE(
            largestDifference(surface.toImage().convertToFormat(QImage::Format_RGB32), expected),
            0);

        const auto* addRecord = qobject_cast<ui::GlyphButton*>(editor.LMDButton2);
        QVERIFY(addRecord);
        QCOMPARE(addRecord->glyph().size(), QSize(64, 32));
        QCOMPARE(addRecord->glyph().devicePixelRatio(), kScale);

        const QPixmap icon = editor.windowIcon().pixmap(QSize(32, 32), kScale);
        QCOMPARE(icon.size(), QSize(64, 64));
        QCOMPARE(largestDifference(icon.toImage(), ui::artwork::programIconImage(64)), 0);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    ArtworkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "artwork_test.moc"

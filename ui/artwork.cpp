#include "ui/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>
#include <QRadialGradient>

#include <array>

namespace ui::artwork {

namespace {

// The icon and the glyphs use only the 16 colours of the classic palette, drawn without
// antialiasing, so they stay crisp at their small sizes.
namespace vga {
const QColor black(0, 0, 0);
const QColor maroon(128, 0, 0);
const QColor green(0, 128, 0);
const QColor navy(0, 0, 128);
const QColor teal(0, 128, 128);
const QColor silver(192, 192, 192);
const QColor grey(128, 128, 128);
const QColor red(255, 0, 0);
const QColor lime(0, 255, 0);
const QColor yellow(255, 255, 0);
const QColor blue(0, 0, 255);
const QColor fuchsia(255, 0, 255);
const QColor aqua(0, 255, 255);
const QColor white(255, 255, 255);
} // namespace vga

QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void drawIcon(QPainter& p) {
    // A data sheet with an object standing in front of it.
    p.fillRect(3, 1, 20, 26, vga::white);
    p.setPen(vga::navy);
    p.drawRect(3, 1, 19, 25);
    p.setPen(vga::teal);
    for (int y = 5; y <= 21; y += 4)
        p.drawLine(6, y, 19, y);
    p.setPen(vga::grey);
    p.drawLine(4, 27, 23, 27);
    p.drawLine(23, 2, 23, 27);

    // Isometric cube: top, left and right faces.
    const QPolygon top{QPoint(21, 12), QPoint(30, 16), QPoint(21, 20), QPoint(12, 16)};
    const QPolygon left{QPoint(12, 16), QPoint(21, 20), QPoint(21, 30), QPoint(12, 26)};
    const QPolygon right{QPoint(21, 20), QPoint(30, 16), QPoint(30, 26), QPoint(21, 30)};
    p.setPen(vga::black);
    p.setBrush(vga::red);
    p.drawPolygon(top);
    p.setBrush(vga::maroon);
    p.drawPolygon(left);
    p.setBrush(vga::yellow);
    p.drawPolygon(right);
}

void drawGlyph(QPainter& p, Glyph glyph) {
    switch (glyph) {
    case Glyph::AddRecord:
        p.fillRect(1, 1, 10, 13, vga::white);
        p.setPen(vga::navy);
        p.drawRect(1, 1, 9, 12);
        p.setPen(vga::teal);
        p.drawLine(3, 4, 8, 4);
        p.drawLine(3, 6, 8, 6);
        p.fillRect(10, 7, 2, 8, vga::green);
        p.fillRect(7, 10, 8, 2, vga::green);
        p.setPen(vga::lime);
        p.drawPoint(10, 7);
        break;
    case Glyph::ShapeToShadow:
        p.setPen(vga::black);
        p.setBrush(vga::blue);
        p.drawRect(0, 2, 5, 5);
        p.setBrush(vga::grey);
        p.drawRect(10, 9, 5, 5);
        p.setPen(vga::green);
        p.drawLine(4, 9, 8, 13);
        p.drawLine(5, 9, 9, 13);
        p.fillRect(7, 13, 3, 1, vga::green);
        p.fillRect(9, 11, 1, 3, vga::green);
        break;
    case Glyph::ClearRecord: {
        // An eraser lying across a line of text.
        p.setPen(vga::grey);
        p.drawLine(1, 14, 14, 14);
        const QPolygon rubber{QPoint(1, 10), QPoint(7, 4), QPoint(14, 4), QPoint(8, 10)};
        const QPolygon sleeve{QPoint(8, 10), QPoint(14, 4), QPoint(14, 8),
                              QPoint(8, 14), QPoint(1, 14), QPoint(1, 10)};
        p.setPen(vga::black);
        p.setBrush(vga::white);
        p.drawPolygon(sleeve);
        p.setBrush(vga::fuchsia);
        p.drawPolygon(rubber);
        break;
    }
    case Glyph::DeleteRecord: {
        QPen pen(vga::red);
        pen.setWidth(3);
        p.setPen(pen);
        p.drawLine(3, 3, 12, 12);
        p.drawLine(12, 3, 3, 12);
        p.setPen(vga::maroon);
        p.drawLine(5, 2, 13, 10);
        break;
    }
    case Glyph::ShowObject: {
        p.setPen(vga::black);
        p.setBrush(vga::aqua);
        p.drawEllipse(1, 1, 9, 9);
        p.setPen(vga::white);
        p.drawLine(3, 4, 4, 3);
        QPen handle(vga::maroon);
        handle.setWidth(3);
        p.setPen(handle);
        p.drawLine(10, 10, 14, 14);
        break;
    }
    }
}

// The disabled image of a glyph, in the classic engraved look: the shape's outline in
// white one pixel down-right, and the shape itself in grey.
QImage engraved(const QImage& enabled) {
    QImage disabled = blankImage(enabled.width(), enabled.height());
    const auto paintMask = [&](QPainter& p, QPoint offset, const QColor& colour) {
        for (int y = 0; y < enabled.height(); ++y)
            for (int x = 0; x < enabled.width(); ++x)
                if (qAlpha(enabled.pixel(x, y)) != 0)
                    p.fillRect(x + offset.x(), y + offset.y(), 1, 1, colour);
    };
    QPainter p(&disabled);
    paintMask(p, QPoint(1, 1), vga::white);
    paintMask(p, QPoint(0, 0), vga::grey);
    return disabled;
}

} // namespace

QPixmap programIcon() {
    static const QPixmap icon = [] {
        QImage image = blankImage(32, 32);
        QPainter p(&image);
        drawIcon(p);
        p.end();
        return QPixmap::fromImage(image);
    }();
    return icon;
}

QIcon windowIcon() {
    return QIcon(programIcon());
}

QImage background() {
    static const QImage picture = [] {
        QImage image(1024, 768, QImage::Format_RGB888);
        QPainter p(&image);
        // A pale parchment top fading to a cool slate: light enough under the groups'
        // black labels and the maroon banner, darker towards the buttons.
        QLinearGradient wash(0, 0, 0, 768);
        wash.setColorAt(0.0, QColor(243, 239, 228));
        wash.setColorAt(0.45, QColor(221, 222, 214));
        wash.setColorAt(1.0, QColor(150, 164, 176));
        p.fillRect(image.rect(), wash);

        // A faint diagonal weave, so the surface reads as a material, not a flat fill.
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(255, 255, 255, 38), 1));
        for (int x = -768; x < 1024; x += 8)
            p.drawLine(x, 0, x + 768, 768);
        p.setPen(QPen(QColor(90, 70, 50, 14), 1));
        for (int x = 0; x < 1024 + 768; x += 8)
            p.drawLine(x, 0, x - 768, 768);

        // A soft light in the middle, where the visible part of the picture is.
        QRadialGradient glow(QPointF(512, 330), 420);
        glow.setColorAt(0.0, QColor(255, 252, 240, 70));
        glow.setColorAt(1.0, QColor(255, 252, 240, 0));
        p.fillRect(image.rect(), glow);
        return image;
    }();
    return picture;
}

QPixmap glyphStrip(Glyph glyph) {
    static std::array<QPixmap, 5> strips;
    QPixmap& strip = strips.at(static_cast<std::size_t>(glyph));
    if (strip.isNull()) {
        QImage enabled = blankImage(16, 16);
        {
            QPainter p(&enabled);
            drawGlyph(p, glyph);
        }
        QImage both = blankImage(32, 16);
        QPainter p(&both);
        p.drawImage(0, 0, enabled);
        p.drawImage(16, 0, engraved(enabled));
        p.end();
        strip = QPixmap::fromImage(both);
    }
    return strip;
}

QIcon glyphIcon(Glyph glyph) {
    const QPixmap strip = glyphStrip(glyph);
    QIcon icon;
    icon.addPixmap(strip.copy(0, 0, 16, 16), QIcon::Normal);
    icon.addPixmap(strip.copy(16, 0, 16, 16), QIcon::Disabled);
    return icon;
}

} // namespace ui::artwork

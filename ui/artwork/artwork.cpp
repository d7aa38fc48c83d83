#include "ui/artwork/artwork.h"

#include <QBrush>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
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

// Pixel art that keeps its pixels at any whole scale. Without antialiasing a pen one pixel
// wide covers the pixels right of and below its path, but once the painter is scaled the pen
// is wider and centred on the path: such outlines are then moved by half a pixel, so that they
// cover at every scale what they cover at scale 1. Fills and wider pens stay where they are.
class PixelArt {
public:
    explicit PixelArt(QPainter& p) : m_p(p), m_scaled(p.deviceTransform().m11() > 1) {}

    void fill(int x, int y, int width, int height, const QColor& colour) {
        m_p.fillRect(x, y, width, height, colour);
    }
    /** A rectangle's outline through the pixels from (x, y) to (x + width, y + height). */
    void frame(int x, int y, int width, int height, const QColor& colour) {
        stroke(QPen(colour), [&] { m_p.drawRect(x, y, width, height); });
    }
    void line(QPoint from, QPoint to, const QPen& pen) {
        stroke(pen, [&] { m_p.drawLine(from, to); });
    }
    void point(QPoint at, const QColor& colour) {
        stroke(QPen(colour), [&] { m_p.drawPoint(at); });
    }
    /** A filled shape with a one-pixel outline. */
    void shape(const QPolygon& outline, const QColor& edge, const QColor& inside) {
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(inside);
        m_p.drawPolygon(outline);
        stroke(QPen(edge), [&] { m_p.drawPolygon(outline); });
    }
    void disc(const QRect& box, const QColor& edge, const QColor& inside) {
        m_p.setPen(Qt::NoPen);
        m_p.setBrush(inside);
        m_p.drawEllipse(box);
        stroke(QPen(edge), [&] { m_p.drawEllipse(box); });
    }

private:
    template <typename Draw> void stroke(QPen pen, Draw draw) {
        m_p.save();
        pen.setJoinStyle(Qt::MiterJoin); // square corners, as the one-pixel pen draws them
        m_p.setPen(pen);
        m_p.setBrush(Qt::NoBrush);
        if (m_scaled && pen.width() == 1)
            m_p.translate(0.5, 0.5);
        draw();
        m_p.restore();
    }

    QPainter& m_p;
    bool m_scaled;
};

QPen widePen(const QColor& colour, int width) {
    QPen pen(colour);
    pen.setWidth(width);
    return pen;
}

/** The outline of a rectangle through the pixels from (x, y) to (x + width, y + height). */
QPolygon rectangle(int x, int y, int width, int height) {
    return QPolygon(
        {QPoint(x, y), QPoint(x + width, y), QPoint(x + width, y + height), QPoint(x, y + height)});
}

void drawIcon(QPainter& p) {
    PixelArt art(p);
    // A data sheet with an object standing in front of it.
    art.fill(3, 1, 20, 26, vga::white);
    art.frame(3, 1, 19, 25, vga::navy);
    for (int y = 5; y <= 21; y += 4)
        art.line(QPoint(6, y), QPoint(19, y), vga::teal);
    art.line(QPoint(4, 27), QPoint(23, 27), vga::grey);
    art.line(QPoint(23, 2), QPoint(23, 27), vga::grey);

    // Isometric cube: top, left and right faces.
    art.shape({QPoint(21, 12), QPoint(30, 16), QPoint(21, 20), QPoint(12, 16)}, vga::black,
              vga::red);
    art.shape({QPoint(12, 16), QPoint(21, 20), QPoint(21, 30), QPoint(12, 26)}, vga::black,
              vga::maroon);
    art.shape({QPoint(21, 20), QPoint(30, 16), QPoint(30, 26), QPoint(21, 30)}, vga::black,
              vga::yellow);
}

void drawGlyph(QPainter& p, Glyph glyph) {
    PixelArt art(p);
    switch (glyph) {
    case Glyph::AddRecord:
        art.fill(1, 1, 10, 13, vga::white);
        art.frame(1, 1, 9, 12, vga::navy);
        art.line(QPoint(3, 4), QPoint(8, 4), vga::teal);
        art.line(QPoint(3, 6), QPoint(8, 6), vga::teal);
        art.fill(10, 7, 2, 8, vga::green);
        art.fill(7, 10, 8, 2, vga::green);
        art.point(QPoint(10, 7), vga::lime);
        break;
    case Glyph::ShapeToShadow:
        art.shape(rectangle(0, 2, 5, 5), vga::black, vga::blue);
        art.shape(rectangle(10, 9, 5, 5), vga::black, vga::grey);
        art.line(QPoint(4, 9), QPoint(8, 13), vga::green);
        art.line(QPoint(5, 9), QPoint(9, 13), vga::green);
        art.fill(7, 13, 3, 1, vga::green);
        art.fill(9, 11, 1, 3, vga::green);
        break;
    case Glyph::ClearRecord:
        // An eraser lying across a line of text.
        art.line(QPoint(1, 14), QPoint(14, 14), vga::grey);
        art.shape({QPoint(8, 10), QPoint(14, 4), QPoint(14, 8), QPoint(8, 14), QPoint(1, 14),
                   QPoint(1, 10)},
                  vga::black, vga::white);
        art.shape({QPoint(1, 10), QPoint(7, 4), QPoint(14, 4), QPoint(8, 10)}, vga::black,
                  vga::fuchsia);
        break;
    case Glyph::DeleteRecord:
        art.line(QPoint(3, 3), QPoint(12, 12), widePen(vga::red, 3));
        art.line(QPoint(12, 3), QPoint(3, 12), widePen(vga::red, 3));
        art.line(QPoint(5, 2), QPoint(13, 10), vga::maroon);
        break;
    case Glyph::ShowObject:
        art.disc(QRect(1, 1, 9, 9), vga::black, vga::aqua);
        art.line(QPoint(3, 4), QPoint(4, 3), vga::white);
        art.line(QPoint(10, 10), QPoint(14, 14), widePen(vga::maroon, 3));
        break;
    }
}

// The image of a picture of size device-independent pixels for a screen of ratio: that many
// more pixels each way, with the ratio set, so a painter on it draws at the finer grain.
QImage blankImage(QSize size, qreal ratio) {
    QImage image = blankImage(qRound(size.width() * ratio), qRound(size.height() * ratio));
    image.setDevicePixelRatio(ratio);
    return image;
}

// The shape of image (every pixel that is not transparent) in one colour.
QImage silhouette(const QImage& image, const QColor& colour) {
    QImage shape = image;
    QPainter p(&shape);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(QRectF(QPointF(), image.deviceIndependentSize()), colour);
    return shape;
}

// The disabled image of a glyph, in the classic engraved look: the shape's outline in
// white one pixel down-right, and the shape itself in grey.
QImage engraved(const QImage& enabled) {
    QImage disabled =
        blankImage(enabled.deviceIndependentSize().toSize(), enabled.devicePixelRatio());
    QPainter p(&disabled);
    p.drawImage(QPointF(1, 1), silhouette(enabled, vga::white));
    p.drawImage(QPointF(0, 0), silhouette(enabled, vga::grey));
    return disabled;
}

QPixmap drawGlyphStrip(Glyph glyph, qreal ratio) {
    constexpr QSize kGlyph(16, 16);
    QImage enabled = blankImage(kGlyph, ratio);
    {
        QPainter p(&enabled);
        drawGlyph(p, glyph);
    }
    QImage both = blankImage(QSize(2 * kGlyph.width(), kGlyph.height()), ratio);
    QPainter p(&both);
    p.drawImage(QPointF(0, 0), enabled);
    p.drawImage(QPointF(kGlyph.width(), 0), engraved(enabled));
    p.end();
    return QPixmap::fromImage(both);
}

constexpr int kWeavePeriod = 8;

// One period of the background's weave, kWeavePeriod pixels square, drawn at ratio times the
// pixels: faint antialiased diagonals both ways, every kWeavePeriod pixels, on transparency.
// The lines run on past the tile's edges so that their antialiased fringes wrap around.
QImage weaveTile(qreal ratio) {
    const int side = qRound(kWeavePeriod * ratio);
    QImage tile(side, side, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter p(&tile);
    p.scale(ratio, ratio);
    p.setRenderHint(QPainter::Antialiasing);
    constexpr qreal reach = 2 * kWeavePeriod;
    p.setPen(QPen(QColor(255, 255, 255, 38), 1));
    for (int x = -kWeavePeriod; x <= kWeavePeriod; x += kWeavePeriod)
        p.drawLine(QPointF(x - reach, -reach), QPointF(x + reach, reach));
    p.setPen(QPen(QColor(90, 70, 50, 14), 1));
    for (int x = 0; x <= 2 * kWeavePeriod; x += kWeavePeriod)
        p.drawLine(QPointF(x + reach, -reach), QPointF(x - reach, reach));
    return tile;
}

} // namespace

QImage programIconImage(int side) {
    const int scale = std::max(1, (side + kIconSide - 1) / kIconSide);
    QImage image = blankImage(scale * kIconSide, scale * kIconSide);
    {
        QPainter p(&image);
        p.scale(scale, scale);
        drawIcon(p);
    }
    if (image.width() != side)
        image = image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QPixmap programIcon(qreal devicePixelRatio) {
    const auto draw = [](qreal ratio) {
        QPixmap icon = QPixmap::fromImage(programIconImage(qRound(kIconSide * ratio)));
        icon.setDevicePixelRatio(ratio);
        return icon;
    };
    if (devicePixelRatio != 1.0)
        return draw(devicePixelRatio);
    static const QPixmap icon = draw(1.0);
    return icon;
}

QIcon windowIcon() {
    static const QIcon icon = [] {
        QIcon sizes;
        // Quick to draw at start-up (48 pixels, smoothed down from 64, would take a millisecond);
        // desktops take larger pictures from the installed icon theme.
        for (const int side : {16, 32, 64})
            sizes.addPixmap(QPixmap::fromImage(programIconImage(side)));
        return sizes;
    }();
    return icon;
}

void drawBackground(QPainter& p, const QRect& area) {
    const QRect visible = area & QRect(QPoint(0, 0), kBackgroundSize);
    if (visible.isEmpty())
        return;
    p.save();
    // A pale parchment top fading to a cool slate: light enough under the groups'
    // black labels and the maroon banner, darker towards the buttons.
    QLinearGradient wash(0, 0, 0, kBackgroundSize.height());
    wash.setColorAt(0.0, QColor(243, 239, 228));
    wash.setColorAt(0.45, QColor(221, 222, 214));
    wash.setColorAt(1.0, QColor(150, 164, 176));
    p.fillRect(visible, wash);

    // A faint diagonal weave, so the surface reads as a material, not a flat fill. It repeats
    // every kWeavePeriod pixels both ways: one tile, drawn at the device's pixel density and
    // anchored at the picture's corner, covers it.
    const qreal ratio = p.device()->devicePixelRatio();
    QBrush weave(weaveTile(ratio));
    weave.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    p.setBrushOrigin(0, 0);
    p.fillRect(visible, weave);

    // A soft light in the middle, where the visible part of the picture is.
    QRadialGradient glow(QPointF(512, 330), 420);
    glow.setColorAt(0.0, QColor(255, 252, 240, 70));
    glow.setColorAt(1.0, QColor(255, 252, 240, 0));
    p.fillRect(visible, glow);
    p.restore();
}

QPixmap glyphStrip(Glyph glyph, qreal devicePixelRatio) {
    if (devicePixelRatio != 1.0)
        return drawGlyphStrip(glyph, devicePixelRatio);
    static std::array<QPixmap, 5> strips;
    QPixmap& strip = strips.at(static_cast<std::size_t>(glyph));
    if (strip.isNull())
        strip = drawGlyphStrip(glyph, 1.0);
    return strip;
}

QIcon glyphIcon(Glyph glyph) {
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap strip = glyphStrip(glyph, ratio);
        const int side = strip.height();
        icon.addPixmap(strip.copy(0, 0, side, side), QIcon::Normal);
        icon.addPixmap(strip.copy(side, 0, side, side), QIcon::Disabled);
    }
    return icon;
}

} // namespace ui::artwork

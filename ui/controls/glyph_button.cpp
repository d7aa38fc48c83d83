#include "ui/controls/glyph_button.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ui {

namespace {
constexpr int kGlyphSize = 16;
constexpr int kGlyphGap = 4; // between glyph and caption
} // namespace

GlyphButton::GlyphButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void GlyphButton::setGlyph(artwork::Glyph glyph, GlyphPlace place) {
    m_glyph = glyph;
    m_strip = QPixmap();
    m_place = place;
    update();
}

QPixmap GlyphButton::glyph() const {
    return m_glyph ? artwork::glyphStrip(*m_glyph, devicePixelRatio()) : QPixmap();
}

void GlyphButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    p.drawControl(QStyle::CE_PushButton, option); // bevel and focus only

    QRect box = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown() || isChecked())
        box.translate(1, 1);
    const QFontMetrics metrics = fontMetrics();
    const QString caption = text();
    const bool hasGlyph = m_glyph.has_value();
    const qreal ratio = devicePixelRatio();
    if (hasGlyph && (m_strip.isNull() || m_strip.devicePixelRatio() != ratio))
        m_strip = artwork::glyphStrip(*m_glyph, ratio);
    constexpr int wrap = Qt::TextWordWrap;

    // Measure the caption where it will stand, then centre glyph and caption together.
    QRect captionBox;
    QPoint glyphAt;
    if (hasGlyph && m_place == GlyphPlace::Above) {
        const QRect text = metrics.boundingRect(box, wrap | Qt::AlignHCenter, caption);
        const int total = kGlyphSize + kGlyphGap + text.height();
        const int top = box.top() + (box.height() - total) / 2;
        captionBox = QRect(box.left(), top, box.width(), text.height());
        glyphAt = QPoint(box.center().x() - kGlyphSize / 2 + 1, top + text.height() + kGlyphGap);
    } else if (hasGlyph) {
        const QRect room = box.adjusted(kGlyphSize + kGlyphGap, 0, 0, 0);
        const QRect text = metrics.boundingRect(room, wrap | Qt::AlignVCenter, caption);
        const int total = kGlyphSize + kGlyphGap + text.width();
        const int left = box.left() + qMax(0, (box.width() - total) / 2);
        captionBox =
            QRect(left + kGlyphSize + kGlyphGap, box.top(), text.width() + 1, box.height());
        glyphAt = QPoint(left, box.top() + (box.height() - kGlyphSize) / 2);
    } else {
        captionBox = box;
    }

    if (hasGlyph) {
        const int half = isEnabled() ? 0 : kGlyphSize;
        p.drawPixmap(QRectF(glyphAt, QSizeF(kGlyphSize, kGlyphSize)), m_strip,
                     QRectF(half * ratio, 0, kGlyphSize * ratio, kGlyphSize * ratio));
    }

    const int flags = wrap | Qt::AlignCenter;
    if (isEnabled()) {
        p.setPen(palette().color(QPalette::Light));
        p.drawText(captionBox.translated(-1, -1), flags, caption);
        p.setPen(palette().color(QPalette::Mid));
        p.drawText(captionBox.translated(1, 1), flags, caption);
        p.setPen(palette().color(QPalette::ButtonText));
    } else {
        // Engraved, as disabled captions are drawn on this kind of button.
        p.setPen(palette().color(QPalette::Light));
        p.drawText(captionBox.translated(1, 1), flags, caption);
        p.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
    }
    p.drawText(captionBox, flags, caption);
}

} // namespace ui

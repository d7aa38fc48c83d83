#include "ui/glyph_button.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ui {

namespace {
constexpr int kGlyphSize = 16;
constexpr int kGlyphGap = 4; // between glyph and caption
} // namespace

GlyphButton::GlyphButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void GlyphButton::setGlyph(const QPixmap& strip, GlyphPlace place) {
    m_strip = strip;
    m_place = place;
    update();
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
    const bool hasGlyph = !m_strip.isNull();
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
        p.drawPixmap(glyphAt, m_strip, QRect(half, 0, kGlyphSize, kGlyphSize));
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

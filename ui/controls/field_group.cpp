#include "ui/controls/field_group.h"

#include "ui/artwork/fonts.h"

#include <QPainter>
#include <QRegion>

namespace ui {

namespace {
constexpr int kCaptionIndent = 8; // left-aligned captions start this far in
constexpr int kCaptionPadding = 3;
} // namespace

FieldGroup::FieldGroup(const QString& caption, Qt::Alignment captionAlignment, QWidget* parent)
    : QGroupBox(caption, parent), m_captionFont(fonts::msSansSerif(13, true)) {
    setAlignment(captionAlignment);
    setFlat(true);
}

void FieldGroup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics(m_captionFont);
    const int captionWidth = metrics.horizontalAdvance(title()) + 2 * kCaptionPadding;
    const int captionLeft =
        alignment() & Qt::AlignHCenter ? (width() - captionWidth) / 2 : kCaptionIndent;
    const QRect captionBox(captionLeft, 0, captionWidth, metrics.height());
    const int frameTop = metrics.height() / 2;

    if (m_filled)
        p.fillRect(QRect(0, frameTop, width(), height() - frameTop),
                   palette().color(QPalette::Button));

    // Etched inset frame, interrupted where the caption sits.
    p.setClipRegion(QRegion(rect()).subtracted(QRegion(captionBox)));
    const QRect frame(0, frameTop, width() - 1, height() - frameTop - 1);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    p.setClipping(false);

    p.setFont(m_captionFont);
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(captionBox, Qt::AlignCenter, title());
}

} // namespace ui

#include "ui/controls/shadow_label.h"

#include <QPainter>

namespace ui {

ShadowLabel::ShadowLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(false);
}

void ShadowLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the sunken line only; the text is ours

    QPainter p(this);
    p.setFont(font());
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRect box = contentsRect().adjusted(1, 0, -1, 0);
    const int flags = static_cast<int>(alignment()) | Qt::TextWordWrap;
    const QString caption = text();

    // Raised: a light edge up-left, a soft shadow down-right, the letters on top.
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(box.translated(-1, -1), flags, caption);
    for (int step = m_depth; step >= 1; --step) {
        p.setPen(QColor(0, 0, 0, step == 1 ? 110 : 60));
        p.drawText(box.translated(step, step), flags, caption);
    }
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(box, flags, caption);
}

} // namespace ui

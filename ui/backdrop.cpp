#include "ui/backdrop.h"

#include <QPaintEvent>
#include <QPainter>

namespace ui {

Backdrop::Backdrop(const QImage& picture, QWidget* parent) : QWidget(parent), m_picture(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Backdrop::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), palette().color(QPalette::Button));
    const QPoint origin((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
    p.drawImage(origin, m_picture);
}

} // namespace ui

#include "ui/artwork/backdrop.h"

#include "ui/artwork/artwork.h"

#include <QPaintEvent>
#include <QPainter>

namespace ui {

Backdrop::Backdrop(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPixmap Backdrop::surface() {
    const qreal ratio = devicePixelRatio();
    if (size().isEmpty())
        return QPixmap();
    if (m_surface.isNull() || m_surface.devicePixelRatio() != ratio) {
        QPixmap surface(size() * ratio);
        surface.setDevicePixelRatio(ratio);
        QPainter p(&surface);
        p.fillRect(rect(), palette().color(QPalette::Button));
        const QSize picture = artwork::kBackgroundSize;
        const QPoint origin((width() - picture.width()) / 2, (height() - picture.height()) / 2);
        p.translate(origin);
        artwork::drawBackground(p, rect().translated(-origin));
        p.end();
        m_surface = surface;
    }
    return m_surface;
}

void Backdrop::paintEvent(QPaintEvent* event) {
    const QPixmap picture = surface();
    QPainter p(this);
    const QRect area = event->rect();
    const qreal ratio = picture.devicePixelRatio();
    p.drawPixmap(
        area, picture,
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
}

void Backdrop::resizeEvent(QResizeEvent* event) {
    m_surface = QPixmap();
    QWidget::resizeEvent(event);
}

void Backdrop::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        m_surface = QPixmap();
    QWidget::changeEvent(event);
}

} // namespace ui

#pragma once
// The editor window's client area: the background picture drawn centred, and
// the button-face colour wherever the picture does not reach.

#include <QPixmap>
#include <QWidget>

namespace ui {

/** Draws the area's look the first time it is painted, at the screen's pixel density, and
 * keeps it until the size, the density or the palette changes; so building the window costs
 * nothing, and only the part of the picture that shows is ever drawn. */
class Backdrop : public QWidget {
    Q_OBJECT
public:
    explicit Backdrop(QWidget* parent = nullptr);

    /** The area as it is painted, at the pixel density of the screen the window is on; null
     * while the area has no size. */
    QPixmap surface();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPixmap m_surface;
};

} // namespace ui

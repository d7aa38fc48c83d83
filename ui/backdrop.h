#pragma once
// The editor window's client area: the background picture drawn centred, and
// the button-face colour wherever the picture does not reach.

#include <QImage>
#include <QWidget>

namespace ui {

class Backdrop : public QWidget {
    Q_OBJECT
public:
    explicit Backdrop(const QImage& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

} // namespace ui

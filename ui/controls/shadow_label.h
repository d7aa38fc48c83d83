#pragma once
// A label drawn without a background of its own: its text stands raised, with
// a light edge above and a shadow below, inside a single sunken line.

#include <QLabel>

namespace ui {

class ShadowLabel : public QLabel {
    Q_OBJECT
public:
    explicit ShadowLabel(const QString& text, QWidget* parent = nullptr);

    /** How far the shadow falls below and right of the letters, in pixels. */
    void setShadowDepth(int pixels) { m_depth = pixels; }
    int shadowDepth() const { return m_depth; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_depth = 1;
};

} // namespace ui

#pragma once
// A field group: an inset frame with a bold caption set into its top edge.
// The caption's font is the group's own; the controls inside keep the
// window font. Transparent unless filled.

#include <QGroupBox>

namespace ui {

class FieldGroup : public QGroupBox {
    Q_OBJECT
public:
    FieldGroup(const QString& caption, Qt::Alignment captionAlignment, QWidget* parent = nullptr);

    /** Fills the group with the button-face colour instead of letting the window show through. */
    void setFilled(bool filled) { m_filled = filled; }
    bool isFilled() const { return m_filled; }
    QFont captionFont() const { return m_captionFont; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_captionFont;
    bool m_filled = false;
};

} // namespace ui

#pragma once
// A check box whose change event follows user toggles only. The caption is
// drawn to the left of the box, 5 pixels from it.

#include <QCheckBox>

#include <functional>

namespace ui {

class FlagCheckBox : public QCheckBox {
    Q_OBJECT
public:
    static constexpr int kCaptionGap = 5;

    explicit FlagCheckBox(const QString& caption, QWidget* parent = nullptr);

    /** Program change: no event. */
    void setCheckedByProgram(bool checked);

    /** Raised after a user toggle (mouse click or Space). */
    std::function<void(FlagCheckBox&)> onChange;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    /** Where the caption is drawn: from the left edge to kCaptionGap before the box. */
    QRect captionRect() const;
    /** Where the box itself is drawn. */
    QRect indicatorRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

} // namespace ui

#pragma once
// The scale spin boxes: range 10 to 1000, a typed value clamped when the box
// loses the focus, and the read rules the scaling command relies on.

#include <QAbstractSpinBox>

namespace ui {

class PercentSpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    static constexpr int kMinimum = 10;
    static constexpr int kMaximum = 1000;
    static constexpr int kSmallStep = 1;
    static constexpr int kLargeStep = 10;
    static constexpr int kRepeatDelayMs = 210;
    static constexpr int kRepeatIntervalMs = 10;

    explicit PercentSpinBox(QWidget* parent = nullptr);

    /** Empty or not a decimal integer: the text becomes "10" and 10 is returned; otherwise the
     * shown integer, unclamped. */
    int value();
    /** Clamps v into 10 to 1000 and shows it. */
    void setValue(int v);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace ui

#pragma once
// The scale spin boxes: the range of percentages scaling accepts, a typed value
// clamped when the box loses the focus, and the read rules the scaling command
// relies on.

#include "document/scaling.h"

#include <QAbstractSpinBox>

namespace ui {

class PercentSpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    static constexpr int kMinimum = doc::kMinScalePercent;
    static constexpr int kMaximum = doc::kMaxScalePercent;
    static constexpr int kSmallStep = 1;
    static constexpr int kLargeStep = 10;
    static constexpr int kRepeatDelayMs = 210;
    static constexpr int kRepeatIntervalMs = 10;

    explicit PercentSpinBox(QWidget* parent = nullptr);

    /** Empty or not a decimal integer: the text becomes kMinimum and kMinimum is returned;
     * otherwise the shown integer, unclamped. */
    int value();
    /** Clamps v into kMinimum to kMaximum and shows it. */
    void setValue(int v);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace ui

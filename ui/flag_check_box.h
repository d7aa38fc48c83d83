#pragma once
// A check box whose change event follows user toggles only.

#include <QCheckBox>

#include <functional>

namespace ui {

class FlagCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit FlagCheckBox(const QString& caption, QWidget* parent = nullptr);

    /** Program change: no event. */
    void setCheckedByProgram(bool checked);

    /** Raised after a user toggle (mouse click or Space). */
    std::function<void(FlagCheckBox&)> onChange;
};

} // namespace ui

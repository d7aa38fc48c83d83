#include "ui/controls/percent_spin_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>

#include <algorithm>
#include <optional>

namespace ui {

namespace {
bool isTypedCharacterAllowed(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-';
}

// An optional sign followed by decimal digits, within int's range.
std::optional<int> parseSignedDecimal(const QString& text) {
    qsizetype digitsStart = 0;
    if (!text.isEmpty() && (text.at(0) == u'+' || text.at(0) == u'-'))
        digitsStart = 1;
    if (digitsStart == text.size())
        return std::nullopt;
    for (qsizetype i = digitsStart; i < text.size(); ++i) {
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// QAbstractSpinBox takes its arrow-button auto-repeat timing from the style.
class AutoRepeatStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_SpinBox_ClickAutoRepeatThreshold)
            return PercentSpinBox::kRepeatDelayMs;
        if (hint == SH_SpinBox_ClickAutoRepeatRate)
            return PercentSpinBox::kRepeatIntervalMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// One style serves every spin box. It belongs to the application, so it outlives the boxes
// (a widget's style must not be destroyed before the widget).
QStyle* autoRepeatStyle() {
    static QPointer<AutoRepeatStyle> style;
    if (!style) {
        style = new AutoRepeatStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}
} // namespace

PercentSpinBox::PercentSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
    setStyle(autoRepeatStyle());
    setAccelerated(false);
    setKeyboardTracking(true);
    lineEdit()->setText(QString::number(kMinimum));
}

int PercentSpinBox::value() {
    if (const std::optional<int> shown = parseSignedDecimal(text()))
        return *shown;
    lineEdit()->setText(QString::number(kMinimum));
    return kMinimum;
}

void PercentSpinBox::setValue(int v) {
    const QString shown = QString::number(std::clamp(v, kMinimum, kMaximum));
    if (shown != text())
        lineEdit()->setText(shown);
}

void PercentSpinBox::stepBy(int steps) {
    const long long stepped = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(stepped, kMinimum, kMaximum)));
}

QAbstractSpinBox::StepEnabled PercentSpinBox::stepEnabled() const {
    // Reading the value may rewrite the text, so the buttons are simply always live.
    if (isReadOnly())
        return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State PercentSpinBox::validate(QString& input, int&) const {
    return std::all_of(input.begin(), input.end(), isTypedCharacterAllowed) ? QValidator::Acceptable
                                                                            : QValidator::Invalid;
}

void PercentSpinBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (!control && !typed.isEmpty() && typed.at(0).isPrint() &&
        !std::all_of(typed.begin(), typed.end(), isTypedCharacterAllowed)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void PercentSpinBox::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    const int shown = value();
    if (shown < kMinimum || shown > kMaximum)
        setValue(shown);
}

} // namespace ui

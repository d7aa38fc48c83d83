#include "ui/controls/flag_check_box.h"

#include "ui/user_action.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace ui {

FlagCheckBox::FlagCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
    // clicked is emitted only for a toggle by the user (mouse, Space, mnemonic), after the state
    // changed; it is connected directly, so the handler runs inside this user action.
    bindUserAction(this, &QAbstractButton::clicked, this, [this] {
        if (auto handler = onChange)
            handler(*this);
    });
}

void FlagCheckBox::setCheckedByProgram(bool checked) {
    setChecked(checked);
}

QRect FlagCheckBox::captionRect() const {
    return {0, 0, std::max(0, indicatorRect().left() - kCaptionGap), height()};
}

QRect FlagCheckBox::indicatorRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int boxWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
    const int boxHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
    const int captionWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text());
    const int left = captionWidth > 0 ? captionWidth + kCaptionGap : 0;
    return {left, (height() - boxHeight) / 2, boxWidth, boxHeight};
}

QSize FlagCheckBox::sizeHint() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int boxWidth = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
    const int boxHeight = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
    const int captionWidth = text().isEmpty() ? 0 : fontMetrics().horizontalAdvance(text());
    return {captionWidth + (captionWidth > 0 ? kCaptionGap : 0) + boxWidth,
            std::max(boxHeight, fontMetrics().height())};
}

QSize FlagCheckBox::minimumSizeHint() const {
    return sizeHint();
}

bool FlagCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void FlagCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QStyleOptionButton box = option;
    box.rect = indicatorRect();
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);

    const QRect caption = captionRect();
    painter.drawItemText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                         palette(), isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = fontMetrics()
                         .boundingRect(caption, Qt::AlignLeft | Qt::AlignVCenter, text())
                         .adjusted(-1, 0, 1, 0)
                         .intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace ui

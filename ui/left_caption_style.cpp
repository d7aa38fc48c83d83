#include "ui/left_caption_style.h"

#include <QStyleOptionButton>

namespace ui {

LeftCaptionStyle::LeftCaptionStyle(QObject* parent) {
    setParent(parent);
}

QRect LeftCaptionStyle::subElementRect(SubElement element, const QStyleOption* option,
                                       const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (!button || (element != SE_CheckBoxIndicator && element != SE_CheckBoxContents &&
                    element != SE_CheckBoxFocusRect && element != SE_CheckBoxClickRect))
        return QProxyStyle::subElementRect(element, option, widget);

    const QRect indicator = QProxyStyle::subElementRect(SE_CheckBoxIndicator, option, widget);
    const int captionWidth = button->fontMetrics.horizontalAdvance(button->text) + 1;
    const QRect caption(option->rect.left(), option->rect.top(), captionWidth,
                        option->rect.height());
    const QRect box(caption.right() + 1 + kGap, indicator.top(), indicator.width(),
                    indicator.height());
    switch (element) {
    case SE_CheckBoxIndicator:
        return box;
    case SE_CheckBoxContents:
        return caption;
    case SE_CheckBoxFocusRect:
        return caption.adjusted(-1, 1, 1, -1).intersected(option->rect);
    default: // SE_CheckBoxClickRect: the caption and the box both toggle it
        return option->rect;
    }
}

} // namespace ui

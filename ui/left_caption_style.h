#pragma once
// Puts a check box's caption to the left of its box, a fixed gap between them.
// Set on the check boxes only; everything else comes from the base style.

#include <QProxyStyle>

namespace ui {

class LeftCaptionStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kGap = 5;

    explicit LeftCaptionStyle(QObject* parent = nullptr);

    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override;
};

} // namespace ui

#include "ui/decimal_separator.h"

#include <QLocale>

namespace ui {

QString decimalSeparator() {
    return QLocale().decimalPoint();
}

std::string decimalSeparatorUtf8() {
    return decimalSeparator().toStdString();
}

} // namespace ui

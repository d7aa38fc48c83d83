#include "shell/system_info.h"

#include <QLocale>

// What the system tells (free memory, the processors) comes from a file of its own for each kind
// of system (system_info_posix.cpp); this file only puts it into words.

namespace shell {

QString formatKilobytes(qint64 kilobytes) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(kilobytes) + QStringLiteral(" KB");
}

QString platformAndProcessors() {
    return platformName() + QStringLiteral(", ") + QString::number(processorCount()) +
           QStringLiteral(" x ") + processorKind();
}

} // namespace shell

#include "shell/error_text.h"

#include "ui/dialogs/dialogs.h"

#include <QApplication>

namespace shell {

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void reportError(const std::exception& error) {
    ui::Dialogs::current().error(QApplication::activeWindow(),
                                 errorBoxText(QString::fromUtf8(error.what())));
}

} // namespace shell

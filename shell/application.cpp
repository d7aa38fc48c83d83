#include "shell/application.h"

#include "shell/error_text.h"
#include "ui/dialogs.h"
#include "ui/user_action.h"

#include <QApplication>

namespace shell {

Windows::Windows(doc::FileSystem& fileSystem)
    : document(settings, fileSystem), form1(document, form6), form3(document, form1, form4),
      form6(document) {
    document.setView(&form6);
    form6.setDocumentCommands(&form3);
}

void Windows::show() {
    form1.show();
}

void initialiseApplication() {
    const QString title = QString::fromUtf16(ui::kApplicationTitle);
    // No display name: the window system would append it to every caption.
    QCoreApplication::setApplicationName(title);
    ui::setErrorReporter(&reportError);
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    initialiseApplication();
    Windows windows;
    windows.show();
    return QApplication::exec();
}

} // namespace shell

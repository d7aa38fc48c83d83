#include "shell/application.h"

#include "shell/command_line.h"
#include "shell/error_text.h"
#include "ui/dialogs/dialogs.h"
#include "ui/user_action.h"

#include <QApplication>

namespace shell {

Windows::Windows(doc::FileSystem& fileSystem)
    : settings(SettingsFile::defaultPath(), fileSystem), document(settings, fileSystem),
      form1(document, form6), form3(document, form1, form4), form6(document), views(document),
      fileDrop(form6, document) {
    document.setView(&form6);
    form6.setDocumentCommands(&form3);
    form6.setViewCommands(&views);
    document.setLoadedListener([this](const QString& path) { recentFiles.add(path); });
}

void Windows::show() {
    form1.show();
}

void Windows::showWithFile(const QString& path) {
    // Shown first, so that a failing open's error box has the editor window under it; the
    // window is painted only once the event loop runs, by then in the layout the open left.
    form6.show();
    ui::runUserAction([this, &path] { document.openPath(path); });
}

void initialiseApplication() {
    const QString title = QString::fromUtf16(ui::kApplicationTitle);
    // No display name: the window system would append it to every caption.
    QCoreApplication::setApplicationName(title);
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
    // Wayland compositors and docks match the windows with the installed desktop entry by it.
    QGuiApplication::setDesktopFileName(QStringLiteral(CORVANE_APP_ID));
    ui::setErrorReporter(&reportError);
}

int runApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    initialiseApplication();
    const std::optional<QString> file = CommandLine().fileToOpen(QApplication::arguments());
    if (!file)
        return 1;
    Windows windows;
    if (file->isEmpty())
        windows.show();
    else
        windows.showWithFile(*file);
    return QApplication::exec();
}

} // namespace shell

#include "shell/file_drop.h"

#include "editor/document.h"
#include "ui/dialogs/dialogs.h"
#include "ui/user_action.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

namespace shell {

FileDrop::FileDrop(QWidget& window, editor::Document& document)
    : m_window(window), m_document(document) {
    m_window.setAcceptDrops(true);
    m_window.installEventFilter(this);
}

bool FileDrop::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched != &m_window ||
        (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop))
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData()->hasUrls())
        return false;
    // Every drop of files is taken, so that a refused one can say why.
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // The open may ask questions; the program that the files come from waits for the drop
        // to end, so the open runs once it has.
        QTimer::singleShot(0, this, [this, dropped = drop->mimeData()->urls()] {
            ui::runUserAction([&] { open(dropped); });
        });
    }
    return true;
}

void FileDrop::open(const QList<QUrl>& dropped) {
    const auto refuse = [this](const QString& why) {
        ui::Dialogs::current().information(&m_window, why);
    };
    if (dropped.size() != 1)
        return refuse(QStringLiteral("Drop one data file at a time."));
    const QUrl& url = dropped.first();
    if (!url.isLocalFile())
        return refuse(QStringLiteral("Only a file on this computer can be opened: %1")
                          .arg(url.toDisplayString()));
    const QFileInfo file(url.toLocalFile());
    if (file.isDir())
        return refuse(QStringLiteral("%1 is a folder. Drop a data file to open it.")
                          .arg(QDir::toNativeSeparators(file.absoluteFilePath())));
    m_document.openPath(QDir::cleanPath(file.absoluteFilePath()));
}

} // namespace shell

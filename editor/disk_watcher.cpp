#include "editor/disk_watcher.h"

#include "ui/user_action.h"

#include <QDateTime>
#include <QFileInfo>

namespace editor {

namespace {
// A program that writes a file in several steps is asked about once, after its last step.
constexpr int kQuietMilliseconds = 100;
} // namespace

DiskWatcher::DiskWatcher(std::function<void()> onChange) : m_onChange(std::move(onChange)) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMilliseconds);
    const auto changed = [this] { m_quiet.start(); };
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_quiet, changed);
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_quiet, changed);
    ui::bindUserAction(&m_quiet, &QTimer::timeout, &m_quiet, [this] {
        rearm();
        m_onChange();
    });
}

void DiskWatcher::watch(const QStringList& files) {
    m_files = files;
    rearm();
}

QString DiskWatcher::stamp() const {
    QString text;
    for (const QString& file : m_files) {
        const QFileInfo info(file);
        text += QStringLiteral("%1 %2 %3;")
                    .arg(info.size())
                    .arg(info.lastModified().toMSecsSinceEpoch())
                    .arg(info.metadataChangeTime().toMSecsSinceEpoch());
    }
    return text;
}

void DiskWatcher::rearm() {
    // A watch stays with the file it was set on; a file renamed over the path is a new one.
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    QStringList paths;
    for (const QString& file : m_files) {
        paths << file;
        const QString folder = QFileInfo(file).absolutePath();
        if (!paths.contains(folder))
            paths << folder;
    }
    if (!paths.isEmpty())
        m_watcher.addPaths(paths);
}

} // namespace editor

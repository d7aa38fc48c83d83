#pragma once
// Tells when the files of the open pair change on disk, including a file put
// in their place by rename, as it happens. The folder is watched for names that
// come and go, the files for their contents; after every change the files are
// watched afresh, so a watch follows the file the path names now.

#include <QFileSystemWatcher>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace editor {

class DiskWatcher {
public:
    /** onChange runs as a user action once the files have been quiet for a moment after a
     * change; it may also run when something else in their folder changed. */
    explicit DiskWatcher(std::function<void()> onChange);
    DiskWatcher(const DiskWatcher&) = delete;
    DiskWatcher& operator=(const DiskWatcher&) = delete;

    /** Watches these files and their folders from now on, instead of any watched before. */
    void watch(const QStringList& files);

    /** Sizes, modification and change times of the watched files as they are now: two stamps
     * differ when a file was written or put in place since. */
    QString stamp() const;

private:
    void rearm();

    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    QStringList m_files;
    std::function<void()> m_onChange;
};

} // namespace editor

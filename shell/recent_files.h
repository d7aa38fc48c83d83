#pragma once
// The desktop's list of recently used files: the bookmark file that file managers and file
// dialogs show as "Recent" ($XDG_DATA_HOME/recently-used.xbel). Each data file the editor opens
// is added with this application and the file's MIME type, and the list is written as other
// programs write it: read whole, every other entry kept, replaced whole and atomically.

#include <QString>

namespace shell {

class RecentFiles {
public:
    /** $XDG_DATA_HOME/recently-used.xbel (~/.local/share without XDG_DATA_HOME). */
    static QString defaultPath();

    explicit RecentFiles(QString bookmarkFile = defaultPath());

    /** Records that this application used the file at path (absolute) now: its bookmark is made,
     * or its visit time and this application's count are brought up to date. A bookmark file
     * that cannot be read or is not a bookmark list is left as it is; so is one that cannot be
     * replaced. Returns whether the file now holds the use; a failure is only logged, since it
     * takes nothing from the user's work. */
    bool add(const QString& path) const;

private:
    QString m_bookmarkFile;
};

} // namespace shell

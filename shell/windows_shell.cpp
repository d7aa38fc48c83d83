#include "shell/windows_shell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <windows.h>

#include <shlobj.h>

namespace shell {

QString windowsUserFile(const QString& fileName, const QString& firstRunFolder) {
    // %APPDATA% as this process was given it (a launcher, or a test, may point it elsewhere);
    // else the roaming application data folder itself.
    QString folder = qEnvironmentVariable("APPDATA");
    if (folder.isEmpty()) {
        wchar_t* roaming = nullptr;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr,
                                             &roaming)))
            folder = QString::fromWCharArray(roaming);
        ::CoTaskMemFree(roaming);
    }
    folder = QDir::fromNativeSeparators(folder) + QStringLiteral("/cvnobj");
    QDir().mkpath(folder);
    const QString path = folder + u'/' + fileName;
    const QString before = QDir::fromNativeSeparators(firstRunFolder) + u'/' + fileName;
    if (!QFileInfo::exists(path) && QFileInfo(before).isFile())
        QFile::copy(before, path);
    return path; // with "/", as Qt gives paths and the file layer takes them on every system
}

QString windowsDirectory() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    return QString::fromWCharArray(buffer, static_cast<qsizetype>(length));
}

void addToWindowsRecentDocuments(const QString& path) {
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    ::SHAddToRecentDocs(SHARD_PATHW, native.c_str());
}

} // namespace shell

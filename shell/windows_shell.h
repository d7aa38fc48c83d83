#pragma once
// Where the program keeps its own files on Windows, and the desktop's list of recent documents
// there. Windows only (shell/windows_shell.cpp).

#include <QString>

namespace shell {

/** fileName in the user's "%APPDATA%\cvnobj\" folder, made when missing: a current Windows lets
 * no program write into its own folder or the Windows directory. When the folder has no such
 * file yet, the one in firstRunFolder (the place the file had before) is copied there once.
 * The path is written with "/". */
QString windowsUserFile(const QString& fileName, const QString& firstRunFolder);

/** The Windows directory, e.g. "C:\Windows". */
QString windowsDirectory();

/** Adds path to the files Windows lists as recently used (the Start menu's and Explorer's). */
void addToWindowsRecentDocuments(const QString& path);

} // namespace shell

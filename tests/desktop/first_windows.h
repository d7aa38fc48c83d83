#pragma once
// The first windows of a run as the user meets them, for the tests that read what the window
// system receives: the start window, the editor window after "Open" on it, and the editor window
// with a data file opened, each checked as soon as it is shown.

#include "shell/application.h"
#include "shell/settings_file.h"
#include "tests/support/data_files.h"
#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace testsupport {

/** The window shown and the caption it must carry. */
using CaptionCheck = std::function<void(QWidget& window, const QString& caption)>;

/** Starts the program without settings on a data file of three records and walks through its
 * first windows, handing each to check; stops at the first check that fails. */
inline void walkFirstWindows(const CaptionCheck& check) {
    TempFolder folder;
    DataFile file;
    file.records = sampleRecords(3);
    const std::string path = folder.file("OBJDAT.dat");
    file.write(path);
    QFile::remove(shell::SettingsFile::defaultPath());
    ui::ScriptedDialogs dialogs;
    ui::ScopedDialogs installed(dialogs);

    shell::Windows windows;
    windows.show();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.form1));
    check(windows.form1, QStringLiteral("Corvane OBJDAT File Editor 3.0"));
    if (QTest::currentTestFailed())
        return;

    QTest::mouseClick(windows.form1.Button5, Qt::LeftButton);
    QVERIFY(QTest::qWaitForWindowExposed(&windows.form6));
    check(windows.form6, QStringLiteral("Corvane Object Data Editor"));
    if (QTest::currentTestFailed())
        return;

    dialogs.queueFolder(QString::fromStdString(folder.path()));
    dialogs.queueOpenFile(QString::fromStdString(path));
    windows.form6.Open1->trigger();
    check(windows.form6, QStringLiteral("Editing ") + QString::fromStdString(path));
}

} // namespace testsupport

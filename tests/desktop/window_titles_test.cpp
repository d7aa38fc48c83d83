// The captions as the window system receives them: the _NET_WM_NAME property
// that each window hands to the X server, which is what title bars, task bars
// and window lists show (windowTitle() may differ from it). Runs under Xvfb.

#include "shell/application.h"
#include "shell/settings_file.h"
#include "tests/support/data_files.h"
#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/dialogs/standard_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

/** The window's _NET_WM_NAME as xprop reads it from the server; empty while it has none. */
QString netWmName(QWidget* window) {
    QProcess xprop;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s); // the value as UTF-8, not escaped
    xprop.setProcessEnvironment(environment);
    xprop.start(u"xprop"_s, {u"-id"_s, QString::number(window->winId()), u"_NET_WM_NAME"_s});
    if (!xprop.waitForFinished(5000) || xprop.exitCode() != 0)
        return u"<xprop failed: "_s + QString::fromUtf8(xprop.readAllStandardError()) + u'>';
    // _NET_WM_NAME(UTF8_STRING) = "Editing /tmp/x/OBJDAT.dat"
    const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = line.indexOf(u" = \""_s);
    if (open < 0 || !line.endsWith(u'"'))
        return {};
    QString value = line.mid(open + 4).chopped(1);
    value.replace(u"\\\""_s, u"\""_s).replace(u"\\\\"_s, u"\\"_s);
    return value;
}

/** Runs show, which opens a modal message box and returns when it closes; reads the box's
 * caption from the server as soon as it has one, then closes the box. */
QString captionOfMessageBox(const std::function<void()>& show) {
    QString caption;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        caption = netWmName(box);
        if (!caption.isEmpty() || clock.elapsed() > 10000) {
            poll.stop();
            box->reject();
        }
    });
    poll.start();
    show();
    return caption;
}

} // namespace

class WindowTitlesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(QGuiApplication::platformName() == u"xcb"_s,
                 "needs an X server: run it through tests/desktop/run_under_xvfb.sh");
        shell::initialiseApplication();
    }

    void windowsCarryExactlyTheirCaption() {
        testsupport::TempFolder folder;
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(3);
        const std::string path = folder.file("OBJDAT.dat");
        file.write(path);
        QFile::remove(shell::SettingsFile::defaultPath());
        ui::ScriptedDialogs dialogs;
        ui::ScopedDialogs installed(dialogs);

        shell::Windows windows;
        windows.show();
        QVERIFY(QTest::qWaitForWindowExposed(&windows.form1));
        QTRY_COMPARE(netWmName(&windows.form1), u"Corvane OBJDAT File Editor 3.0"_s);

        QTest::mouseClick(windows.form1.Button5, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&windows.form6));
        QTRY_COMPARE(netWmName(&windows.form6), u"Corvane Object Data Editor"_s);

        dialogs.queueFolder(QString::fromStdString(folder.path()));
        dialogs.queueOpenFile(QString::fromStdString(path));
        windows.form6.Open1->trigger();
        QTRY_COMPARE(netWmName(&windows.form6), u"Editing "_s + QString::fromStdString(path));
    }

    void messageBoxesCarryTheirKind() {
        ui::StandardDialogs dialogs;
        QCOMPARE(captionOfMessageBox([&] { dialogs.confirm(nullptr, u"Do you wish?"_s); }),
                 u"Confirm"_s);
        QCOMPARE(captionOfMessageBox([&] { dialogs.information(nullptr, u"Saving."_s); }),
                 u"Information"_s);
    }
};

QTEST_MAIN(WindowTitlesTest)
#include "window_titles_test.moc"

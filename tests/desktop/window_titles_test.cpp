// The captions as the window system receives them: the _NET_WM_NAME property
// that each window hands to the X server, which is what title bars, task bars
// and window lists show (windowTitle() may differ from it). Runs under Xvfb.

#include "tests/desktop/first_windows.h"
#include "ui/dialogs/standard_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
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
        testsupport::walkFirstWindows([](QWidget& window, const QString& caption) {
            QTRY_COMPARE(netWmName(&window), caption);
        });
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

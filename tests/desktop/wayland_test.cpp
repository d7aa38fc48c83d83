// The windows as a Wayland compositor receives them: each top-level surface's title and
// application id, read from the client's own protocol log (WAYLAND_DEBUG), since a compositor
// shows and groups windows by nothing else. Runs under a headless weston
// (tests/desktop/run_under_weston.sh).

#include "tests/desktop/first_windows.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct Toplevel {
    QString title; // the last one set
    QString appId;
    bool destroyed = false;
};

/** The xdg_toplevel objects of the protocol log so far, by object id; an id the client reused
 * after destroying its object names the newest one. */
QMap<int, Toplevel> toplevels() {
    QFile file(qEnvironmentVariable("CORVANE_WAYLAND_LOG"));
    QMap<int, Toplevel> found;
    if (!file.open(QIODevice::ReadOnly))
        return found;
    // [ 677352.247]  -> xdg_toplevel@14.set_title("Bare window")
    static const QRegularExpression request(
        uR"re(-> xdg_toplevel@(\d+)\.(set_title|set_app_id|destroy)\((?:"(.*)")?\)$)re"_s);
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QRegularExpressionMatch match = request.match(QString::fromUtf8(line));
        if (!match.hasMatch())
            continue;
        const int id = match.captured(1).toInt();
        if (found.value(id).destroyed)
            found.remove(id);
        Toplevel& toplevel = found[id];
        if (match.captured(2) == u"set_title"_s)
            toplevel.title = match.captured(3);
        else if (match.captured(2) == u"set_app_id"_s)
            toplevel.appId = match.captured(3);
        else
            toplevel.destroyed = true;
    }
    return found;
}

/** "title [app id]" of every top-level surface shown now, sorted. */
QStringList shownToplevels() {
    QStringList shown;
    for (const Toplevel& toplevel : toplevels())
        if (!toplevel.destroyed)
            shown << toplevel.title + u" ["_s + toplevel.appId + u']';
    shown.sort();
    return shown;
}

} // namespace

class WaylandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(QGuiApplication::platformName() == u"wayland"_s,
                 "needs a Wayland compositor: run it through tests/desktop/run_under_weston.sh");
        QVERIFY2(!qEnvironmentVariableIsEmpty("CORVANE_WAYLAND_LOG"),
                 "CORVANE_WAYLAND_LOG names no protocol log");
        shell::initialiseApplication();
    }

    void windowsCarryTheirCaptionAndTheDesktopEntrysName() {
        testsupport::walkFirstWindows([](QWidget&, const QString& caption) {
            QTRY_COMPARE(shownToplevels(), QStringList{caption + u" [" CORVANE_APP_ID "]"_s});
        });
    }
};

QTEST_MAIN(WaylandTest)
#include "wayland_test.moc"

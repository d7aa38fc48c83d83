// The error box's text and the reporter that shows it through the dialogs seam.

#include "document/errors.h"
#include "shell/error_text.h"
#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/user_action.h"

#include <QtTest>

class ErrorTextTest : public QObject {
    Q_OBJECT
private slots:
    void fullStopRule_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << QStringLiteral("File access denied")
                                << QStringLiteral("File access denied.");
        QTest::newRow("full stop") << QStringLiteral("abc.") << QStringLiteral("abc.");
        QTest::newRow("sorts before") << QStringLiteral("x!") << QStringLiteral("x!");
        QTest::newRow("hyphen") << QStringLiteral("a-") << QStringLiteral("a-");
        QTest::newRow("slash sorts after") << QStringLiteral("Unable to write to /x/")
                                           << QStringLiteral("Unable to write to /x/.");
        QTest::newRow("quote") << QStringLiteral("'' is not a valid integer value")
                               << QStringLiteral("'' is not a valid integer value.");
        QTest::newRow("digit") << QStringLiteral("I/O error 13") << QStringLiteral("I/O error 13.");
        QTest::newRow("empty") << QString() << QString();
    }
    void fullStopRule() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(shell::errorBoxText(message), shown);
    }

    void reporterShowsTheErrorBox() {
        ui::ScriptedDialogs dialogs;
        ui::ScopedDialogs installed(dialogs);
        const ui::ErrorReporter previous = ui::setErrorReporter(shell::reportError);
        const bool completed = ui::runUserAction(
            [] { throw doc::ConversionError("'12,5x' is not a valid floating point value"); });
        ui::runUserAction([] { throw doc::Error("Größe ungültig"); });
        ui::setErrorReporter(previous);

        QVERIFY(!completed);
        QCOMPARE(dialogs.texts(ui::ScriptedDialogs::Kind::Error),
                 QStringList({QStringLiteral("'12,5x' is not a valid floating point value."),
                              QStringLiteral("Größe ungültig.")}));
        QCOMPARE(dialogs.messages().size(), 2);
    }
};

QTEST_MAIN(ErrorTextTest)
#include "error_text_test.moc"

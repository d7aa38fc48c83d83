// The real dialogs behind the seam, driven headless, and the scripted ones the
// GUI tests rely on.

#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "ui/artwork/fonts.h"
#include "ui/dialogs/file_filters.h"
#include "ui/dialogs/folder_prompt.h"
#include "ui/dialogs/font_dialog.h"
#include "ui/dialogs/standard_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontComboBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <functional>

namespace {

// Runs handle on the modal dialog once it is up. Should handle leave the dialog open (a check in
// it failed), the dialog is rejected, so the test's exec() always returns; after five seconds
// without a modal dialog the wait ends.
void whenModalShows(std::function<void(QWidget*)> handle) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, handle, deadline] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        const bool up = modal && modal->isVisible();
        if (!up && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        if (!up)
            return;
        handle(modal);
        if (modal && modal->isVisible()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal.data()))
                dialog->reject();
            else
                modal->close();
        }
    });
    timer->start();
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void filtersFromBarSeparatedText() {
        QCOMPARE(
            ui::fileDialogFilters(QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*")),
            QStringList({QStringLiteral("OBJDAT (obj*.dat)"), QStringLiteral("Dat Files (*.dat)"),
                         QStringLiteral("All Files (*)")}));
        QCOMPARE(ui::fileDialogFilters(QStringLiteral("Data|*.dat;*.nam|Dangling")),
                 QStringList({QStringLiteral("Data (*.dat *.nam)")}));
        QCOMPARE(ui::fileDialogFilters(QStringLiteral("Anything|")),
                 QStringList({QStringLiteral("Anything (*)")}));
        QVERIFY(ui::fileDialogFilters(QString()).isEmpty());
    }

    void shortenPath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("shortened");
        QTest::newRow("fits") << QStringLiteral("/home/user/OBJDAT.dat") << 40
                              << QStringLiteral("/home/user/OBJDAT.dat");
        QTest::newRow("exactly 40")
            << QStringLiteral("/aaaaaaaaa/bbbbbbbbb/ccccccccc/ddddddddd") << 40
            << QStringLiteral("/aaaaaaaaa/bbbbbbbbb/ccccccccc/ddddddddd");
        QTest::newRow("leading folders go")
            << QStringLiteral("/home/user/games/corvane/data/objects/OBJDAT.dat") << 40
            << QStringLiteral(".../corvane/data/objects/OBJDAT.dat");
        QTest::newRow("windows") << QStringLiteral(
                                        "C:\\Program Files\\Corvane Game\\Data\\OBJDAT.dat")
                                 << 30 << QStringLiteral("...\\Data\\OBJDAT.dat");
        QTest::newRow("last component cut")
            << QStringLiteral("/x/a_very_long_file_name_that_does_not_fit.dat") << 20
            << QStringLiteral(".../a_very_long_file");
        QTest::newRow("no separator")
            << QStringLiteral("abcdefghij") << 8 << QStringLiteral("...abcde");
    }
    void shortenPath() {
        QFETCH(QString, path);
        QFETCH(int, maxLength);
        QFETCH(QString, shortened);
        const QString result = ui::shortenPath(path, maxLength);
        QCOMPARE(result, shortened);
        QVERIFY(result.size() <= maxLength);
    }

    void folderPromptReturnsTypedPath() {
        const QString folder = m_dir.filePath(QStringLiteral("games/data"));
        QVERIFY(QDir().mkpath(folder));
        ui::FolderPrompt prompt(QStringLiteral("Select OBJDAT File Directory"), QString());
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QVERIFY(prompt.okButton()->isEnabled());
        const QList<QLabel*> labels = prompt.findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
            return label->text() == QStringLiteral("Select OBJDAT File Directory");
        }));

        prompt.pathEdit()->setFocus();
        prompt.pathEdit()->clear();
        QTest::keyClicks(prompt.pathEdit(), folder + QStringLiteral("/"));
        QTest::keyClick(prompt.pathEdit(), Qt::Key_Return);
        QCOMPARE(prompt.result(), int(QDialog::Accepted));
        QCOMPARE(prompt.selectedPath(), QDir::toNativeSeparators(folder));
    }

    void folderPromptListsFilesAndShowsHighlightedPath() {
        const QString folder = m_dir.filePath(QStringLiteral("listing/with/a/rather/deep/folder"));
        QVERIFY(QDir().mkpath(folder));
        QFile data(folder + QStringLiteral("/OBJDAT.dat"));
        QVERIFY(data.open(QIODevice::WriteOnly));
        data.close();

        ui::FolderPrompt prompt(QStringLiteral("Select OBJDAT File Directory"), folder);
        prompt.show();
        QVERIFY(QTest::qWaitForWindowExposed(&prompt));
        QCOMPARE(prompt.pathEdit()->text(), QDir::toNativeSeparators(folder));
        QCOMPARE(prompt.statusLine()->text(), ui::shortenPath(QDir::toNativeSeparators(folder)));
        QVERIFY(prompt.statusLine()->text().size() <= 40);

        // The data file itself is listed; choosing it means its folder.
        const QModelIndex folderIndex = prompt.tree()->currentIndex();
        QTRY_COMPARE(prompt.tree()->model()->rowCount(folderIndex), 1);
        const QModelIndex file = prompt.tree()->model()->index(0, 0, folderIndex);
        QCOMPARE(file.data().toString(), QStringLiteral("OBJDAT.dat"));
        prompt.tree()->setCurrentIndex(file);
        QVERIFY(prompt.pathEdit()->text().endsWith(QStringLiteral("OBJDAT.dat")));
        QVERIFY(prompt.statusLine()->text().endsWith(QStringLiteral("OBJDAT.dat")));
        QCOMPARE(prompt.selectedPath(), QDir::toNativeSeparators(folder));

        // A relative text counts from the highlighted folder.
        prompt.pathEdit()->setText(QStringLiteral("sub"));
        QCOMPARE(prompt.selectedPath(), QDir::toNativeSeparators(folder + QStringLiteral("/sub")));
    }

    void browseFolderRemembersLastConfirmedPath() {
        ui::StandardDialogs dialogs;
        const QString instruction = QStringLiteral("Select OBJDAT File Directory");

        whenModalShows([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(dialogs.browseFolder(nullptr, instruction), QString());

        const QString folder = m_dir.path();
        whenModalShows([folder](QWidget* modal) {
            auto* prompt = qobject_cast<ui::FolderPrompt*>(modal);
            QVERIFY(prompt);
            prompt->pathEdit()->setText(folder);
            prompt->okButton()->click();
        });
        QCOMPARE(dialogs.browseFolder(nullptr, instruction), QDir::toNativeSeparators(folder));

        whenModalShows([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(dialogs.browseFolder(nullptr, instruction), QDir::toNativeSeparators(folder));
    }

    void openDialogIsConfiguredFromTheRequest() {
        ui::StandardDialogs dialogs;
        const ui::Dialogs::OpenFileRequest request{
            QString(), m_dir.path(),
            QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*"), QStringLiteral("dat")};

        QStringList filters;
        QString selectedFilter;
        QString directory;
        QString suffix;
        bool native = true;
        whenModalShows([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            selectedFilter = dialog->selectedNameFilter();
            directory = dialog->directory().absolutePath();
            suffix = dialog->defaultSuffix();
            native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
            dialog->reject();
        });
        QCOMPARE(dialogs.openFile(nullptr, request), QString());
#ifdef Q_OS_WIN
        QVERIFY(native); // Windows' own dialog where the platform has one
#else
        QVERIFY(!native); // Qt's, the same on every Linux desktop
#endif
        QCOMPARE(filters.size(), 3);
        QCOMPARE(selectedFilter, QStringLiteral("OBJDAT (obj*.dat)"));
        QCOMPARE(directory, QDir(m_dir.path()).absolutePath());
        QCOMPARE(suffix, QStringLiteral("dat"));
    }

    void messageBoxesHaveTheirTitlesAndButtons() {
        ui::StandardDialogs dialogs;
        struct Seen {
            QString title;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
            QStringList buttons;
        } seen;
        const auto inspect = [&seen](QWidget* modal, const QString& press) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            seen = Seen{box->windowTitle(), box->icon(), {}};
            QAbstractButton* toPress = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons << button->text();
                if (button->text() == press)
                    toPress = button;
            }
            QVERIFY(toPress);
            toPress->click();
        };

        whenModalShows([&](QWidget* m) { inspect(m, QStringLiteral("&No")); });
        QCOMPARE(dialogs.confirm(nullptr, QStringLiteral("Do you wish to save the changes?")),
                 ui::Dialogs::Answer::No);
        QCOMPARE(seen.title, QStringLiteral("Confirm"));
        QCOMPARE(seen.icon, QMessageBox::Question);
        seen.buttons.sort();
        QCOMPARE(seen.buttons, QStringList({QStringLiteral("&No"), QStringLiteral("&Yes")}));

        whenModalShows([&](QWidget* m) { inspect(m, QStringLiteral("&Yes")); });
        QCOMPARE(dialogs.confirm(nullptr, QStringLiteral("?")), ui::Dialogs::Answer::Yes);

        const QString changed =
            QStringLiteral("OBJDAT.dat was changed by another program since it was opened.");
        for (const auto& [press, answer] :
             {std::pair{QStringLiteral("&Overwrite"), ui::Dialogs::Answer::Overwrite},
              std::pair{QStringLiteral("&Reload"), ui::Dialogs::Answer::Reload},
              std::pair{QStringLiteral("&Cancel"), ui::Dialogs::Answer::Cancel}}) {
            whenModalShows([&, press = press](QWidget* m) { inspect(m, press); });
            QCOMPARE(dialogs.confirmOverwrite(nullptr, changed), answer);
            QCOMPARE(seen.title, QStringLiteral("Confirm"));
            QCOMPARE(seen.icon, QMessageBox::Question);
            seen.buttons.sort();
            QCOMPARE(seen.buttons,
                     QStringList({QStringLiteral("&Cancel"), QStringLiteral("&Overwrite"),
                                  QStringLiteral("&Reload")}));
        }
        // Enter takes the default and Escape cancels: neither writes over the change.
        QString enter, escape;
        whenModalShows([&](QWidget* m) {
            auto* box = qobject_cast<QMessageBox*>(m);
            QVERIFY(box && box->defaultButton() && box->escapeButton());
            enter = box->defaultButton()->text();
            escape = box->escapeButton()->text();
            QTest::keyClick(m, Qt::Key_Escape);
        });
        QCOMPARE(dialogs.confirmOverwrite(nullptr, changed), ui::Dialogs::Answer::Cancel);
        QCOMPARE(enter, QStringLiteral("&Cancel"));
        QCOMPARE(escape, QStringLiteral("&Cancel"));

        whenModalShows([&](QWidget* m) { inspect(m, QStringLiteral("OK")); });
        dialogs.information(nullptr, QStringLiteral("Saving changes."));
        QCOMPARE(seen.title, QStringLiteral("Information"));
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});

        whenModalShows([&](QWidget* m) { inspect(m, QStringLiteral("OK")); });
        dialogs.error(nullptr, QStringLiteral("File access denied."));
        QCOMPARE(seen.title, QStringLiteral("Corvane OBJDAT File Editor"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
    }

    void textQuestionReturnsTheLineOnOkAndNothingOnCancel() {
        ui::StandardDialogs dialogs;
        QString shown;
        for (const bool confirm : {true, false}) {
            whenModalShows([&](QWidget* modal) {
                auto* dialog = qobject_cast<QInputDialog*>(modal);
                QVERIFY(dialog);
                shown =
                    dialog->windowTitle() + u'|' + dialog->labelText() + u'|' + dialog->textValue();
                dialog->setTextValue(QStringLiteral("object 2"));
                confirm ? dialog->accept() : dialog->reject();
            });
            const std::optional<QString> answer =
                dialogs.askText(nullptr, QStringLiteral("Find Record"), QStringLiteral("Find:"),
                                QStringLiteral("x"));
            QCOMPARE(shown, QStringLiteral("Find Record|Find:|x"));
            QCOMPARE(answer, confirm ? std::optional(QStringLiteral("object 2")) : std::nullopt);
        }
    }

    void fontDialogAppliesWhileOpenAndReturnsOnOk() {
        ui::StandardDialogs dialogs;
        QList<ui::Dialogs::FontChoice> applied;
        const auto apply = [&applied](const ui::Dialogs::FontChoice& c) { applied << c; };
        QFont start(QStringLiteral("DejaVu Sans"));
        start.setPointSize(14);
        const ui::Dialogs::FontChoice initial{start, QColor(Qt::red)};

        for (const bool confirm : {false, true}) {
            whenModalShows([&](QWidget* modal) {
                auto* dialog = qobject_cast<ui::FontDialog*>(modal);
                QVERIFY(dialog);
                QCOMPARE(dialog->family->fontFilters(), QFontComboBox::ScalableFonts);
                QCOMPARE(dialog->size->minimum(), 8);
                QCOMPARE(dialog->size->maximum(), 32);
                QCOMPARE(dialog->size->value(), 14);
                QCOMPARE(dialog->colour->currentData().value<QColor>(), QColor(Qt::red));
                dialog->size->setValue(20);
                dialog->underline->setChecked(true);
                QTest::mouseClick(dialog->applyButton, Qt::LeftButton);
                QVERIFY(dialog->isVisible()); // "Apply" leaves the dialog open
                dialog->strikeOut->setChecked(true);
                if (confirm)
                    dialog->accept();
            });
            const auto chosen = dialogs.chooseFont(nullptr, initial, apply);
            QCOMPARE(chosen.has_value(), confirm);
            if (chosen) {
                QVERIFY(chosen->font.strikeOut());
                QCOMPARE(chosen->font.pointSize(), 20);
            }
        }
        QCOMPARE(applied.size(), 2);
        QCOMPARE(applied[0].font.pointSize(), 20);
        QVERIFY(applied[0].font.underline() && !applied[0].font.strikeOut());
        QCOMPARE(applied[0].colour, QColor(Qt::red));

        // The first start: the 11-pixel window font shows as 8 points.
        ui::FontDialog first({ui::fonts::msSansSerif(11), QColor(Qt::black)}, nullptr);
        QCOMPARE(first.size->value(), 8);
    }

    void scriptedDialogsAnswerFromQueuesAndNeverBlock() {
        ui::ScriptedDialogs scripted;
        {
            ui::ScopedDialogs installed(scripted);
            QCOMPARE(&ui::Dialogs::current(), &scripted);
            scripted.queueOpenFile(QStringLiteral("/d/OBJDAT.dat"));
            scripted.queueFolder(QStringLiteral("/d"));
            scripted.queueFolder(QString());
            scripted.queueAnswer(ui::Dialogs::Answer::Yes);
            ui::Dialogs& d = ui::Dialogs::current();
            QCOMPARE(
                d.openFile(nullptr, {QString(), QStringLiteral("/start"), QString(), QString()}),
                QStringLiteral("/d/OBJDAT.dat"));
            QCOMPARE(d.openFile(nullptr, {}), QString());
            QCOMPARE(d.browseFolder(nullptr, QStringLiteral("pick")), QStringLiteral("/d"));
            QCOMPARE(d.browseFolder(nullptr, QStringLiteral("pick")), QStringLiteral("/d"));
            QCOMPARE(d.confirm(nullptr, QStringLiteral("q1")), ui::Dialogs::Answer::Yes);
            QCOMPARE(d.confirm(nullptr, QStringLiteral("q2")), ui::Dialogs::Answer::No);
            QCOMPARE(d.confirmOverwrite(nullptr, QStringLiteral("q3")),
                     ui::Dialogs::Answer::Cancel);
            d.information(nullptr, QStringLiteral("i"));
            d.error(nullptr, QStringLiteral("e."));
        }
        QVERIFY(dynamic_cast<ui::StandardDialogs*>(&ui::Dialogs::current()));
        QCOMPARE(scripted.openRequests().size(), 2);
        QCOMPARE(scripted.openRequests().front().startFolder, QStringLiteral("/start"));
        QCOMPARE(scripted.folderPrompts().size(), 2);
        QCOMPARE(scripted.unanswered(),
                 QStringList({QStringLiteral("openFile"), QStringLiteral("confirm"),
                              QStringLiteral("confirmOverwrite")}));
        QCOMPARE(scripted.texts(ui::ScriptedDialogs::Kind::Confirm),
                 QStringList({QStringLiteral("q1"), QStringLiteral("q2"), QStringLiteral("q3")}));
        QCOMPARE(scripted.messages().size(), 5);
        QCOMPARE(scripted.messages().back().kind, ui::ScriptedDialogs::Kind::Error);
        QCOMPARE(scripted.pendingAnswers(), 0);
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"

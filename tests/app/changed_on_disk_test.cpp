// The editor and other programs on one pair, through the real windows: a save
// after another program changed the files asks before it writes, a change on
// disk is noticed when it happens, and a save cut off by a crash is put back
// and told at the next open.

#include "document/file_layout.h"
#include "document/own_files.h"
#include "shell/error_text.h"
#include "tests/app/running_editor.h"
#include "tests/support/data_files.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/record_list.h"

#include <QAction>
#include <QtTest>

#include <filesystem>
#include <memory>

using testsupport::Bytes;
using testsupport::RunningEditor;
using Answer = ui::Dialogs::Answer;
using Kind = ui::ScriptedDialogs::Kind;

namespace {

constexpr int kRecords = 4;
const QString kChangedSinceOpened =
    QStringLiteral("OBJDAT.dat was changed by another program since it was opened.");
const QString kReloadQuestion =
    QStringLiteral("OBJDAT.dat was changed by another program. Reload it?");

/** One editor on a pair of four records. */
struct Scene {
    Scene() {
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(kRecords);
        file.write(data);
        testsupport::writeNamesFile(data, {"Bunker", "Hangar", "Tank", "Jeep"});
        editor = std::make_unique<RunningEditor>();
        editor->startAndOpen(QString::fromStdString(data), QString::fromStdString(folder.path()));
    }

    /** Another program sets field 0 of record 1, in place or through a new file renamed over the
     * data file. */
    void changeOnDisk(std::uint32_t value, bool byRename = false) const {
        Bytes bytes = testsupport::readFile(data);
        for (std::size_t i = 0; i < 4; ++i)
            bytes[static_cast<std::size_t>(testsupport::fieldOffset(1, 0)) + i] =
                static_cast<std::uint8_t>(value >> (8 * i));
#ifdef Q_OS_WIN
        // Windows lets no program rename a file over one that another holds open, as the editor
        // holds its pair: there another program can only write it in place.
        byRename = false;
#endif
        if (!byRename) {
            testsupport::writeFile(data, bytes);
            return;
        }
        testsupport::writeFile(data + ".new", bytes);
        std::filesystem::rename(data + ".new", data);
    }

    /** The user types 77 into field 1 of row 2: an unsaved change. */
    void edit() const {
        editor->clickRow(2);
        editor->typeOver(editor->form6().ME3, QStringLiteral("77"));
    }

    QStringList questions() const { return editor->dialogs().texts(Kind::Confirm); }
    std::uint32_t stored(int record, int field) const {
        return testsupport::recordAt(testsupport::readFile(data), record)
            .fields[static_cast<std::size_t>(field)];
    }

    testsupport::TempFolder folder;
    std::string data = folder.file("OBJDAT.dat");
    std::unique_ptr<RunningEditor> editor;
};

} // namespace

class ChangedOnDiskTest : public QObject {
    Q_OBJECT

private slots:
    void aSaveAsksBeforeWritingOverAnotherProgramsChange_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("byRename");
        QTest::addColumn<bool>("ours");   // the file then holds the editor's edit
        QTest::addColumn<bool>("theirs"); // and the other program's change
        QTest::addColumn<bool>("unsaved");
        QTest::newRow("Overwrite") << int(Answer::Overwrite) << false << true << false << false;
        QTest::newRow("Overwrite a file put in place")
            << int(Answer::Overwrite) << true << true << false << false;
        QTest::newRow("Reload") << int(Answer::Reload) << false << false << true << false;
        QTest::newRow("Cancel") << int(Answer::Cancel) << true << false << true << true;
    }

    void aSaveAsksBeforeWritingOverAnotherProgramsChange() {
        QFETCH(int, answer);
        QFETCH(bool, byRename);
        QFETCH(bool, ours);
        QFETCH(bool, theirs);
        QFETCH(bool, unsaved);
#ifdef Q_OS_WIN
        if (byRename)
            QSKIP("Windows lets no program rename a file over one the editor holds open");
#endif
        Scene scene;
        scene.edit();
        scene.changeOnDisk(4242, byRename);
        const Bytes replacedBefore = testsupport::readFile(scene.data);
        scene.editor->dialogs().queueAnswer(static_cast<Answer>(answer));
        scene.editor->form6().Save1->trigger();

        QCOMPARE(scene.questions(), QStringList{kChangedSinceOpened});
        QVERIFY2(scene.editor->errors().isEmpty(), qPrintable(scene.editor->errors().join(u'|')));
        QCOMPARE(scene.stored(2, 1) == 77u, ours);
        QCOMPARE(scene.stored(1, 0) == 4242u, theirs);
        QCOMPARE(scene.editor->form6().Save1->isEnabled(), unsaved);
        const QString row1 = scene.editor->form6().LMDLB1->rowText(1);
        QCOMPARE(row1.startsWith(QStringLiteral("1;4242;")), theirs && !unsaved);
        if (!ours)
            QCOMPARE(testsupport::readFile(scene.data), replacedBefore);
    }

    void aChangeOnDiskIsNoticedWhenItHappens() {
        Scene scene;
        ui::ScriptedDialogs& dialogs = scene.editor->dialogs();

        // Reloaded on "Yes".
        dialogs.queueAnswer(Answer::Yes);
        scene.changeOnDisk(4242);
        QTRY_COMPARE(scene.questions(), QStringList{kReloadQuestion});
        QVERIFY(scene.editor->form6().LMDLB1->rowText(1).startsWith(QStringLiteral("1;4242;")));

        // A file renamed over the data file is followed; "No" keeps the table, and nothing else
        // in the folder brings the question back.
        dialogs.queueAnswer(Answer::No);
        scene.changeOnDisk(555, true);
        QTRY_COMPARE(scene.questions().size(), 2);
        QCOMPARE(scene.questions().back(), kReloadQuestion);
        testsupport::writeFile(scene.folder.file("unrelated.txt"), Bytes(3, 1));
        QTest::qWait(400);
        QCOMPARE(scene.questions().size(), 2);
        QVERIFY(scene.editor->form6().LMDLB1->rowText(1).startsWith(QStringLiteral("1;4242;")));

        // The next change is asked about again; its file is the one put in place.
        dialogs.queueAnswer(Answer::Yes);
        scene.changeOnDisk(666);
        QTRY_COMPARE(scene.questions().size(), 3);
        QVERIFY(scene.editor->form6().LMDLB1->rowText(1).startsWith(QStringLiteral("1;666;")));

        // The editor's own save asks nothing.
        scene.edit();
        scene.editor->form6().Save1->trigger();
        QTest::qWait(400);
        QCOMPARE(scene.questions().size(), 3);

        // With unsaved changes the question waits for the save.
        scene.edit();
        scene.editor->typeOver(scene.editor->form6().ME3, QStringLiteral("78"));
        scene.changeOnDisk(777);
        QTest::qWait(400);
        QCOMPARE(scene.questions().size(), 3);
        scene.editor->form6().Save1->trigger();
        QCOMPARE(scene.questions().back(), kChangedSinceOpened); // unanswered: cancelled
        QCOMPARE(scene.stored(1, 0), 777u);
        QVERIFY(scene.editor->form6().Save1->isEnabled());
        QVERIFY(scene.editor->errors().isEmpty());
    }

    void aCancelledSaveAtExitKeepsTheEditorOpen() {
        Scene scene;
        scene.edit();
        scene.changeOnDisk(4242);
        scene.editor->dialogs().queueAnswer(Answer::Yes); // save the changes?
        scene.editor->dialogs().queueAnswer(Answer::Cancel);
        scene.editor->form6().close();
        QCOMPARE(scene.editor->endings(), 0);
        QVERIFY(scene.editor->form6().isVisible());
        QVERIFY(scene.editor->errors().isEmpty());
        QCOMPARE(scene.stored(1, 0), 4242u);
    }

    void aSaveCutOffIsPutBackAndToldOnce() {
        Scene scene;
        const Bytes before = testsupport::readFile(scene.data);
        scene.edit();
        // Stopped as a kill would stop it, right before the edited record was written (once it
        // is, the files hold the whole save and there is nothing to put back).
        scene.editor->files().crashOn(testsupport::TestFileSystem::Operation::Write, scene.data, 2);
        scene.editor->form6().Save1->trigger();
        QVERIFY(scene.editor->files().crashed());
        QVERIFY(std::filesystem::exists(doc::journalPathFor(scene.data)));
        scene.editor.reset();

        RunningEditor next;
        next.startAndOpen(QString::fromStdString(scene.data),
                          QString::fromStdString(scene.folder.path()));
        QCOMPARE(next.dialogs().texts(Kind::Information),
                 QStringList{QStringLiteral("OBJDAT.dat: a save into it was cut off before it was "
                                            "complete; the records and names it held before that "
                                            "save were put back.")});
        QCOMPARE(testsupport::readFile(scene.data), before);
        QCOMPARE(next.form6().LMDLB1->rowCount(), kRecords);
        next.open(QString::fromStdString(scene.data), QString::fromStdString(scene.folder.path()));
        QCOMPARE(next.dialogs().texts(Kind::Information).size(), 1);
    }
};

QTEST_MAIN(ChangedOnDiskTest)
#include "changed_on_disk_test.moc"

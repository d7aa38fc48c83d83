// The "Edit" menu through the real editor window: every kind of step done,
// undone and redone with the whole table compared bit for bit, the typing
// steps' bounds, the percentages of an undone scaling, the saved state, find,
// go to, and copy and paste of records.

#include "document/document_reader.h"
#include "document/field_table.h"
#include "tabletext/table_io.h"
#include "tests/support/editor_fixture.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/percent_spin_box.h"

#include <QAction>
#include <QClipboard>
#include <QPushButton>
#include <QTest>

using Kind = ui::ScriptedDialogs::Kind;
using testsupport::numberedNames;
using testsupport::sampleFile;
using namespace Qt::StringLiterals;

namespace {

/** Every entry of the two tables, also above the last index, and the last index. */
bool sameTable(const doc::ObjectTable& a, const doc::ObjectTable& b) {
    return a.lastIndex == b.lastIndex && a.records == b.records && a.names == b.names;
}

enum class Step { Typing, Name, CheckBox, AddRecord, ClearRecord, ShapeToShadow, Scale, Paste };

void setClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    void everyStepUndoesAndRedoesBitForBit_data() {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("shown"); // the record shown after the undo
        QTest::newRow("typing") << Step::Typing << u"Damage of record 200"_s << 200;
        QTest::newRow("name") << Step::Name << u"Object Name of record 200"_s << 200;
        QTest::newRow("check box") << Step::CheckBox << u"Has Flame of record 200"_s << 200;
        QTest::newRow("add") << Step::AddRecord << u"Add Record"_s << 209;
        QTest::newRow("clear") << Step::ClearRecord << u"Clear Record"_s << 200;
        QTest::newRow("shadow") << Step::ShapeToShadow << u"Shape Data to Shadow Data"_s << 200;
        QTest::newRow("scale") << Step::Scale << u"Apply to All Objects"_s << 200;
        QTest::newRow("paste") << Step::Paste << u"Paste into Record"_s << 200;
    }
    void everyStepUndoesAndRedoesBitForBit() {
        QFETCH(Step, step);
        QFETCH(QString, name);
        QFETCH(int, shown);
        EditorFixture f(sampleFile(210), numberedNames(210));
        auto& w = f.window();
        QVERIFY(!w.Undo1->isEnabled() && !w.Redo1->isEnabled() && !w.CopyRecord1->isEnabled());
        f.clickRow(5);
        w.CopyRecord1->trigger();
        // An unsaved change of another record before the step, which the step keeps.
        f.clickRow(3);
        f.typeOver(w.ME3, QStringLiteral("77"));
        f.clickRow(200);
        const doc::ObjectTable before = f.table();

        switch (step) {
        case Step::Typing:
            f.typeOver(w.ME5, QStringLiteral("4711"));
            break;
        case Step::Name:
            f.typeOver(w.me4, QStringLiteral("Bunker"));
            break;
        case Step::CheckBox:
            QTest::mouseClick(w.cb2, Qt::LeftButton);
            break;
        case Step::AddRecord:
            QTest::mouseClick(w.LMDButton2, Qt::LeftButton);
            break;
        case Step::ClearRecord:
            QTest::mouseClick(w.LMDButton4, Qt::LeftButton);
            break;
        case Step::ShapeToShadow:
            QTest::mouseClick(w.LMDButton3, Qt::LeftButton);
            break;
        case Step::Scale:
            w.LMDSE2->setValue(150);
            w.LMDSE1->setValue(200);
            QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
            break;
        case Step::Paste:
            w.PasteIntoRecord1->trigger();
            break;
        }
        QVERIFY(f.errors().isEmpty());
        const doc::ObjectTable after = f.table();
        QVERIFY(!sameTable(before, after));
        QCOMPARE(w.Undo1->text(), u"Undo "_s + name);
        QVERIFY(w.Undo1->isEnabled() && !w.Redo1->isEnabled());

        w.Undo1->trigger();
        QVERIFY(f.errors().isEmpty());
        QVERIFY(sameTable(f.table(), before));
        QCOMPARE(w.LMDLB1->selectedIndex(), shown);
        QCOMPARE(w.ME1->text(), QString::number(shown));
        QCOMPARE(w.LMDLB1->rowCount(), f.table().recordCount());
        QVERIFY(w.Save1->isEnabled());
        QCOMPARE(w.Redo1->text(), u"Redo "_s + name);
        QCOMPARE(w.Undo1->text(), u"Undo Type of record 3"_s);

        w.Redo1->trigger();
        QVERIFY(sameTable(f.table(), after));
        QCOMPARE(w.Undo1->text(), u"Undo "_s + name);
        QVERIFY(!w.Redo1->isEnabled());
        QVERIFY(f.errors().isEmpty());
    }

    void typingIsOneStepUntilAnotherFieldRecordOrCommand() {
        EditorFixture f(sampleFile(20), numberedNames(20));
        auto& w = f.window();
        f.clickRow(4);
        const doc::ObjectTable start = f.table();
        f.typeOver(w.ME5, QStringLiteral("12"));
        // A mere hover moves the focus but ends nothing: back in "Damage:", one step goes on.
        QTest::mouseMove(w.me17);
        QTest::mouseMove(w.ME5);
        QVERIFY(w.ME5->hasFocus());
        QTest::keyClicks(w.ME5, QStringLiteral("345"));
        const doc::ObjectTable damaged = f.table();
        f.typeOver(w.ME3, QStringLiteral("9")); // another field
        f.clickRow(6);                          // another record
        f.typeOver(w.ME3, QStringLiteral("8"));
        f.document().save(); // a command
        w.ME3->selectAll();
        QTest::keyClicks(w.ME3, QStringLiteral("7"));
        QCOMPARE(f.record(6).fields[doc::field::kType], 7u);

        // Ctrl+Z in a field runs the document's undo, Ctrl+Y its redo.
        QVERIFY(w.ME3->hasFocus());
        for (const char* expected :
             {"Type of record 6", "Type of record 6", "Type of record 4", "Damage of record 4"}) {
            QCOMPARE(w.Undo1->text(), u"Undo "_s + QLatin1StringView(expected));
            QTest::keyClick(w.ME3, Qt::Key_Z, Qt::ControlModifier);
        }
        QVERIFY(sameTable(f.table(), start));
        QVERIFY(!w.Undo1->isEnabled());
        QTest::keyClick(w.ME3, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(sameTable(f.table(), damaged));
        QCOMPARE(f.record(4).fields[doc::field::kDamage], 345u);
        QCOMPARE(w.ME5->text(), QStringLiteral("345"));
    }

    void saveFollowsWhetherTheTableIsWhatTheFilesHold() {
        EditorFixture f(sampleFile(300), numberedNames(300));
        auto& w = f.window();
        f.clickRow(250);
        f.typeOver(w.ME5, QStringLiteral("9"));
        QVERIFY(w.Save1->isEnabled());
        w.Undo1->trigger();
        QVERIFY(!w.Save1->isEnabled());
        w.Redo1->trigger();
        QVERIFY(w.Save1->isEnabled());

        // "Add Record" saves; undoing it changes the table only, and the next save writes the
        // smaller count, after which the pair opens as the table showed it.
        QTest::mouseClick(w.LMDButton2, Qt::LeftButton);
        QCOMPARE(testsupport::storedCount(testsupport::readFile(f.path())), 301);
        QVERIFY(!w.Save1->isEnabled());
        w.Undo1->trigger();
        QCOMPARE(w.LMDLB1->rowCount(), 300);
        QVERIFY(w.Save1->isEnabled());
        QCOMPARE(testsupport::storedCount(testsupport::readFile(f.path())), 301);
        f.document().save(); // what the menu's "Save" runs
        QVERIFY(f.errors().isEmpty());
        QCOMPARE(testsupport::storedCount(testsupport::readFile(f.path())), 300);
        const doc::ObjectTable shown = f.table();
        f.document().openPath(QString::fromStdString(f.path()));
        QCOMPARE(f.table().lastIndex, 299);
        QVERIFY(std::equal(shown.records.begin(), shown.records.begin() + 300,
                           f.table().records.begin()));
        QCOMPARE(f.record(250).fields[doc::field::kDamage], 9u);
        // An open empties the history.
        QVERIFY(!w.Undo1->isEnabled() && !w.Redo1->isEnabled());
        QCOMPARE(w.Undo1->text(), QStringLiteral("Undo"));
    }

    void undoingScalingPutsBackThePercentages() {
        EditorFixture f(sampleFile(10), numberedNames(10));
        auto& w = f.window();
        f.settings().damageScale = 50;
        f.settings().sizeScale = 80;
        const doc::ObjectTable start = f.table();
        w.LMDSE2->setValue(150);
        w.LMDSE1->setValue(200);
        QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
        const doc::ObjectTable scaled = f.table();
        QCOMPARE(f.settings().readDamageScale(), 150);

        w.Undo1->trigger();
        QVERIFY(sameTable(f.table(), start));
        QCOMPARE(f.settings().readDamageScale(), 50);
        QCOMPARE(f.settings().readSizeScale(), 80);
        QCOMPARE(w.LMDSE2->value(), 50);
        QCOMPARE(w.LMDSE1->value(), 80);
        // The next "Apply" computes from the percentages put back.
        w.LMDSE2->setValue(150);
        w.LMDSE1->setValue(200);
        QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
        QVERIFY(sameTable(f.table(), scaled));

        w.Undo1->trigger();
        w.Redo1->trigger();
        QCOMPARE(f.settings().readSizeScale(), 200);
        QCOMPARE(w.LMDSE1->value(), 200);
        QVERIFY(sameTable(f.table(), scaled));
        // A settings file that cannot be written stops the undo before the table changes.
        f.settings().failWrites = true;
        w.Undo1->trigger();
        QCOMPARE(f.errors(), QStringList{QStringLiteral("Unable to write to memory")});
        QVERIFY(sameTable(f.table(), scaled));
    }

    void findWrapsAndGoToRefusesWhatIsNotThere() {
        EditorFixture f(sampleFile(30), numberedNames(30));
        auto& w = f.window();
        QVERIFY(w.FindRecord1->isEnabled() && !w.FindNext1->isEnabled());
        f.clickRow(25);
        f.dialogs().queueText(QStringLiteral("object 2"));
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(w.LMDLB1->selectedIndex(), 26);
        QCOMPARE(w.ME1->text(), QStringLiteral("26"));
        for (const int expected : {27, 28, 29, 2, 20}) {
            QTest::keyClick(&w, Qt::Key_F3);
            QCOMPARE(w.LMDLB1->selectedIndex(), expected);
        }
        QTest::keyClick(&w, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(w.LMDLB1->selectedIndex(), 2);
        QCOMPARE(w.me4->text(), QStringLiteral("Object 2"));
        // The cells as the list shows them: the class of record 7, no ";" between cells.
        for (const auto& [text, found] :
             {std::pair{u"7000"_s, 7}, std::pair{u"2;"_s, -1}, std::pair{u"zzz"_s, -1}}) {
            f.dialogs().queueText(text);
            w.FindRecord1->trigger();
            QCOMPARE(w.LMDLB1->selectedIndex(), found < 0 ? 7 : found);
        }
        QCOMPARE(f.dialogs().texts(Kind::Information),
                 (QStringList{u"No record contains \"2;\"."_s, u"No record contains \"zzz\"."_s}));

        f.dialogs().queueText(QStringLiteral("17"));
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        QCOMPARE(w.LMDLB1->selectedIndex(), 17);
        QCOMPARE(w.me4->text(), QStringLiteral("Object 17"));
        f.dialogs().queueText(QStringLiteral("30"));
        f.dialogs().queueText(QStringLiteral("x"));
        w.GoToRecord1->trigger();
        w.GoToRecord1->trigger();
        QCOMPARE(f.dialogs().texts(Kind::Information).mid(2),
                 (QStringList{u"There is no record 30: the records are 0 to 29."_s,
                              u"\"x\" is not a record number."_s}));
        QCOMPARE(w.LMDLB1->selectedIndex(), 17);
        QVERIFY(!w.Save1->isEnabled() && !w.Undo1->isEnabled());
    }

    void copyThenPasteGivesTheSameBytesAndABadCellChangesNothing() {
        EditorFixture f(sampleFile(30), numberedNames(30));
        auto& w = f.window();
        QVERIFY(!w.CopyRecord1->isEnabled());
        f.clickRow(5);
        // Ctrl+C copies the record while the list has the focus, and the field's text in a field.
        w.LMDLB1->setFocus();
        QTest::keyClick(w.LMDLB1, Qt::Key_C, Qt::ControlModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("index\tname\tclass\t")));
        f.typeOver(w.ME3, QString());
        QTest::keyClick(w.ME3, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), w.ME3->text());
        QGuiApplication::clipboard()->setText(copied);

        f.clickRow(20);
        const doc::ObjectRecord unpasted = f.record(20);
        w.cb1->setFocus(); // only while the list has the focus
        QTest::keyClick(w.cb1, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(f.record(20) == unpasted);
        w.LMDLB1->setFocus();
        QTest::keyClick(w.LMDLB1, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(f.errors().isEmpty());
        QVERIFY(f.record(20) == f.record(5));
        QCOMPARE(doc::readNameSlot(f.slot(20)), doc::readNameSlot(f.slot(5)));
        QCOMPARE(w.LMDLB1->rowText(20), w.LMDLB1->rowText(5).replace(0, 1, u"20"_s));
        QCOMPARE(w.me4->text(), QStringLiteral("Object 5"));
        QVERIFY(w.Save1->isEnabled());

        // Refused: a bad cell, reported as the import reports it, and a line past the last
        // record; nothing changes, and no step is made.
        f.document().save(); // what the menu's "Save" runs
        f.clickRow(28);
        const doc::ObjectTable before = f.table();
        const std::string bad = "name\tdamage\nA\tx\n";
        const std::string imported = "index,name,damage\n28,A,x\n";
        const std::string past = "damage\n1\n2\n3\n";
        for (const std::string& text : {bad, past}) {
            setClipboard(text);
            w.PasteIntoRecord1->trigger();
        }
        QCOMPARE(f.errors(),
                 (QStringList{
                     QString::fromStdString(tabletext::planImport(before, imported).refusal.items().at(0)) +
                         u"\n1 error; nothing pasted"_s,
                     u"row 3: record 30 is past the last record, 29; a paste adds no "
                     u"records\n1 error; nothing pasted"_s}));
        QVERIFY(sameTable(f.table(), before));
        QVERIFY(!w.Save1->isEnabled());
        QCOMPARE(w.Undo1->text(), QStringLiteral("Undo Paste into Record"));
    }
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"

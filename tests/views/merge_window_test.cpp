// "Merge With..." and "Apply Patch..." through the real windows: three generated pairs in which
// each state of a change occurs once (a field changed on this side, one changed alike on both,
// a name changed on the other side, a conflict of a field and one of appended records), the
// choices, "Apply Merge" as one step refused while a conflict waits, the list following edits
// with the choices kept, what a screen reader reads for a conflict, and the other pairs only
// read.

#include "document/document_reader.h"
#include "document/field_table.h"
#include "tabletext/patch.h"
#include "tests/support/views_fixture.h"
#include "views/merge_window.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <filesystem>

using testsupport::Bytes;
using Cell = std::pair<int, int>; // a record and the code of a doc::CellPart
using M = views::MergeModel;
using namespace Qt::StringLiterals;

namespace {

constexpr int kDamage = doc::field::kDamage, kDxNeg = doc::field::kDxNeg;
constexpr std::uint32_t kMinusZero = 0x80000000u;
const Cell kConflict{2, kDamage}, kAppended{4, doc::CellPart::wholeRecord().code()},
    kMineOnly{0, kDamage}, kBoth{1, kDxNeg}, kTheirsOnly{3, doc::CellPart::name().code()};

struct Pair {
    testsupport::DataFile file = testsupport::sampleFile(4);
    std::vector<doc::NameSlot> names = testsupport::numberedNames(4);
    void append(int sample, const std::string& name) {
        file.records.push_back(testsupport::sampleRecord(sample));
        names.push_back(testsupport::nameSlot(name));
    }
};

Pair mine() {
    Pair p;
    p.file.records[0].fields[kDamage] = 500;
    p.file.records[1].fields[kDxNeg] = kMinusZero;
    p.file.records[2].fields[kDamage] = 150;
    p.append(7, "Kiln");
    return p;
}

Pair theirs() {
    Pair p;
    p.file.records[1].fields[kDxNeg] = kMinusZero;
    p.file.records[2].fields[kDamage] = 120;
    p.names[3] = testsupport::nameSlot("Bunker");
    p.append(8, "Forge");
    return p;
}

doc::Cell cellOf(Cell cell) {
    return {cell.first, doc::CellPart::ofCode(cell.second)};
}

bool sameTable(const doc::ObjectTable& a, const doc::ObjectTable& b) {
    return a.lastIndex == b.lastIndex && a.records == b.records && a.names == b.names;
}

/** The editor on MINE, with BASE and THEIRS in a folder of their own. */
struct Merge {
    Merge() : editor(mine().file, mine().names) {
        const Pair base;
        testsupport::writePair(basePath, base.file, base.names);
        testsupport::writePair(theirsPath, theirs().file, theirs().names);
    }
    /** "Merge With..." on BASE and THEIRS; the window it opened, or null. */
    views::MergeWindow* merge() {
        editor.dialogs().queueOpenFile(QString::fromStdString(basePath));
        editor.dialogs().queueOpenFile(QString::fromStdString(theirsPath));
        editor.window().MergeWith1->trigger();
        return editor.window().findChild<views::MergeWindow*>();
    }
    static QList<Cell> rows(const views::MergeWindow& w) {
        QList<Cell> cells;
        for (int r = 0; r < w.model().rowCount(); ++r)
            cells << Cell(w.model().changeAt(r).cell.record,
                          w.model().changeAt(r).cell.part.code());
        return cells;
    }
    static QStringList texts(const views::MergeWindow& w, Cell cell) {
        QStringList line;
        for (int column = M::CellColumn; column < M::ColumnCount; ++column)
            line << w.model().index(w.model().rowOf(cellOf(cell)), column).data().toString();
        return line;
    }
    /** Selects the rows of cells (the first clicked, the others Ctrl-clicked) and presses button.
     */
    static void choose(views::MergeWindow& w, const QList<Cell>& cells, QPushButton* button) {
        for (int i = 0; i < cells.size(); ++i) {
            const QModelIndex index = w.model().index(w.model().rowOf(cellOf(cells[i])), 0);
            QVERIFY(index.isValid());
            QTest::mouseClick(w.changes->viewport(), Qt::LeftButton,
                              i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                              w.changes->visualRect(index).center());
        }
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }

    ViewsFixture editor;
    testsupport::TempFolder baseFolder, theirsFolder;
    std::string basePath = baseFolder.file("OBJDAT.dat");
    std::string theirsPath = theirsFolder.file("OBJDAT.dat");
};

} // namespace

class MergeWindowTest : public QObject {
    Q_OBJECT
private slots:
    void listsEveryChangeConflictsFirst() {
        Merge m;
        const Bytes baseBefore = testsupport::readFile(m.basePath),
                    theirsBefore = testsupport::readFile(m.theirsPath);
        views::MergeWindow* w = m.merge();
        QVERIFY(w);
        QAbstractItemModelTester tester(w->changes->model());
        QCOMPARE(w->windowTitle(), u"Merge: "_s + QString::fromStdString(m.theirsPath));
        const auto& requests = m.editor.dialogs().openRequests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[0].title, u"Choose the Original"_s);
        QCOMPARE(requests[1].title, u"Choose the Other Modified Copy"_s);
        QCOMPARE(requests[1].filter, u"OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*"_s);

        QCOMPARE(Merge::rows(*w),
                 (QList<Cell>{kConflict, kAppended, kMineOnly, kBoth, kTheirsOnly}));
        // Field, state, BASE, MINE, THEIRS, choice: export names and value forms.
        const QString base0 = QString::number(testsupport::sampleRecord(0).fields[kDamage]);
        const QString base2 = QString::number(testsupport::sampleRecord(2).fields[kDamage]);
        const struct {
            Cell cell;
            QStringList line;
        } lines[] = {
            {kConflict, {u"damage"_s, u"Conflict"_s, base2, u"150"_s, u"120"_s, QString()}},
            {kAppended,
             {u"added record"_s, u"Conflict"_s, QString(), u"Kiln"_s, u"Forge"_s, QString()}},
            {kMineOnly, {u"damage"_s, u"Mine"_s, base0, u"500"_s, base0, u"Mine"_s}},
            {kBoth, {u"dx_neg"_s, u"Both"_s, u"3.5"_s, u"-0"_s, u"-0"_s, u"Mine"_s}},
            {kTheirsOnly,
             {u"name"_s, u"Theirs"_s, u"Object 3"_s, u"Object 3"_s, u"Bunker"_s, u"Theirs"_s}},
        };
        for (const auto& l : lines)
            QCOMPARE(Merge::texts(*w, l.cell), l.line);
        QCOMPARE(w->summary->text(), u"5 changes, 2 conflicts, 2 without a choice:"_s);

        // A conflict is more than a colour: its text, and what a screen reader reads of it.
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(w->changes)->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->cellAt(0, M::StateColumn)->text(QAccessible::Name),
                 u"Conflict, no choice yet"_s);
        Merge::choose(*w, {kConflict}, w->useTheirs);
        QCOMPARE(table->cellAt(0, M::StateColumn)->text(QAccessible::Name),
                 u"Conflict, chosen: Theirs"_s);
        QCOMPARE(table->cellAt(2, M::StateColumn)->text(QAccessible::Name), u"Mine"_s);

        // Neither pair was written, nor anything made beside it.
        QCOMPARE(testsupport::readFile(m.basePath), baseBefore);
        QCOMPARE(testsupport::readFile(m.theirsPath), theirsBefore);
        QCOMPARE(std::distance(std::filesystem::directory_iterator(m.theirsFolder.path()),
                               std::filesystem::directory_iterator()),
                 2);
    }

    void applyMergeIsOneStepOfTheChosenValues() {
        Merge m;
        auto& f = m.editor;
        views::MergeWindow* w = m.merge();
        QVERIFY(w);
        const doc::ObjectTable before = f.table();
        const Bytes fileBefore = testsupport::readFile(f.path());

        // Refused through the one error path while a conflict waits, naming the first.
        QTest::mouseClick(w->applyMerge, Qt::LeftButton);
        QCOMPARE(f.errors(),
                 QStringList{
                     u"record 2 damage: a conflict without a choice\n1 error; nothing merged"_s});
        QVERIFY(sameTable(f.table(), before));

        // "Keep Both" only for appended records; "Use Mine" undoes a proposal of THEIRS.
        Merge::choose(*w, {kConflict}, w->useTheirs);
        QVERIFY(!w->keepBoth->isEnabled());
        Merge::choose(*w, {kTheirsOnly, kAppended}, w->useMine);
        Merge::choose(*w, {kAppended}, w->keepBoth);
        QCOMPARE(w->summary->text(), u"5 changes, 2 conflicts, 0 without a choice:"_s);
        QTest::mouseClick(w->applyMerge, Qt::LeftButton);
        QCOMPARE(f.errors().size(), 1);

        doc::ObjectTable expected = before;
        expected.records[2].fields[kDamage] = 120;
        expected.records[5] = theirs().file.records[4];
        expected.names[5] = theirs().names[4];
        expected.lastIndex = 5;
        QVERIFY(sameTable(f.table(), expected));
        QCOMPARE(testsupport::readFile(f.path()), fileBefore); // nothing written until "Save"
        QCOMPARE(f.window().LMDLB1->rowCount(), 6);
        QCOMPARE(f.window().Undo1->text(), u"Undo Apply Merge"_s);
        f.window().Undo1->trigger();
        QVERIFY(sameTable(f.table(), before));
        f.window().Redo1->trigger();
        QVERIFY(sameTable(f.table(), expected));

        f.document().save(); // what the menu's "Save" runs
        const doc::StoredDocument saved = doc::readStoredDocument(f.files(), f.path());
        QCOMPARE(saved.count, 6);
        QCOMPARE(saved.records[2].fields[kDamage], 120u);
        QCOMPARE(saved.names[5], theirs().names[4]);
    }

    void followsEditsKeepingTheChoices() {
        Merge m;
        auto& f = m.editor;
        views::MergeWindow* w = m.merge();
        QVERIFY(w);
        Merge::choose(*w, {kConflict}, w->useTheirs);
        f.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window()));
        // Record 0's damage back to BASE's: no change left there.
        f.clickRow(0);
        f.typeOver(f.window().ME5, QString::number(testsupport::sampleRecord(0).fields[kDamage]));
        QVERIFY(!Merge::rows(*w).contains(kMineOnly));
        // Record 3's damage changed here: a change of this side, the choice of record 2 kept.
        f.clickRow(3);
        f.typeOver(f.window().ME5, u"77"_s);
        QCOMPARE(Merge::rows(*w),
                 (QList<Cell>{kConflict, kAppended, kBoth, kTheirsOnly, {3, kDamage}}));
        QCOMPARE(Merge::texts(*w, kConflict).last(), u"Theirs"_s);
        // Record 2's damage set to THEIRS's: changed alike on both sides, no longer a conflict.
        f.clickRow(2);
        f.typeOver(f.window().ME5, u"120"_s);
        QCOMPARE(Merge::texts(*w, kConflict).at(1), u"Both"_s);
    }

    void applyPatchTakesItsBeforeValuesAsBase() {
        Merge m;
        auto& f = m.editor;
        // The patch from BASE to THEIRS, as `cvnobj diff BASE THEIRS --patch` writes it.
        const Pair base;
        const doc::StoredDocument theirsPair = doc::readStoredDocument(f.files(), m.theirsPath);
        const std::string patch = tabletext::patchText({base.file.records, base.names},
                                                       {theirsPair.records, theirsPair.names});
        const std::string patchPath = m.theirsFolder.file("mod.json");
        testsupport::writeFile(patchPath, Bytes(patch.begin(), patch.end()));

        f.dialogs().queueOpenFile(QString::fromStdString(patchPath));
        f.window().ApplyPatch1->trigger();
        auto* w = f.window().findChild<views::MergeWindow*>();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Merge: "_s + QString::fromStdString(patchPath));
        QCOMPARE(f.dialogs().openRequests().last().filter, u"Patch Files|*.json|All Files|*.*"_s);
        // Only the cells the patch names: this side's own changes are no change of the merge.
        QCOMPARE(Merge::rows(*w), (QList<Cell>{kConflict, kAppended, kBoth, kTheirsOnly}));
        QCOMPARE(Merge::texts(*w, kConflict).mid(1, 4),
                 (QStringList{u"Conflict"_s,
                              QString::number(testsupport::sampleRecord(2).fields[kDamage]),
                              u"150"_s, u"120"_s}));

        // Not a patch: refused through the one error path, no window.
        delete w;
        testsupport::writeFile(patchPath, Bytes{'{', '}'});
        f.dialogs().queueOpenFile(QString::fromStdString(patchPath));
        f.window().ApplyPatch1->trigger();
        QVERIFY(!f.window().findChild<views::MergeWindow*>());
        QCOMPARE(f.errors().size(), 1);
    }
};

QTEST_MAIN(MergeWindowTest)
#include "merge_window_test.moc"

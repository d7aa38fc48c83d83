// "Compare With..." through the real windows: the listed differences of two generated pairs
// (-0.0 against 0.0, two NaN payloads, names equal as text, records only one pair has), each
// kind of take against a table the test builds itself, its undo, the list following edits, and
// the other pair read without being written, created or put back.

#include "document/document_reader.h"
#include "document/field_table.h"
#include "document/journal.h"
#include "document/own_files.h"
#include "tests/support/views_fixture.h"
#include "views/compare_window.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

using testsupport::Bytes;
using testsupport::nameSlot;
using Cell = std::pair<int, int>; // a record and the code of a doc::CellPart
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Cell)

namespace {

constexpr std::uint32_t kMinusZero = 0x80000000u;
constexpr std::uint32_t kQuietNan = 0x7FC00000u, kOtherNan = 0x7FC00001u;
constexpr int kNameCell = doc::CellPart::name().code(),
              kWholeRecord = doc::CellPart::wholeRecord().code();
constexpr int kDamage = doc::field::kDamage, kDxNeg = doc::field::kDxNeg,
              kDyNeg = doc::field::kDyNeg;

doc::NameSlot withByteAfterName(doc::NameSlot slot, char byte) {
    slot[29] = static_cast<std::uint8_t>(byte);
    return slot;
}

/** This pair: five records, 0.0 in dx_neg of record 0, a quiet NaN in dy_neg of record 1, a
 * byte after the name of record 2. */
testsupport::DataFile thisFile() {
    testsupport::DataFile file = testsupport::sampleFile(5);
    file.records[0].fields[kDxNeg] = 0;
    file.records[1].fields[kDyNeg] = kQuietNan;
    return file;
}
std::vector<doc::NameSlot> thisNames() {
    auto names = testsupport::numberedNames(5);
    names[2] = withByteAfterName(names[2], 'x');
    return names;
}

/** The other pair: the same records but -0.0, another NaN payload, damage 999 in record 3, the
 * name "Bunker" for record 1, another byte after the name of record 2, and records 5 and 6. */
testsupport::DataFile otherFile() {
    testsupport::DataFile file = thisFile();
    file.records[0].fields[kDxNeg] = kMinusZero;
    file.records[1].fields[kDyNeg] = kOtherNan;
    file.records[3].fields[kDamage] = 999;
    file.records.push_back(testsupport::sampleRecord(5));
    file.records.push_back(testsupport::sampleRecord(6));
    return file;
}
std::vector<doc::NameSlot> otherNames() {
    auto names = testsupport::numberedNames(7);
    names[1] = nameSlot("Bunker");
    names[2] = withByteAfterName(names[2], 'y');
    return names;
}

void writePair(const std::string& path, const testsupport::DataFile& file,
               const std::vector<doc::NameSlot>& names) {
    file.write(path);
    Bytes bytes;
    for (const auto& slot : names)
        bytes.insert(bytes.end(), slot.begin(), slot.end());
    testsupport::writeFile(doc::namesFilePath(path), bytes);
}

bool sameTable(const doc::ObjectTable& a, const doc::ObjectTable& b) {
    return a.lastIndex == b.lastIndex && a.records == b.records && a.names == b.names;
}

/** The editor on this pair, and the other pair in a folder of its own. */
struct Comparison {
    explicit Comparison(const testsupport::DataFile& other = otherFile(),
                        const std::vector<doc::NameSlot>& names = otherNames())
        : editor(thisFile(), thisNames()), otherPath(folder.file("OBJDAT.dat")) {
        writePair(otherPath, other, names);
    }
    /** "Compare With..." on the other pair; the window it opened, or null. */
    views::CompareWindow* compare() {
        editor.dialogs().queueOpenFile(QString::fromStdString(otherPath));
        editor.window().CompareWith1->trigger();
        return editor.window().findChild<views::CompareWindow*>();
    }
    /** The rows of the list as (record, cell). */
    static QList<Cell> rows(const views::CompareWindow& w) {
        QList<Cell> cells;
        for (int r = 0; r < w.model().rowCount(); ++r)
            cells << Cell(w.model().rowAt(r).cell.record, w.model().rowAt(r).cell.part.code());
        return cells;
    }
    static QString text(const views::CompareWindow& w, Cell cell, int column) {
        const int row = w.model().rowOf({cell.first, doc::CellPart::ofCode(cell.second)});
        return w.model().index(row, column).data().toString();
    }
    /** Clicks the row of cell, with Ctrl to add it to the selection. */
    static void click(views::CompareWindow& w, Cell cell, Qt::KeyboardModifiers keys = {}) {
        const QModelIndex index =
            w.model().index(w.model().rowOf({cell.first, doc::CellPart::ofCode(cell.second)}), 0);
        QVERIFY(index.isValid());
        w.differences->scrollTo(index);
        QTest::mouseClick(w.differences->viewport(), Qt::LeftButton, keys,
                          w.differences->visualRect(index).center());
    }

    ViewsFixture editor;
    testsupport::TempFolder folder;
    std::string otherPath;
};

const Cell kZeros{0, kDxNeg}, kNans{1, kDyNeg}, kName{1, kNameCell}, kDamage3{3, kDamage},
    kOnly5{5, kWholeRecord}, kOnly6{6, kWholeRecord};

enum class Take { Cell, Selected, Record, All };

} // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT
private slots:
    void listsTheDifferencesInTheExportsForms() {
        Comparison c;
        QVERIFY(c.editor.window().CompareWith1->isEnabled());
        views::CompareWindow* w = c.compare();
        QVERIFY(w);
        QAbstractItemModelTester tester(w->differences->model());
        QCOMPARE(w->windowTitle(), u"Compare: "_s + QString::fromStdString(c.otherPath));
        // The names of record 2 differ only after their terminator: not listed.
        QCOMPARE(Comparison::rows(*w),
                 (QList<Cell>{kZeros, kName, kNans, kDamage3, kOnly5, kOnly6}));
        QCOMPARE(w->summary->text(), u"5 records differ:"_s);
        using M = views::ComparisonModel;
        // A cell is named by its export name, as the grid and cvnobj name it.
        const struct {
            Cell cell;
            QString name, mine, theirs;
        } values[] = {{kZeros, u"dx_neg"_s, u"0"_s, u"-0"_s},
                      {kNans, u"dy_neg"_s, u"0x7FC00000"_s, u"0x7FC00001"_s},
                      {kName, u"name"_s, u"Object 1"_s, u"Bunker"_s},
                      {kDamage3, u"damage"_s,
                       QString::number(thisFile().records[3].fields[kDamage]), u"999"_s},
                      {kOnly6, u"Only in the other file"_s, QString(), u"Object 6"_s}};
        for (const auto& v : values) {
            QCOMPARE(Comparison::text(*w, v.cell, M::CellColumn), v.name);
            QCOMPARE(Comparison::text(*w, v.cell, M::ThisColumn), v.mine);
            QCOMPARE(Comparison::text(*w, v.cell, M::OtherColumn), v.theirs);
        }
        QCOMPARE(Comparison::text(*w, kOnly5, M::CellColumn), u"Only in the other file"_s);

        // Every cell of the five records both have, differing ones in bold; the current cell stays.
        Comparison::click(*w, kNans);
        QTest::mouseClick(w->showAll, Qt::LeftButton);
        QCOMPARE(w->model().rowCount(), 5 * (doc::kFieldCount + 1) + 2);
        QCOMPARE(w->differences->currentIndex().row(),
                 w->model().rowOf({kNans.first, doc::CellPart::ofCode(kNans.second)}));
        QVERIFY(w->takeCell->isEnabled());
        const QModelIndex sameName =
            w->model().index(w->model().rowOf({2, doc::CellPart::name()}), 0);
        const QModelIndex differing =
            w->model().index(w->model().rowOf({1, doc::CellPart::name()}), 0);
        QVERIFY(!sameName.data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(differing.data(Qt::FontRole).value<QFont>().bold());
        Comparison::click(*w, {2, kNameCell});
        QVERIFY(!w->takeCell->isEnabled() && !w->takeRecord->isEnabled());
        QVERIFY(w->takeAll->isEnabled());
    }

    void everyTakeIsTheExpectedTableAndOneUndoStep_data() {
        QTest::addColumn<Take>("take");
        QTest::addColumn<QList<Cell>>("clicked"); // the first one current, the rest Ctrl-clicked
        QTest::addColumn<QList<Cell>>("taken");   // what the expected table takes
        QTest::addColumn<int>("shown");
        QTest::newRow("cell -0.0") << Take::Cell << QList<Cell>{kZeros} << QList<Cell>{kZeros} << 0;
        QTest::newRow("cell NaN") << Take::Cell << QList<Cell>{kNans} << QList<Cell>{kNans} << 1;
        QTest::newRow("cell of a record only the other has")
            << Take::Cell << QList<Cell>{kOnly5} << QList<Cell>{kOnly5} << 5;
        QTest::newRow("selected cells")
            << Take::Selected << QList<Cell>{kDamage3, kName} << QList<Cell>{kName, kDamage3} << 1;
        QTest::newRow("record") << Take::Record << QList<Cell>{kNans} << QList<Cell>{kName, kNans}
                                << 1;
        QTest::newRow("last record appends the one before it")
            << Take::Record << QList<Cell>{kOnly6} << QList<Cell>{kOnly5, kOnly6} << 5;
        QTest::newRow("all") << Take::All << QList<Cell>{}
                             << QList<Cell>{kZeros,       kName,  kNans, kDamage3,
                                            {4, kDamage}, kOnly5, kOnly6}
                             << 0;
    }
    void everyTakeIsTheExpectedTableAndOneUndoStep() {
        QFETCH(Take, take);
        QFETCH(QList<Cell>, clicked);
        QFETCH(QList<Cell>, taken);
        QFETCH(int, shown);
        Comparison c;
        auto& f = c.editor;
        // An unsaved edit before the take counts, and the take keeps it.
        f.clickRow(4);
        f.typeOver(f.window().ME5, u"4711"_s);
        views::CompareWindow* w = c.compare();
        QVERIFY(w);
        const QList<Cell> listed = Comparison::rows(*w);
        QVERIFY(listed.contains(Cell(4, kDamage)));
        const doc::ObjectTable before = f.table();
        const Bytes fileBefore = testsupport::readFile(f.path());

        doc::ObjectTable expected = before;
        const testsupport::DataFile other = otherFile();
        const auto names = otherNames();
        for (const auto& [record, cell] : taken) {
            const auto r = static_cast<std::size_t>(record);
            if (cell == kWholeRecord) {
                expected.records[r] = other.records[r];
                expected.names[r] = names[r];
                expected.lastIndex = std::max<std::uint16_t>(expected.lastIndex, record);
            } else if (cell == kNameCell) {
                expected.names[r] = names[r];
            } else {
                expected.records[r].fields[static_cast<std::size_t>(cell)] =
                    other.records[r].fields[static_cast<std::size_t>(cell)];
            }
        }

        for (int i = 0; i < clicked.size(); ++i)
            Comparison::click(*w, clicked[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
        QPushButton* button = take == Take::Cell       ? w->takeCell
                              : take == Take::Selected ? w->takeSelected
                              : take == Take::Record   ? w->takeRecord
                                                       : w->takeAll;
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);

        QVERIFY(f.errors().isEmpty());
        QVERIFY(sameTable(f.table(), expected));
        QCOMPARE(testsupport::readFile(f.path()), fileBefore); // nothing written until "Save"
        QVERIFY(f.window().Save1->isEnabled());
        QCOMPARE(f.window().LMDLB1->rowCount(), expected.recordCount());
        QCOMPARE(f.window().LMDLB1->selectedIndex(), shown);
        QCOMPARE(f.window().ME1->fieldText(), QString::number(shown));
        QList<Cell> left = listed;
        for (const Cell& cell : taken)
            left.removeAll(cell);
        QCOMPARE(Comparison::rows(*w), left);

        QVERIFY(f.window().Undo1->text().startsWith(u"Undo Take"_s));
        f.window().Undo1->trigger();
        QVERIFY(sameTable(f.table(), before));
        QCOMPARE(Comparison::rows(*w), listed);
        f.window().Redo1->trigger();
        QVERIFY(sameTable(f.table(), expected));
        if (take == Take::All) {
            QVERIFY(!w->takeAll->isEnabled());
            QCOMPARE(w->summary->text(), u"No record differs."_s);
        }
    }

    void followsEditsAndUndo() {
        Comparison c;
        auto& f = c.editor;
        views::CompareWindow* w = c.compare();
        QVERIFY(w);
        // Back to the editor, as a click on it does.
        f.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window()));
        f.clickRow(3);
        f.typeOver(f.window().ME5, u"999"_s);
        QCOMPARE(Comparison::rows(*w), (QList<Cell>{kZeros, kName, kNans, kOnly5, kOnly6}));
        QCOMPARE(w->summary->text(), u"4 records differ:"_s);
        f.window().Undo1->trigger();
        QCOMPARE(Comparison::rows(*w),
                 (QList<Cell>{kZeros, kName, kNans, kDamage3, kOnly5, kOnly6}));
        // "Add Record" appends a record the other has as record 5: now both have it.
        QTest::mouseClick(f.window().LMDButton2, Qt::LeftButton);
        QVERIFY(Comparison::rows(*w).contains(Cell(5, kNameCell)));
        QVERIFY(!Comparison::rows(*w).contains(kOnly5));
    }

    void theOpenFileItselfShowsTheUnsavedChanges() {
        Comparison c;
        auto& f = c.editor;
        f.clickRow(2);
        f.typeOver(f.window().ME5, u"5"_s);
        c.otherPath = f.path();
        views::CompareWindow* w = c.compare();
        QVERIFY(w);
        QCOMPARE(Comparison::rows(*w), QList<Cell>{Cell(2, kDamage)});
        // The first difference is current: "Take Cell" takes it at once.
        QTest::mouseClick(w->takeCell, Qt::LeftButton);
        QCOMPARE(f.table().records[2].fields[kDamage], thisFile().records[2].fields[kDamage]);
        QCOMPARE(f.window().Undo1->text(), u"Undo Take Damage of record 2"_s);
        QCOMPARE(w->summary->text(), u"No record differs."_s);
    }

    void theOtherPairIsOnlyRead() {
        // Fewer records and no names file: the names compare as empty, records 3 and 4 only this
        // file has stay whatever is taken.
        testsupport::DataFile shorter = thisFile();
        shorter.records.resize(3);
        Comparison c(shorter, {});
        std::remove(doc::namesFilePath(c.otherPath).c_str());
        auto& f = c.editor;
        views::CompareWindow* w = c.compare();
        QVERIFY(w);
        const Cell only3{3, kWholeRecord}, only4{4, kWholeRecord};
        QCOMPARE(Comparison::rows(*w),
                 (QList<Cell>{{0, kNameCell}, {1, kNameCell}, {2, kNameCell}, only3, only4}));
        QCOMPARE(Comparison::text(*w, only4, views::ComparisonModel::CellColumn),
                 u"Only in this file"_s);
        Comparison::click(*w, only4);
        QVERIFY(!w->takeCell->isEnabled() && !w->takeRecord->isEnabled());
        doc::ObjectTable expected = f.table();
        for (std::size_t r = 0; r < 3; ++r)
            expected.names[r] = doc::NameSlot{};
        QTest::mouseClick(w->takeAll, Qt::LeftButton);
        QVERIFY(sameTable(f.table(), expected));
        QCOMPARE(Comparison::rows(*w), (QList<Cell>{only3, only4}));
        QCOMPARE(testsupport::readFile(c.otherPath), shorter.bytes());
        QVERIFY(!std::filesystem::exists(doc::namesFilePath(c.otherPath)));

        // "Reload" reads the other pair again; a failing read leaves the comparison as it was.
        testsupport::DataFile longer = thisFile();
        longer.records[4].fields[kDamage] = 31;
        longer.write(c.otherPath);
        QTest::mouseClick(w->reload, Qt::LeftButton);
        const QList<Cell> reloaded{{3, kNameCell}, {4, kNameCell}, {4, kDamage}};
        QCOMPARE(Comparison::rows(*w), reloaded);
        testsupport::cutFile(c.otherPath, 150);
        QTest::mouseClick(w->reload, Qt::LeftButton);
        QCOMPARE(f.errors(), QStringList{u"Read beyond end of file"_s});
        QCOMPARE(Comparison::rows(*w), reloaded);
    }

    void aJournalBesideTheOtherPairIsReportedNotApplied() {
        Comparison c;
        struct stat data {
        }, names{};
        QCOMPARE(::stat(c.otherPath.c_str(), &data), 0);
        QCOMPARE(::stat(doc::namesFilePath(c.otherPath).c_str(), &names), 0);
        // What a save stopped after its first write leaves.
        doc::Journal journal;
        journal.dataFile = doc::FileSystem::real().openReadOnly(c.otherPath)->identity();
        journal.namesFile =
            doc::FileSystem::real().openReadOnly(doc::namesFilePath(c.otherPath))->identity();
        journal.dataSize = data.st_size;
        journal.namesSize = names.st_size;
        journal.ranges.push_back({doc::PairFile::Data, 100, Bytes(100, 0)});
        const std::string journalPath = doc::journalPathFor(c.otherPath);
        testsupport::writeFile(journalPath, doc::encodeJournal(journal));
        const Bytes fileBefore = testsupport::readFile(c.otherPath);

        QVERIFY(!c.compare());
        QCOMPARE(c.editor.errors().size(), 1);
        QVERIFY2(c.editor.errors().first().contains(u"a save into it was cut off"_s),
                 qPrintable(c.editor.errors().first()));
        QCOMPARE(testsupport::readFile(c.otherPath), fileBefore);
        QVERIFY(std::filesystem::exists(journalPath));
    }

    void asksWithTheDialogOfOpen() {
        Comparison c;
        c.editor.dialogs().queueOpenFile(QString());
        c.editor.document().open();
        QVERIFY(c.compare());
        const auto& requests = c.editor.dialogs().openRequests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(requests[1].filter, requests[0].filter);
        QCOMPARE(requests[1].defaultExtension, requests[0].defaultExtension);
        QCOMPARE(requests[1].startFolder, requests[0].startFolder);
    }
};

QTEST_MAIN(CompareWindowTest)
#include "compare_window_test.moc"

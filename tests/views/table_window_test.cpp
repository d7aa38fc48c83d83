// The table view through the real windows: bulk edits of every field kind compared byte for byte
// with a reference computed here in double arithmetic (exact for these operands), edits in the
// grid and in the form each seen in the other, refusals that change nothing, copy and paste into
// a sorted view, the model's consistency under every kind of change, and what a screen reader
// reads.

#include "document/field_table.h"
#include "tests/support/views_fixture.h"
#include "views/record_table_model.h"
#include "views/table_window.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <bit>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using views::RecordTableModel;
namespace field = doc::field;

namespace {

constexpr int kRecords = 6;
constexpr std::uint32_t kDamage[kRecords] = {0, 7, 4294967295u, 100, 3, 12};
constexpr std::uint32_t kSize[kRecords] = {0x80000000u, 0x7FC00001u, 0x7F7FFFFFu,
                                           0x3FC00000u, 0xC0100000u, 0x00000001u};
constexpr std::uint32_t kFlame[kRecords] = {0, 1, 7, 1, 0, 1};

testsupport::DataFile testFile() {
    testsupport::DataFile file;
    file.records = testsupport::sampleRecords(kRecords);
    for (int r = 0; r < kRecords; ++r) {
        auto& fields = file.records[static_cast<std::size_t>(r)].fields;
        fields[field::kDamage] = kDamage[r];
        fields[field::kDxNeg] = kSize[r];
        fields[field::kHasFlame] = kFlame[r];
    }
    return file;
}

bool sameTable(const doc::ObjectTable& a, const doc::ObjectTable& b) {
    return a.lastIndex == b.lastIndex && a.records == b.records && a.names == b.names;
}

/** The reference: the operation in double, exact for these operands and values, then one
 * rounding (to single, a finite value kept finite; toward zero into the unsigned range). */
std::uint32_t reference(doc::FieldType type, std::uint32_t bits, char op, const QString& operand) {
    if (op == '=') {
        return type == doc::FieldType::Float && operand.startsWith(u"0x"_s)
                   ? operand.mid(2).toUInt(nullptr, 16)
               : type == doc::FieldType::Float ? std::bit_cast<std::uint32_t>(operand.toFloat())
                                               : operand.toUInt();
    }
    const double o = operand.toDouble();
    if (type == doc::FieldType::Float) {
        const float x = std::bit_cast<float>(bits);
        if (!std::isfinite(x))
            return bits;
        const auto result = static_cast<float>(op == '*' ? double{x} * o : double{x} + o);
        if (std::isinf(result))
            return std::bit_cast<std::uint32_t>(std::copysign(std::numeric_limits<float>::max(), result));
        return std::bit_cast<std::uint32_t>(result);
    }
    const double exact = std::trunc(op == '*' ? double(bits) * o : double(bits) + o);
    return static_cast<std::uint32_t>(std::clamp(exact, 0.0, 4294967295.0));
}

constexpr int kIndexColumn = RecordTableModel::columnOf(doc::CellPart::wholeRecord());
constexpr int kNameColumn = RecordTableModel::columnOf(doc::CellPart::name());

struct Session : ViewsFixture {
    Session() : ViewsFixture(testFile(), testsupport::numberedNames(kRecords)) {
        window().TableView1->trigger();
        view = views().tableWindow();
        QApplication::setActiveWindow(view);
        grid = view->grid;
        grid->setFocus();
    }
    /** The grid's index of a record's column, as the view shows it now. */
    QModelIndex at(int record, int column) const {
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            const QModelIndex index = grid->model()->index(row, column);
            if (grid->model()->index(row, kIndexColumn).data().toInt() == record)
                return index;
        }
        return {};
    }
    void select(int firstRecord, int lastRecord, int column) {
        grid->selectionModel()->select(QItemSelection(at(firstRecord, column), at(lastRecord, column)),
                                       QItemSelectionModel::ClearAndSelect);
        grid->selectionModel()->setCurrentIndex(at(firstRecord, column), QItemSelectionModel::NoUpdate);
    }
    QString shown(int record, int column) const { return at(record, column).data().toString(); }
    /** F2, the text typed over the cell's, then the key that ends the edit. */
    /** Types into the form's edit, its window active as after a click on it. */
    void typeIntoForm(ui::FieldEdit* edit, const QString& text) {
        QApplication::setActiveWindow(&window());
        typeOver(edit, text);
    }
    void editCell(int record, int column, const QString& text, Qt::Key end) {
        QApplication::setActiveWindow(view);
        grid->setFocus();
        grid->setCurrentIndex(at(record, column));
        QTest::keyClick(grid, Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY2(editor && editor != grid, "no cell editor");
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, end);
        QCoreApplication::processEvents(); // the delegate commits and closes by a queued call
    }
    views::TableWindow* view = nullptr;
    QTableView* grid = nullptr;
};

constexpr int column(int fieldIndex) {
    return RecordTableModel::columnOf(doc::CellPart::field(fieldIndex));
}

} // namespace

class TableWindowTest : public QObject {
    Q_OBJECT
private slots:
    void bulkEditsMatchTheReferenceByteForByte_data() {
        QTest::addColumn<int>("fieldIndex");
        QTest::addColumn<char>("op");
        QTest::addColumn<QString>("operand");
        QTest::addColumn<QString>("refusal"); // empty: applied
        const struct {
            int field;
            const char* name;
        } kinds[] = {{field::kDamage, "unsigned"}, {field::kDxNeg, "float"},
                     {field::kHasFlame, "flag"}};
        const struct {
            char op;
            const char* operand;
        } ops[] = {{'*', "2"}, {'*', "-1.5"}, {'+', "0.25"}, {'+', "-3"}, {'=', "1"},
                   {'=', "4294967295"}, {'=', "0x7FC00000"}};
        for (const auto& kind : kinds)
            for (const auto& o : ops) {
                QString refusal;
                const bool flag = kind.field == field::kHasFlame;
                const bool floatField = kind.field == field::kDxNeg;
                if (flag && o.op != '=')
                    refusal = u"column has_flame: a flag can only be set to 0 or 1"_s;
                else if (flag && QLatin1String(o.operand) == "4294967295"_L1)
                    refusal = u"column has_flame: 4294967295 is neither 0 nor 1"_s;
                else if (!floatField && QLatin1String(o.operand) == "0x7FC00000"_L1)
                    refusal = "column "_L1 + (flag ? "has_flame"_L1 : "damage"_L1) +
                              ": '0x7FC00000' is not a whole number from 0 to 4294967295"_L1;
                QTest::addRow("%s %c %s", kind.name, o.op, o.operand)
                    << kind.field << o.op << QString::fromLatin1(o.operand) << refusal;
            }
    }
    void bulkEditsMatchTheReferenceByteForByte() {
        QFETCH(int, fieldIndex);
        QFETCH(char, op);
        QFETCH(QString, operand);
        QFETCH(QString, refusal);
        Session s;
        const doc::ObjectTable before = s.table();
        s.select(0, kRecords - 2, column(fieldIndex)); // the last record is left out
        s.dialogs().queueText(operand);
        (op == '*' ? s.view->multiplyBy : op == '+' ? s.view->addTo : s.view->setTo)->trigger();

        doc::ObjectTable expected = before;
        if (refusal.isEmpty()) {
            const doc::FieldType type = doc::kFields[static_cast<std::size_t>(fieldIndex)].type;
            for (int r = 0; r < kRecords - 1; ++r) {
                auto& bits = expected.records[static_cast<std::size_t>(r)]
                                 .fields[static_cast<std::size_t>(fieldIndex)];
                bits = reference(type, bits, op, operand);
            }
            QCOMPARE(s.errors(), QStringList());
            QVERIFY(s.window().Save1->isEnabled());
        } else {
            QCOMPARE(s.errors(), QStringList{refusal + u"\n1 error; nothing changed"_s});
        }
        QVERIFY(sameTable(s.table(), expected));
        if (refusal.isEmpty()) { // one step, taken back whole
            s.window().Undo1->trigger();
            QVERIFY(sameTable(s.table(), before));
        }
    }

    void gridAndFormSeeEachOthersEdits() {
        Session s;
        auto& w = s.window();
        // Grid to form: the record shown afresh in the form, the list refilled.
        s.editCell(4, column(field::kDamage), u"4294967295"_s, Qt::Key_Return);
        QCOMPARE(s.record(4).fields[field::kDamage], 4294967295u);
        QCOMPARE(w.ME5->text(), u"4294967295"_s);
        QVERIFY(w.Save1->isEnabled());
        // The step is named with the form's caption, as the form's own typing names it.
        QCOMPARE(w.Undo1->text(), u"Undo Damage of record 4"_s);
        s.editCell(4, kNameColumn, u"Bunker"_s, Qt::Key_Return);
        QCOMPARE(w.me4->text(), u"Bunker"_s);
        // Escape cancels; a text the import refuses changes nothing and says why.
        const doc::ObjectTable edited = s.table();
        s.editCell(4, column(field::kDamage), u"5"_s, Qt::Key_Escape);
        s.editCell(4, column(field::kDxNeg), u"1,5"_s, Qt::Key_Return);
        QVERIFY(sameTable(s.table(), edited));
        QCOMPARE(s.errors(),
                 QStringList{u"column dx_neg: '1,5' is not a decimal number or a 0x bit pattern\n"
                             u"1 error; nothing changed"_s});
        // Form to grid, keystroke by keystroke.
        s.clickRow(3);
        s.typeIntoForm(w.ME5, u"55"_s);
        QCOMPARE(s.shown(3, column(field::kDamage)), u"55"_s);
        // Every form a cell shows reads back unchanged: NaN bits, -0, the largest single.
        const doc::ObjectTable shownBack = s.table();
        for (int r = 0; r < kRecords; ++r)
            s.editCell(r, column(field::kDxNeg), s.shown(r, column(field::kDxNeg)), Qt::Key_Return);
        QVERIFY(sameTable(s.table(), shownBack));
        QCOMPARE(s.shown(1, column(field::kDxNeg)), u"0x7FC00001"_s);
    }

    void copyAndPasteFollowTheViewsOrder() {
        Session s;
        // Sorted by damage, largest first: records 2, 0... as the view shows them.
        s.grid->sortByColumn(column(field::kDamage), Qt::DescendingOrder);
        QCOMPARE(s.grid->model()->index(0, 0).data().toInt(), 2);
        s.grid->selectionModel()->select(
            QItemSelection(s.at(2, column(field::kDamage)), s.at(3, column(field::kDotColor))),
            QItemSelectionModel::ClearAndSelect);
        s.view->copyCells->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 u"4294967295\t%1\n100\t%2\n"_s.arg(s.record(2).fields[field::kDotColor])
                     .arg(s.record(3).fields[field::kDotColor]));
        // Pasted at the third row shown (record 12's damage, then 7's).
        QGuiApplication::clipboard()->setText(u"1\t2\n3\t4\n"_s);
        s.grid->setCurrentIndex(s.grid->model()->index(2, column(field::kDamage)));
        const int third = s.grid->model()->index(2, 0).data().toInt();
        const int fourth = s.grid->model()->index(3, 0).data().toInt();
        doc::ObjectTable expected = s.table();
        expected.records[static_cast<std::size_t>(third)].fields[field::kDamage] = 1;
        expected.records[static_cast<std::size_t>(third)].fields[field::kDotColor] = 2;
        expected.records[static_cast<std::size_t>(fourth)].fields[field::kDamage] = 3;
        expected.records[static_cast<std::size_t>(fourth)].fields[field::kDotColor] = 4;
        s.view->pasteCells->trigger();
        QCOMPARE(s.errors(), QStringList());
        QVERIFY(sameTable(s.table(), expected));
        // Not a rectangle: refused, the clipboard as it was; a bad cell: nothing pasted.
        s.grid->selectionModel()->select(s.at(0, 0), QItemSelectionModel::ClearAndSelect);
        s.grid->selectionModel()->select(s.at(1, 1), QItemSelectionModel::Select);
        s.view->copyCells->trigger();
        QGuiApplication::clipboard()->setText(u"9\t-1\n"_s);
        s.view->pasteCells->trigger();
        QCOMPARE(s.errors(),
                 (QStringList{u"Only a rectangle of cells can be copied; the selection is not one."_s,
                              u"row 1, column dot_color: '-1' is not a whole number from 0 to "
                              u"4294967295\n1 error; nothing pasted"_s}));
        QVERIFY(sameTable(s.table(), expected));
    }

    void sortsByValueAndFilters() {
        Session s;
        s.grid->sortByColumn(column(field::kDxNeg), Qt::AscendingOrder);
        QList<int> order;
        for (int row = 0; row < kRecords; ++row)
            order << s.grid->model()->index(row, 0).data().toInt();
        // -2.25, -0, 1e-45, 1.5, the largest, NaN.
        QCOMPARE(order, (QList<int>{4, 0, 5, 3, 2, 1}));
        QTest::keyClicks(s.view->filter, u"0x7fc"_s);
        QCOMPARE(s.grid->model()->rowCount(), 1);
        QCOMPARE(s.grid->model()->index(0, 0).data().toInt(), 1);
    }

    void modelStaysConsistentThroughEveryChange() {
        Session s;
        auto* proxy = s.grid->model();
        auto* source = static_cast<QSortFilterProxyModel*>(proxy)->sourceModel();
        QAbstractItemModelTester sourceTester(source, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester proxyTester(proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
        s.grid->sortByColumn(kNameColumn, Qt::DescendingOrder);
        s.clickRow(2);
        s.typeIntoForm(s.window().ME5, u"8"_s);
        QTest::mouseClick(s.window().LMDButton2, Qt::LeftButton); // "Add Record"
        QCOMPARE(proxy->rowCount(), kRecords + 1);
        s.window().Undo1->trigger();
        QCOMPARE(proxy->rowCount(), kRecords);
        QCOMPARE(s.shown(2, column(field::kDamage)), u"8"_s);
    }

    void screenReaderReadsTheGrid() {
        Session s;
        // One window, raised again by Ctrl+T from the editor window.
        QCOMPARE(s.view->windowTitle(), u"Object Table"_s);
        QApplication::setActiveWindow(&s.window());
        QTest::keyClick(&s.window(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(s.views().tableWindow(), s.view);
        QVERIFY(s.view->isVisible());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(s.grid);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Table);
        QCOMPARE(iface->text(QAccessible::Name), u"Objects"_s);
        QAccessibleTableInterface* table = iface->tableInterface();
        QCOMPARE(table->rowCount(), kRecords);
        QCOMPARE(table->columnCount(), 2 + doc::kFieldCount);
        QCOMPARE(table->cellAt(2, column(field::kDamage))->text(QAccessible::Name), u"4294967295"_s);
        QCOMPARE(table->cellAt(1, kNameColumn)->text(QAccessible::Name),
                 s.shown(1, kNameColumn));
    }
};

QTEST_MAIN(TableWindowTest)
#include "table_window_test.moc"

// The record list and the field edits as assistive technology meets them,
// through Qt's accessibility interfaces and the events they raise.

#include "tests/support/reported_errors.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/record_list.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QtGui/private/qguiapplication_p.h>
#include <QtTest>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <stdexcept>

using namespace Qt::StringLiterals;
using ui::FieldEdit;
using ui::RecordList;
using Kind = ui::FieldEdit::Kind;

Q_DECLARE_METATYPE(ui::FieldEdit::Kind)

namespace {

struct Seen {
    QAccessible::Event type;
    int child;
    bool operator==(const Seen&) const = default;
};

QList<Seen>& seenEvents() {
    static QList<Seen> events;
    return events;
}

// Events of the record list only, so the window system's own events do not interfere.
void recordEvent(QAccessibleEvent* event) {
    if (qobject_cast<RecordList*>(event->object()))
        seenEvents().append({event->type(), event->child()});
}

QPlatformAccessibility* platformAccessibility() {
    return QGuiApplicationPrivate::platformIntegration()->accessibility();
}

int cellIndex(int row, int column) {
    return (row + 1) * RecordList::kColumnCount + column;
}

QString cellText(QAccessibleTableInterface* table, int row, int column) {
    QAccessibleInterface* cell = table->cellAt(row, column);
    return cell ? cell->text(QAccessible::Name) : u"<no cell>"_s;
}

// How QCOMPARE prints an event: its type number and the child it names.
char* toString(const Seen& seen) {
    return QTest::toString(QByteArray::number(seen.type) + '@' + QByteArray::number(seen.child));
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    QAccessible::UpdateHandler m_previousHandler = nullptr;

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_previousHandler = QAccessible::installUpdateHandler(&recordEvent);
        // What the platform does when a screen reader comes; Qt hands events on only then.
        platformAccessibility()->setActive(true);
        QVERIFY(QAccessible::isActive());
    }
    void cleanupTestCase() {
        platformAccessibility()->setActive(false);
        QAccessible::installUpdateHandler(m_previousHandler);
    }
    void init() { seenEvents().clear(); }

    void recordListReadsAsTable();
    void recordListAnnouncesRefillsAndMoves();
    void recordListSelectsAsTheUserDoes();
    void editChangesFollowTheEditingSteps_data();
    void editChangesFollowTheEditingSteps();
    void editReadsTextAndSelection();
};

void AccessibilityTest::recordListReadsAsTable() {
    RecordList list;
    list.setAccessibleName(u"Objects"_s);
    list.appendRow(u"0;5;2;Bunker"_s);
    list.appendRow(u"1;3;12;"_s);
    list.appendRow(u"2;1;1;a;b"_s);
    QCoreApplication::processEvents();

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&list);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Table);
    QCOMPARE(iface->text(QAccessible::Name), u"Objects"_s);
    QAccessibleTableInterface* table = iface->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->columnCount(), 4);
    QCOMPARE(iface->childCount(), 16); // the header row and three rows

    const QStringList titles{u"Rec#"_s, u"Class"_s, u"Type"_s, u"Object Name"_s};
    const QList<QStringList> rows{{u"0"_s, u"5"_s, u"2"_s, u"Bunker"_s},
                                  {u"1"_s, u"3"_s, u"12"_s, QString()},
                                  {u"2"_s, u"1"_s, u"1"_s, u"a"_s}};
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(table->columnDescription(column), titles.at(column));
        QAccessibleInterface* header = iface->child(column);
        QCOMPARE(header->role(), QAccessible::ColumnHeader);
        QCOMPARE(header->text(QAccessible::Name), titles.at(column));
        for (int row = 0; row < rows.size(); ++row) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            QCOMPARE(cell->text(QAccessible::Name), rows.at(row).at(column));
            QCOMPARE(cell->parent(), iface);
            QCOMPARE(iface->child(iface->indexOfChild(cell)), cell);
            QAccessibleTableCellInterface* place = cell->tableCellInterface();
            QCOMPARE(QPoint(place->columnIndex(), place->rowIndex()), QPoint(column, row));
            QCOMPARE(place->columnHeaderCells(), QList<QAccessibleInterface*>{header});
        }
    }
    QVERIFY(!table->cellAt(3, 0));
    QVERIFY(!table->cellAt(0, 4));

    QCOMPARE(table->selectedRowCount(), 0);
    QVERIFY(table->selectedCells().isEmpty());
    list.setSelectedIndex(1);
    QCOMPARE(table->selectedRows(), QList<int>{1});
    QVERIFY(table->isRowSelected(1) && !table->isRowSelected(0));
    QCOMPARE(table->selectedCellCount(), 4);
    QCOMPARE(table->selectedCells().first(), table->cellAt(1, 0));
    QVERIFY(table->cellAt(1, 3)->state().selected);
    QVERIFY(table->cellAt(1, 3)->tableCellInterface()->isSelected());
    QVERIFY(!table->cellAt(0, 0)->state().selected);
}

void AccessibilityTest::recordListAnnouncesRefillsAndMoves() {
    // The focus starts in another control, as while the user types into a field.
    QWidget window;
    auto* list = new RecordList(&window);
    list->setGeometry(0, 0, 265, 377);
    auto* other = new QLineEdit(&window);
    other->setGeometry(270, 0, 100, 24);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    auto refill = [list](const QString& lastName) {
        list->clear();
        for (int i = 0; i < 40; ++i)
            list->appendRow(QString::number(i) + u";1;2;"_s + (i == 39 ? lastName : u"x"_s));
    };
    refill(u"x"_s);
    QCoreApplication::processEvents();
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(list)->tableInterface();
    QCOMPARE(table->rowCount(), 40);
    const QAccessible::Id cellId = QAccessible::uniqueId(table->cellAt(39, 3));
    const QAccessible::Id headerId = QAccessible::uniqueId(
        table->cellAt(39, 3)->tableCellInterface()->columnHeaderCells().value(0));
    seenEvents().clear();

    // Three refills in one round, as a keystroke's write-back and its nested handlers make, are
    // one reset; the cells of the rows read before it are gone, the headers stay.
    refill(u"y"_s);
    refill(u"z"_s);
    list->setSelectedIndex(39);
    QVERIFY(seenEvents().isEmpty()); // nothing before the round ends
    QCoreApplication::processEvents();
    const QList<Seen> afterRefill{{QAccessible::TableModelChanged, -1},
                                  {QAccessible::SelectionAdd, cellIndex(39, 0)}};
    QCOMPARE(seenEvents(), afterRefill);
    QVERIFY(!QAccessible::accessibleInterface(cellId));
    QVERIFY(QAccessible::accessibleInterface(headerId));
    QCOMPARE(cellText(table, 39, 3), u"z"_s);

    // The same rows again and the same row selected: nothing to tell.
    seenEvents().clear();
    refill(u"z"_s);
    list->setSelectedIndex(39);
    QCoreApplication::processEvents();
    QVERIFY(seenEvents().isEmpty());

    // A move by program: the old row loses the selection, the new one gains it.
    list->setSelectedIndex(4);
    QCoreApplication::processEvents();
    const QList<Seen> afterMove{{QAccessible::SelectionRemove, cellIndex(39, 0)},
                                {QAccessible::SelectionAdd, cellIndex(4, 0)}};
    QCOMPARE(seenEvents(), afterMove);

    // A move by the user while the list has the focus: the new row also takes the focus, at once.
    list->setFocus();
    QTRY_VERIFY(list->hasFocus());
    seenEvents().clear();
    QTest::keyClick(list, Qt::Key_Down);
    const QList<Seen> afterKey{{QAccessible::SelectionRemove, cellIndex(4, 0)},
                               {QAccessible::SelectionAdd, cellIndex(5, 0)},
                               {QAccessible::Focus, cellIndex(5, 0)}};
    QCOMPARE(seenEvents(), afterKey);
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(list)->focusChild();
    QCOMPARE(focused, table->cellAt(5, 0));
    QVERIFY(focused->state().focused && focused->state().selected);
}

void AccessibilityTest::recordListSelectsAsTheUserDoes() {
    RecordList list;
    for (int i = 0; i < 10; ++i)
        list.appendRow(QString::number(i) + u";1;2;n"_s);
    QList<int> clicks;
    list.onClick = [&] { clicks.append(list.selectedIndex()); };
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(&list)->tableInterface();

    QVERIFY(table->selectRow(6));
    QVERIFY(table->selectRow(6)); // selected already: no second click
    QVERIFY(!table->selectRow(10));
    QVERIFY(!table->unselectRow(6));
    QCOMPARE(clicks, QList<int>{6});
    QCOMPARE(list.selectedIndex(), 6);

    // The cell's "Press" is a click on its row, raised also for the selected row.
    QAccessibleActionInterface* press = table->cellAt(6, 2)->actionInterface();
    QVERIFY(press);
    QCOMPARE(press->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    press->doAction(QAccessibleActionInterface::pressAction());
    table->cellAt(2, 0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(clicks, (QList<int>{6, 6, 2}));

    // A failing handler ends in the error reporter, as for a mouse click; the row stays selected.
    testsupport::ReportedErrors errors;
    list.onClick = [] { throw std::runtime_error("handler failed"); };
    QVERIFY(table->selectRow(8));
    QCOMPARE(errors.messages(), QStringList{u"handler failed"_s});
}

void AccessibilityTest::editChangesFollowTheEditingSteps_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("operation"); // insert, replace, delete, value
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("edited"); // the modified and the change event raised once each

    const QString refused; // "after" for a refused change: the text stays as before
    QTest::newRow("letter into integer")
        << Kind::Integer << u"12"_s << u"insert"_s << 2 << 2 << u"a"_s << refused << false;
    QTest::newRow("digit into integer")
        << Kind::Integer << u"12"_s << u"insert"_s << 2 << 2 << u"3"_s << u"123"_s << true;
    QTest::newRow("digit before minus")
        << Kind::Integer << u"-5"_s << u"insert"_s << 0 << 0 << u"7"_s << refused << false;
    QTest::newRow("digit into full integer")
        << Kind::Integer << u"123456"_s << u"insert"_s << 6 << 6 << u"7"_s << u"123456"_s << true;
    QTest::newRow("minus over whole integer")
        << Kind::Integer << u"12"_s << u"replace"_s << 0 << 2 << u"-"_s << u"-"_s << true;
    QTest::newRow("value of integer")
        << Kind::Integer << u"12"_s << u"value"_s << 0 << 0 << u"-40"_s << u"-40"_s << true;
    // As a paste: a text the paste rules refuse still removes what it replaces.
    QTest::newRow("value not a number")
        << Kind::Integer << u"12"_s << u"value"_s << 0 << 0 << u"4a"_s << QString() << true;
    QTest::newRow("second separator")
        << Kind::Decimal << u"1.5"_s << u"insert"_s << 3 << 3 << u"."_s << refused << false;
    QTest::newRow("delete from name")
        << Kind::Name << u"Tank"_s << u"delete"_s << 1 << 3 << QString() << u"Tk"_s << true;
    QTest::newRow("tab into name")
        << Kind::Name << u"Tank"_s << u"insert"_s << 4 << 4 << u"\t"_s << refused << false;
    QTest::newRow("beyond the end")
        << Kind::Name << u"Tank"_s << u"insert"_s << 5 << 5 << u"s"_s << refused << false;
    QTest::newRow("digit into record number")
        << Kind::RecordNumber << u"12"_s << u"insert"_s << 2 << 2 << u"3"_s << refused << false;
    QTest::newRow("value of record number")
        << Kind::RecordNumber << u"12"_s << u"value"_s << 0 << 0 << u"7"_s << refused << false;
}

void AccessibilityTest::editChangesFollowTheEditingSteps() {
    QFETCH(Kind, kind);
    QFETCH(QString, before);
    QFETCH(QString, operation);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(bool, edited);

    FieldEdit edit(kind, kind == Kind::Name ? 29 : kind == Kind::Decimal ? 11 : 6);
    edit.setFieldText(before);
    edit.setCursorPosition(1);
    int modified = 0;
    int changes = 0;
    edit.onModified = [&](FieldEdit&) { ++modified; };
    edit.onChange = [&](FieldEdit&) { ++changes; };

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&edit);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QCOMPARE(iface->state().readOnly, kind == Kind::RecordNumber);
    QCOMPARE(iface->state().editable, kind != Kind::RecordNumber);
    QAccessibleEditableTextInterface* editable = iface->editableTextInterface();
    QVERIFY(editable);
    if (operation == u"insert"_s)
        editable->insertText(from, text);
    else if (operation == u"replace"_s)
        editable->replaceText(from, to, text);
    else if (operation == u"delete"_s)
        editable->deleteText(from, to);
    else
        iface->setText(QAccessible::Value, text);

    const QString expected = edited ? after : before;
    QCOMPARE(edit.text(), expected);
    QCOMPARE(iface->text(QAccessible::Value), expected);
    QCOMPARE(edit.modifiedFlag(), edited);
    QCOMPARE(modified, edited ? 1 : 0);
    QCOMPARE(changes, edited ? 1 : 0);
    if (!edited) {
        // A refused change leaves the caret where it was, as a refused key does.
        QCOMPARE(edit.cursorPosition(), 1);
        QVERIFY(!edit.hasSelectedText());
    }
}

void AccessibilityTest::editReadsTextAndSelection() {
    FieldEdit edit(Kind::Name, 29);
    edit.resize(200, 24);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setFieldText(u"Hangar"_s);
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&edit)->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), 6);
    QCOMPARE(text->text(1, 4), u"ang"_s);

    text->setSelection(0, 2, 5);
    QCOMPARE(edit.selectedText(), u"nga"_s);
    QCOMPARE(text->selectionCount(), 1);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(start, 2);
    QCOMPARE(end, 5);
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);

    // Characters stand left to right inside the edit wherever the caret is, and each point reads
    // back its offset.
    text->setCursorPosition(0);
    const QRect first = text->characterRect(0);
    const QRect last = text->characterRect(5);
    QVERIFY(first.isValid() && last.left() > first.right());
    QVERIFY(edit.rect().contains(edit.mapFromGlobal(last.center())));
    text->setCursorPosition(6);
    QCOMPARE(text->characterRect(5), last);
    QCOMPARE(text->offsetAtPoint(QPoint(last.left() + 1, last.center().y())), 5);
    QVERIFY(!text->characterRect(6).isValid());
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"

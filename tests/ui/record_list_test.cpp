// The record list: the column split, program changes without events, user
// selection by mouse and keyboard, scrolling, and what a painted row shows.

#include "tests/support/reported_errors.h"
#include "ui/controls/record_list.h"
#include "ui/controls/record_list_header.h"
#include "ui/user_action.h"

#include <QImage>
#include <QScrollBar>
#include <QtTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using ui::RecordList;

namespace {

void fill(RecordList& list, int rows) {
    for (int i = 0; i < rows; ++i)
        list.appendRow(QString::number(i) + u";1;2;Name "_s + QString::number(i));
}

int visibleRows(const RecordList& list) {
    return list.viewport()->height() / 16;
}

} // namespace

class RecordListTest : public QObject {
    Q_OBJECT
private slots:
    void splitRowText_data();
    void splitRowText();
    void headerIsFixed();
    void programChangesRaiseNoClick();
    void setSelectedIndexScrollsJustEnough();
    void mouseClickSelectsThenRaisesClick();
    void keyboardMovesSelection();
    void errorInClickHandlerIsReported();
    void paintsColumnsGridAndSelection();
};

void RecordListTest::splitRowText_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("four pieces") << u"12;1;3;Tank"_s
                                 << QStringList{u"12"_s, u"1"_s, u"3"_s, u"Tank"_s};
    QTest::newRow("trailing separator") << u"12;1;3;"_s << QStringList{u"12"_s, u"1"_s, u"3"_s};
    QTest::newRow("adjacent separators")
        << u"12;;3;Tank"_s << QStringList{u"12"_s, QString(), u"3"_s, u"Tank"_s};
    QTest::newRow("leading separator") << u";1"_s << QStringList{QString(), u"1"_s};
    QTest::newRow("only a separator") << u";"_s << QStringList{QString()};
    QTest::newRow("five pieces") << u"a;b;c;d;e"_s << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    QTest::newRow("blanks kept") << u" a ; b "_s << QStringList{u" a "_s, u" b "_s};
    QTest::newRow("no separator") << u"plain"_s << QStringList{u"plain"_s};
    QTest::newRow("blank row") << u"   "_s << QStringList{};
    QTest::newRow("empty row") << QString() << QStringList{};
}

void RecordListTest::splitRowText() {
    QFETCH(QString, row);
    QFETCH(QStringList, pieces);
    QCOMPARE(ui::splitRowText(row), pieces);
}

void RecordListTest::headerIsFixed() {
    RecordList list;
    list.resize(265, 377);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    auto* header = list.findChild<ui::RecordListHeader*>();
    QVERIFY(header);
    QCOMPARE(header->captions(), (QStringList{u"Rec#"_s, u"Class"_s, u"Type"_s, u"Object Name"_s}));
    QCOMPARE(header->sectionWidth(0), 40);
    QCOMPARE(header->sectionWidth(3), 140);
    QCOMPARE(header->height(), 17);
    QCOMPARE(header->geometry().bottom() + 1, list.viewport()->geometry().top());
    QVERIFY(header->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void RecordListTest::programChangesRaiseNoClick() {
    RecordList list;
    int clicks = 0;
    list.onClick = [&clicks] { ++clicks; };

    fill(list, 5);
    QCOMPARE(list.rowCount(), 5);
    QCOMPARE(list.rowText(2), u"2;1;2;Name 2"_s);
    QCOMPARE(list.rowText(7), QString());
    QCOMPARE(list.selectedIndex(), -1);

    list.setSelectedIndex(3);
    QCOMPARE(list.selectedIndex(), 3);
    list.setSelectedIndex(3);
    list.appendRow(u"5;0;0;"_s);
    QCOMPARE(list.selectedIndex(), 3);
    list.setSelectedIndex(-1);
    QCOMPARE(list.selectedIndex(), -1);
    list.setSelectedIndex(1);
    list.clear();
    QCOMPARE(list.rowCount(), 0);
    QCOMPARE(list.selectedIndex(), -1);
    QCOMPARE(clicks, 0);
}

void RecordListTest::setSelectedIndexScrollsJustEnough() {
    RecordList list;
    list.resize(265, 377);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    fill(list, 100);
    const int shown = visibleRows(list);
    QVERIFY(shown > 10);

    list.setSelectedIndex(50);
    QCOMPARE(list.topRow(), 50 - shown + 1);
    list.setSelectedIndex(52);
    QCOMPARE(list.topRow(), 52 - shown + 1);
    list.setSelectedIndex(45);
    QCOMPARE(list.topRow(), 52 - shown + 1); // already visible: no scrolling
    list.setSelectedIndex(10);
    QCOMPARE(list.topRow(), 10);
    list.setSelectedIndex(99);
    QCOMPARE(list.topRow(), 99 - shown + 1);
    QCoreApplication::processEvents();
    QCOMPARE(list.verticalScrollBar()->maximum(), 100 - shown);
    QCOMPARE(list.verticalScrollBar()->value(), 99 - shown + 1);

    // Scrolling by the scroll bar moves the rows but not the selection.
    list.verticalScrollBar()->setValue(0);
    QCOMPARE(list.topRow(), 0);
    QCOMPARE(list.selectedIndex(), 99);

    // A list that is not shown yet scrolls by its size all the same.
    RecordList hidden;
    hidden.resize(265, 377);
    fill(hidden, 100);
    hidden.setSelectedIndex(5);
    QCOMPARE(hidden.topRow(), 0);
    hidden.setSelectedIndex(60);
    QCOMPARE(hidden.topRow(), 60 - shown + 1);

    // A refill shows the top again; a short list needs no scrolling.
    list.clear();
    fill(list, 3);
    QCoreApplication::processEvents();
    QCOMPARE(list.topRow(), 0);
    QCOMPARE(list.verticalScrollBar()->maximum(), 0);
}

void RecordListTest::mouseClickSelectsThenRaisesClick() {
    RecordList list;
    list.resize(265, 377);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    fill(list, 5);
    QList<int> seen;
    list.onClick = [&] { seen.append(list.selectedIndex()); };

    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(60, 3 * 16 + 8));
    QCOMPARE(seen, QList<int>{3});
    // Clicking the selected row again is still a click on a row.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(60, 3 * 16 + 2));
    QCOMPARE(seen, (QList<int>{3, 3}));
    // Below the last row nothing is hit.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(60, 10 * 16));
    QCOMPARE(seen.size(), 2);
    QCOMPARE(list.selectedIndex(), 3);
}

void RecordListTest::keyboardMovesSelection() {
    RecordList list;
    list.resize(265, 377);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    fill(list, 100);
    const int page = visibleRows(list) - 1;
    QList<int> seen;
    list.onClick = [&] { seen.append(list.selectedIndex()); };

    QTest::keyClick(&list, Qt::Key_Down); // nothing selected yet: the first row
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Up);
    QTest::keyClick(&list, Qt::Key_Up); // at the top already: no change, no event
    QTest::keyClick(&list, Qt::Key_PageDown);
    QTest::keyClick(&list, Qt::Key_End);
    QTest::keyClick(&list, Qt::Key_End);
    QTest::keyClick(&list, Qt::Key_PageUp);
    QTest::keyClick(&list, Qt::Key_Home);
    QCOMPARE(seen, (QList<int>{0, 1, 0, page, 99, 99 - page, 0}));

    // Keys that do not move the selection raise nothing.
    QTest::keyClick(&list, Qt::Key_A);
    QCOMPARE(seen.size(), 7);
}

void RecordListTest::errorInClickHandlerIsReported() {
    testsupport::ReportedErrors reported;
    RecordList list;
    fill(list, 3);
    list.onClick = [] { throw std::runtime_error("Read beyond end of file"); };
    QTest::keyClick(&list, Qt::Key_End);
    QCOMPARE(reported.count(), 1);
    QCOMPARE(list.selectedIndex(), 2);
}

void RecordListTest::paintsColumnsGridAndSelection() {
    RecordList list;
    list.resize(265, 377);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.appendRow(u"0;1;2;Alpha"_s);
    list.appendRow(u"   "_s);
    list.appendRow(u"2;1;2;Gamma;hidden"_s);
    list.setSelectedIndex(2);
    QCoreApplication::processEvents();

    const QImage image = list.viewport()->grab().toImage();
    const QColor silver(192, 192, 192);
    const QColor base = list.palette().color(QPalette::Base);
    const QColor highlight = list.palette().color(QPalette::Highlight);

    // Row 0: grid lines at the column edges and under the row; text in the name column.
    QCOMPARE(image.pixelColor(39, 8), silver);
    QCOMPARE(image.pixelColor(119, 8), silver);
    QCOMPARE(image.pixelColor(200, 15), silver);
    bool inked = false;
    for (int x = 122; x < 200 && !inked; ++x) {
        for (int y = 1; y < 15 && !inked; ++y)
            inked = image.pixelColor(x, y) != base && image.pixelColor(x, y) != silver;
    }
    QVERIFY(inked);

    // Row 1 (blanks): background only, no grid line under it.
    QCOMPARE(image.pixelColor(39, 24), base);
    QCOMPARE(image.pixelColor(200, 31), base);

    // Row 2: selected, drawn in the highlight colour.
    QCOMPARE(image.pixelColor(35, 2 * 16 + 8), highlight);
    // Below the rows the list is plain background.
    QCOMPARE(image.pixelColor(100, 5 * 16), base);
}

QTEST_MAIN(RecordListTest)
#include "record_list_test.moc"

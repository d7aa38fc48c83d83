// The editor window driven through its real widgets: browsing the record list,
// every keystroke written back into the object table, conversion errors, and
// the record view while no row is selected.

#include "tests/support/editor_fixture.h"
#include "tests/support/locale_guard.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/record_list.h"
#include "ui/user_action.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLocale>
#include <QTest>

#include <cstring>
#include <memory>
#include <stdexcept>

using testsupport::nameSlot;

namespace {

constexpr float kOddFloat = 1.234f;         // shows as 1.23
constexpr float kWideFloat = -123456789.0f; // its text is longer than the decimal edit
const std::string kLongName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"; // 30 bytes, no terminator

// Record 0: class 5, type 2, "Bunker". Record 1: an odd float, a flag of 2 and a
// name slot with bytes after its terminator. Record 2: all bits set in the class,
// a float too wide for its edit and a 30-byte name. Record 3: sample values.
std::vector<doc::ObjectRecord> records() {
    auto result = testsupport::sampleRecords(4);
    result[0].fields[0] = 5;
    result[0].fields[1] = 2;
    result[1].setFloatField(4, kOddFloat);
    result[1].fields[24] = 2;
    result[2].fields[0] = 0xFFFFFFFFu;
    result[2].setFloatField(5, kWideFloat);
    return result;
}

doc::NameSlot slotWithRemains() {
    doc::NameSlot slot = nameSlot("Hangar");
    for (std::size_t b = 7; b < slot.size(); ++b)
        slot[b] = static_cast<std::uint8_t>('a' + b % 26);
    return slot;
}

std::vector<doc::NameSlot> names() {
    return {nameSlot("Bunker"), slotWithRemains(), nameSlot(kLongName), nameSlot("Tower")};
}

QString sep() {
    return QLocale().decimalPoint();
}

bool sameBits(float a, std::uint32_t bits) {
    return std::bit_cast<std::uint32_t>(a) == bits;
}

bool recordViewEnabled(editor::TForm6& w) {
    return w.LMDGroupBox1->isEnabled() && w.LMDGroupBox2->isEnabled() &&
           w.LMDGroupBox3->isEnabled() && w.LMDGroupBox4->isEnabled();
}
bool recordViewDisabled(editor::TForm6& w) {
    return !w.LMDGroupBox1->isEnabled() && !w.LMDGroupBox2->isEnabled() &&
           !w.LMDGroupBox3->isEnabled() && !w.LMDGroupBox4->isEnabled();
}

// An editor window on the data file above.
class SampleEditor : public EditorFixture {
public:
    SampleEditor() : EditorFixture(sampleFile(), names()) {}

private:
    static testsupport::DataFile sampleFile() {
        testsupport::DataFile file;
        file.records = records();
        return file;
    }
};

} // namespace

class EditorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void browsingShowsRecordsAndChangesNothing_data();
    void browsingShowsRecordsAndChangesNothing();
    void keystrokesWriteBackOnlyWhatChanged();
    void checkBoxesAndPasteWriteBack();
    void conversionErrorStopsTheWriteBack();
    void nothingIsWrittenWithoutASelectedRow();
    void recordNumberEditFollowsTheSelection();
};

void EditorWindowTest::browsingShowsRecordsAndChangesNothing_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("C") << QLocale::c();
    QTest::newRow("German") << QLocale(QLocale::German);
}

void EditorWindowTest::browsingShowsRecordsAndChangesNothing() {
    QFETCH(QLocale, locale);
    testsupport::LocaleGuard guard(locale);
    SampleEditor f;
    auto& w = f.window();
    const doc::ObjectTable before = f.table();

    QCOMPARE(w.LMDLB1->rowCount(), 4);
    QCOMPARE(w.LMDLB1->rowText(0), QStringLiteral("0;5;2;Bunker"));
    QCOMPARE(w.LMDLB1->rowText(2),
             QStringLiteral("2;4294967295;2001;") + QString::fromStdString(kLongName));
    QCOMPARE(w.LMDLB1->selectedIndex(), -1);
    QVERIFY(recordViewDisabled(w));

    f.clickRow(1);
    QCOMPARE(w.LMDLB1->selectedIndex(), 1);
    QVERIFY(recordViewEnabled(w));
    QCOMPARE(w.ME1->text(), QStringLiteral("1"));
    QCOMPARE(w.ME2->text(), QStringLiteral("1000"));
    QCOMPARE(w.ME5->text(), QStringLiteral("1002"));
    QCOMPARE(w.me17->text(), QStringLiteral("1003"));
    QCOMPARE(w.me4->text(), QStringLiteral("Hangar"));
    QCOMPARE(w.me6->text(), QStringLiteral("1") + sep() + QStringLiteral("23"));
    QCOMPARE(w.me25->text(),
             QStringLiteral("8") + sep() + QStringLiteral("00")); // 1.5 + 1 + 0.25*22
    QVERIFY(w.cb1->isChecked());
    QVERIFY(!w.cb2->isChecked()); // a flag of 2 shows unchecked

    w.LMDLB1->setFocus();
    QTest::keyClick(w.LMDLB1, Qt::Key_Down);
    QCOMPARE(w.LMDLB1->selectedIndex(), 2);
    QCOMPARE(w.ME1->text(), QStringLiteral("2"));
    QCOMPARE(w.ME2->text(), QStringLiteral("4294967295")); // the integer edits hold 11 characters
    QCOMPARE(w.me4->text(), QString::fromStdString(kLongName.substr(0, 29)));
    QCOMPARE(w.me7->text(), QStringLiteral("-1") + sep() + QStringLiteral("2345679E")); // cut at 11
    QVERIFY(w.cb1->isChecked());
    QVERIFY(!w.cb2->isChecked());
    QTest::keyClick(w.LMDLB1, Qt::Key_Down);
    QCOMPARE(w.me4->text(), QStringLiteral("Tower"));
    QVERIFY(w.cb2->isChecked());

    QTest::keyClick(w.LMDLB1, Qt::Key_Up);
    QTest::keyClick(w.LMDLB1, Qt::Key_Up);
    QCOMPARE(w.LMDLB1->selectedIndex(), 1);
    QCOMPARE(w.me4->text(), QStringLiteral("Hangar"));
    f.clickRow(0);
    QCOMPARE(w.me4->text(), QStringLiteral("Bunker"));
    QCOMPARE(w.ME3->text(), QStringLiteral("2"));

    QVERIFY(!w.Save1->isEnabled());
    QVERIFY(f.table().records == before.records);
    QVERIFY(f.table().names == before.names);
    QVERIFY(f.errors().isEmpty());
}

void EditorWindowTest::keystrokesWriteBackOnlyWhatChanged() {
    SampleEditor f;
    auto& w = f.window();
    const doc::ObjectTable before = f.table();

    f.clickRow(1);
    f.typeOver(w.ME5, QStringLiteral("1"));
    QCOMPARE(f.record(1).fields[2], 1u);
    QVERIFY(w.Save1->isEnabled());
    QTest::keyClick(w.ME5, Qt::Key_2);
    QCOMPARE(f.record(1).fields[2], 12u);
    QCOMPARE(w.LMDLB1->selectedIndex(), 1);
    QCOMPARE(QApplication::focusWidget(), w.ME5); // the focus stays where the user types
    QVERIFY(recordViewEnabled(w));

    // Everything the user did not touch keeps its bits: the odd float, the flag of 2, the name
    // slot.
    doc::ObjectRecord expected = before.records[1];
    expected.fields[2] = 12;
    QVERIFY(f.record(1) == expected);
    QVERIFY(f.slot(1) == before.names[1]);

    // The name: its characters and one zero byte; the later bytes stay.
    f.typeOver(w.me4, QStringLiteral("Silo"));
    doc::NameSlot name = before.names[1];
    std::memcpy(name.data(), "Silo", 5);
    QVERIFY(f.slot(1) == name);
    QCOMPARE(w.LMDLB1->rowText(1), QStringLiteral("1;1000;1001;Silo"));
    QVERIFY(sameBits(kOddFloat, f.record(1).fields[4]));
    QCOMPARE(f.record(1).fields[24], 2u);

    // A record whose texts do not fit their edits keeps them through an edit of another field.
    f.clickRow(2);
    f.typeOver(w.ME3, QStringLiteral("7"));
    QCOMPARE(f.record(2).fields[1], 7u);
    QCOMPARE(f.record(2).fields[0], 0xFFFFFFFFu);
    QVERIFY(sameBits(kWideFloat, f.record(2).fields[5]));
    QVERIFY(f.slot(2) == before.names[2]);
    QCOMPARE(w.LMDLB1->rowText(2),
             QStringLiteral("2;4294967295;7;") + QString::fromStdString(kLongName));

    // A float is stored as typed, as the nearest single, and the edit keeps the text as typed.
    f.clickRow(3);
    f.typeOver(w.me6, QStringLiteral("0") + sep() + QStringLiteral("1"));
    QVERIFY(sameBits(0.1f, f.record(3).fields[4]));
    QCOMPARE(w.me6->text(), QStringLiteral("0") + sep() + QStringLiteral("1"));
    f.clickRow(3);
    QCOMPARE(w.me6->text(), QStringLiteral("0") + sep() + QStringLiteral("10"));

    QVERIFY(f.table().records[0] == before.records[0]);
    QVERIFY(f.errors().isEmpty());
}

void EditorWindowTest::checkBoxesAndPasteWriteBack() {
    SampleEditor f;
    auto& w = f.window();
    const doc::ObjectTable before = f.table();

    f.clickRow(1);
    QTest::mouseClick(w.cb2, Qt::LeftButton, {}, QPoint(5, w.cb2->height() / 2));
    QVERIFY(w.cb2->isChecked());
    QCOMPARE(f.record(1).fields[24], 1u);
    QVERIFY(w.Save1->isEnabled());
    w.cb2->setFocus();
    QTest::keyClick(w.cb2, Qt::Key_Space);
    QCOMPARE(f.record(1).fields[24], 0u);
    QCOMPARE(f.record(1).fields[23], 1u);
    QVERIFY(sameBits(kOddFloat, f.record(1).fields[4]));

    // Pasting -1 over the selected class stores all bits set; the list shows it unsigned.
    f.clickRow(3);
    QGuiApplication::clipboard()->setText(QStringLiteral("-1"));
    QTest::mouseClick(w.ME2, Qt::LeftButton, {}, w.ME2->rect().center());
    QTest::keyClick(w.ME2, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.record(3).fields[0], 0xFFFFFFFFu);
    QCOMPARE(w.LMDLB1->rowText(3), QStringLiteral("3;4294967295;3001;Tower"));
    QCOMPARE(w.ME2->text(), QStringLiteral("-1"));
    QCOMPARE(w.LMDLB1->selectedIndex(), 3);
    doc::ObjectRecord expected = before.records[3];
    expected.fields[0] = 0xFFFFFFFFu;
    QVERIFY(f.record(3) == expected);
    QVERIFY(f.errors().isEmpty());
}

void EditorWindowTest::conversionErrorStopsTheWriteBack() {
    SampleEditor f;
    auto& w = f.window();
    const doc::ObjectTable before = f.table();

    f.clickRow(1);
    // Texts put in by the program are no user change, but the next write-back takes them along:
    // ME2 is stored before ME5, me12 after it.
    w.ME2->setFieldText(QStringLiteral("42"));
    w.me12->setFieldText(QStringLiteral("777"));
    QTest::mouseClick(w.ME5, Qt::LeftButton, {}, w.ME5->rect().center());
    QTest::keyClick(w.ME5, Qt::Key_Backspace);
    QCOMPARE(w.ME5->text(), QString());
    QCOMPARE(f.errors(), QStringList{QStringLiteral("'' is not a valid integer value")});
    QCOMPARE(f.record(1).fields[0], 42u);
    QCOMPARE(f.record(1).fields[2], before.records[1].fields[2]);
    QCOMPARE(f.record(1).fields[10], before.records[1].fields[10]);
    QCOMPARE(w.LMDLB1->rowText(1), QStringLiteral("1;1000;1001;Hangar")); // not refilled
    QCOMPARE(w.LMDLB1->selectedIndex(), 1);
    QVERIFY(w.Save1->isEnabled());
    QVERIFY(!w.ME5->modifiedFlag());

    // The next keystroke in the same edit is written back, with the later fields.
    QTest::keyClick(w.ME5, Qt::Key_7);
    QCOMPARE(f.errors().size(), 1);
    QCOMPARE(f.record(1).fields[2], 7u);
    QCOMPARE(f.record(1).fields[10], 777u);
    QCOMPARE(w.LMDLB1->rowText(1), QStringLiteral("1;42;1001;Hangar"));

    // A lone minus sign in a decimal edit.
    f.typeOver(w.me9, QStringLiteral("-"));
    QCOMPARE(f.errors().size(), 2);
    QCOMPARE(f.errors().last(), QStringLiteral("'-' is not a valid floating point value"));
    QCOMPARE(f.record(1).fields[7], before.records[1].fields[7]);
}

void EditorWindowTest::nothingIsWrittenWithoutASelectedRow() {
    SampleEditor f;
    auto& w = f.window();
    const doc::ObjectTable before = f.table();

    QCOMPARE(w.LMDLB1->selectedIndex(), -1);
    QVERIFY(recordViewDisabled(w));
    w.me4->setFieldText(QStringLiteral("Ghost"));
    w.ME5->setFieldText(QStringLiteral("99"));
    w.me4Exit();
    ui::runUserAction([&] { w.cb1Change(*w.cb1); });
    w.ME5->setModifiedFlag(true); // raises the modified event as a keystroke would
    QVERIFY(!w.ME5->modifiedFlag());
    QVERIFY(f.table().records == before.records);
    QVERIFY(f.table().names == before.names);
    QCOMPARE(w.LMDLB1->selectedIndex(), -1);
    QVERIFY(recordViewDisabled(w));

    // A save (or any refill followed by reselection) makes the view editable again.
    f.clickRow(2);
    QVERIFY(recordViewEnabled(w));
    w.LMDButton1Click();
    w.LMDLB1->setSelectedIndex(2);
    w.syncRecordViewEnabled();
    QVERIFY(recordViewEnabled(w));
    w.LMDButton1Click();
    w.syncRecordViewEnabled();
    QVERIFY(recordViewDisabled(w));
    QVERIFY(f.errors().isEmpty());
}

void EditorWindowTest::recordNumberEditFollowsTheSelection() {
    SampleEditor f;
    auto& w = f.window();

    // Hidden window: a change of ME1 does nothing.
    w.hide();
    w.ME1->setFieldText(QStringLiteral("2"));
    QCOMPARE(w.LMDLB1->selectedIndex(), -1);
    QCOMPARE(w.me4->text(), QString());
    w.show();

    // Showing with no row selected ends on row 0.
    w.LMDLB1Click();
    QCOMPARE(w.LMDLB1->selectedIndex(), 0);
    QCOMPARE(w.ME1->text(), QStringLiteral("0"));
    QCOMPARE(w.me4->text(), QStringLiteral("Bunker"));
    QVERIFY(recordViewEnabled(w));

    // Numbers beyond the last index and below zero are corrected.
    w.ME1->setFieldText(QStringLiteral("99"));
    QCOMPARE(w.ME1->text(), QStringLiteral("3"));
    QCOMPARE(w.LMDLB1->selectedIndex(), 3);
    QCOMPARE(w.me4->text(), QStringLiteral("Tower"));
    w.ME1->setFieldText(QStringLiteral("-5"));
    QCOMPARE(w.ME1->text(), QStringLiteral("0"));
    QCOMPARE(w.LMDLB1->selectedIndex(), 0);
    w.ME1->setFieldText(QString());
    QCOMPARE(w.ME1->text(), QStringLiteral("0"));
    w.ME1->setFieldText(QStringLiteral("2"));
    QCOMPARE(w.LMDLB1->selectedIndex(), 2);
    QCOMPARE(w.ME2->text(), QStringLiteral("4294967295"));
    QVERIFY(!w.Save1->isEnabled());
    QVERIFY(f.errors().isEmpty());
}

QTEST_MAIN(EditorWindowTest)
#include "editor_window_test.moc"

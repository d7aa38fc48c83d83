// "Add Record", "Clear Record", "Shape Data to Shadow Data" and "Apply to All Objects" through
// the real editor window, with the bytes on disk checked.

#include "document/document_reader.h"
#include "document/field_table.h"
#include "tests/support/editor_fixture.h"
#include "tests/support/locale_guard.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/percent_spin_box.h"

#include <QAction>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <cmath>

using testsupport::Bytes;
using Kind = ui::ScriptedDialogs::Kind;
using testsupport::numberedNames;
using testsupport::sampleFile;

namespace {

/** The record "Add Record" and "Clear Record" store. */
doc::ObjectRecord defaultRecord() {
    doc::ObjectRecord record;
    for (const doc::FieldInfo& field : doc::kFields) {
        auto& bits = record.fields[static_cast<std::size_t>(field.index)];
        if (field.type == doc::FieldType::Float)
            record.setFloatField(field.index, 0.0f);
        else
            bits = static_cast<std::uint32_t>(std::stoul(std::string(field.defaultText)));
    }
    return record;
}

QString sep() {
    return QLocale().decimalPoint();
}

} // namespace

class RecordCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void addRecordSavesANewRecordWithTheDefaults_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("C") << QLocale::c();
        QTest::newRow("German") << QLocale(QLocale::German);
    }
    void addRecordSavesANewRecordWithTheDefaults() {
        QFETCH(QLocale, locale);
        testsupport::LocaleGuard guard(locale);
        EditorFixture f(sampleFile(300), numberedNames(300));
        auto& w = f.window();
        const Bytes before = testsupport::readFile(f.path());
        f.clickRow(5);
        f.typeOver(w.ME5, QStringLiteral("77")); // an unsaved edit goes along

        QTest::mouseClick(w.LMDButton2, Qt::LeftButton);
        QVERIFY(f.errors().isEmpty());
        const Bytes after = testsupport::readFile(f.path());
        QCOMPARE(testsupport::storedCount(after), 301);
        QCOMPARE(after.size(), before.size() + 100);
        QVERIFY(testsupport::recordAt(after, 300) == defaultRecord());
        QCOMPARE(testsupport::recordAt(after, 5).fields[2], 77u);
        const Bytes names = testsupport::readFile(doc::namesFilePath(f.path()));
        QVERIFY(testsupport::slotAt(names, 300) == testsupport::nameSlot("Empty Object Slot"));

        QCOMPARE(w.LMDLB1->rowCount(), 301);
        QCOMPARE(w.LMDLB1->selectedIndex(), 300);
        QCOMPARE(w.LMDLB1->rowText(300), QStringLiteral("300;0;0;Empty Object Slot"));
        QCOMPARE(w.me17->text(), QStringLiteral("176"));
        QCOMPARE(w.me6->text(), QStringLiteral("0") + sep() + QStringLiteral("0"));
        QVERIFY(w.cb1->isChecked() && w.cb2->isChecked());
        QVERIFY(!w.Save1->isEnabled());
    }

    void addRecordOnAFullTableChangesNothing() {
        EditorFixture f(sampleFile(512), numberedNames(512));
        auto& w = f.window();
        const Bytes before = testsupport::readFile(f.path());
        QTest::mouseClick(w.LMDButton2, Qt::LeftButton);
        QCOMPARE(f.dialogs().texts(Kind::Information),
                 QStringList{QStringLiteral(
                     "The file already holds 512 records, the most this editor can hold.")});
        QCOMPARE(testsupport::readFile(f.path()), before);
        QCOMPARE(f.table().lastIndex, 511);
        QCOMPARE(w.LMDLB1->rowCount(), 512);
        QVERIFY(!w.Save1->isEnabled());
    }

    void aFullDiskDuringAddRecordKeepsAFileTheEditorOpens() {
        EditorFixture f(sampleFile(300), numberedNames(300));
        auto& w = f.window();
        // Room for every slot and record but the new record's last bytes.
        f.files().limitWrites(300 * 130 + 30 + 50);
        QTest::mouseClick(w.LMDButton2, Qt::LeftButton);
        QCOMPARE(f.errors(), QStringList{QStringLiteral("Disk full")});
        QCOMPARE(testsupport::storedCount(testsupport::readFile(f.path())), 300);
        QCOMPARE(doc::readStoredDocument(doc::FileSystem::real(), f.path()).count, 300);
        // The table, the list and the selection show the new record; "Save" can write it.
        QCOMPARE(w.LMDLB1->rowCount(), 301);
        QCOMPARE(w.LMDLB1->selectedIndex(), 300);
        QCOMPARE(w.me4->text(), QStringLiteral("Empty Object Slot"));
        QVERIFY(w.Save1->isEnabled());

        f.files().limitWrites(1 << 20);
        f.document().save(); // what the menu's "Save" runs
        QCOMPARE(f.errors().size(), 1);
        const Bytes after = testsupport::readFile(f.path());
        QCOMPARE(testsupport::storedCount(after), 301);
        QVERIFY(testsupport::recordAt(after, 300) == defaultRecord());
        QCOMPARE(w.LMDLB1->selectedIndex(), 300);
    }

    void clearRecordRefusesCoreObjectsAndSavesTheTable() {
        EditorFixture f(sampleFile(200), numberedNames(200));
        auto& w = f.window();
        const Bytes before = testsupport::readFile(f.path());
        const QString refusal = QStringLiteral("Can not clear core object.");

        QTest::mouseClick(w.LMDButton4, Qt::LeftButton); // no row selected
        f.clickRow(188);
        QTest::mouseClick(w.LMDButton4, Qt::LeftButton);
        QCOMPARE(f.dialogs().texts(Kind::Information), (QStringList{refusal, refusal}));
        QCOMPARE(testsupport::readFile(f.path()), before);
        QCOMPARE(w.me4->text(), QStringLiteral("Object 188"));

        f.clickRow(7);
        f.typeOver(w.ME3, QStringLiteral("31"));
        f.clickRow(189);
        QTest::mouseClick(w.LMDButton4, Qt::LeftButton);
        QCOMPARE(f.dialogs().texts(Kind::Information).size(), 2);
        const Bytes after = testsupport::readFile(f.path());
        QVERIFY(testsupport::recordAt(after, 189) == defaultRecord());
        QCOMPARE(testsupport::recordAt(after, 7).fields[1], 31u);
        QCOMPARE(testsupport::storedCount(after), 200);
        QCOMPARE(w.LMDLB1->selectedIndex(), 189);
        QCOMPARE(w.LMDLB1->rowText(189), QStringLiteral("189;0;0;Empty Object Slot"));
        QVERIFY(!w.Save1->isEnabled());

        // A failing save leaves the cleared row selected and the change unsaved.
        f.clickRow(190);
        f.files().limitWrites(0);
        QTest::mouseClick(w.LMDButton4, Qt::LeftButton);
        QCOMPARE(f.errors(), QStringList{QStringLiteral("Disk full")});
        QCOMPARE(w.LMDLB1->selectedIndex(), 190);
        QCOMPARE(w.LMDLB1->rowText(190), QStringLiteral("190;0;0;Empty Object Slot"));
        QVERIFY(w.Save1->isEnabled());
    }

    void shadowSizesAreEightTimesTheShapeSizesShown() {
        testsupport::DataFile file = sampleFile(3);
        file.records[1].setFloatField(7, 1.234f); // DX POS: shown as 1.23
        EditorFixture f(file, numberedNames(3));
        auto& w = f.window();

        QTest::mouseClick(w.LMDButton3, Qt::LeftButton); // no row selected: nothing happens
        QVERIFY(!w.Save1->isEnabled());

        f.clickRow(1);
        f.typeOver(w.me6, QStringLiteral("1") + sep() + QStringLiteral("50"));
        f.typeOver(w.me7, QStringLiteral("9") + sep() + QStringLiteral("999999999"));
        QTest::mouseClick(w.LMDButton3, Qt::LeftButton);
        QVERIFY(f.errors().isEmpty());
        QCOMPARE(w.me20->text(), QStringLiteral("12"));
        QCOMPARE(f.record(1).floatField(17), 12.0f);
        // 79.999999992 cut to the edit's eleven characters.
        QCOMPARE(w.me21->text(), QStringLiteral("79") + sep() + QStringLiteral("99999999"));
        QCOMPARE(w.me22->text(), QStringLiteral("32")); // 4.00 * 8
        QCOMPARE(w.me23->text(), QStringLiteral("9") + sep() + QStringLiteral("84"));
        QCOMPARE(f.record(1).floatField(20), 9.84f);
        QCOMPARE(f.record(1).floatField(22), 8 * f.record(1).floatField(9));
        QCOMPARE(w.LMDLB1->selectedIndex(), 1);
        QVERIFY(w.Save1->isEnabled());

        // An empty shape size stops the command with the conversion error: the first pair's
        // text is set, and its write-back stops at the empty edit, before any shadow field.
        f.clickRow(2);
        f.typeOver(w.me6, QStringLiteral("2"));
        w.me7->setFieldText(QString());
        const doc::ObjectRecord before = f.record(2);
        const QString shownSyNeg = w.me21->text();
        QTest::mouseClick(w.LMDButton3, Qt::LeftButton);
        QCOMPARE(f.errors(), QStringList{QStringLiteral("'' is not a valid floating point value")});
        QCOMPARE(w.me20->text(), QStringLiteral("16"));
        QCOMPARE(w.me21->text(), shownSyNeg);
        QVERIFY(f.record(2) == before);
        QVERIFY(!w.me20->modifiedFlag());
    }

    void scalingIsRelativeToTheLastPercentages() {
        testsupport::DataFile file = sampleFile(6);
        for (auto& record : file.records)
            record.fields[2] = 7;
        file.records[2].fields[0] = 3; // class 3 is never scaled
        EditorFixture f(file, numberedNames(6));
        auto& w = f.window();
        const doc::ObjectRecord classThree = f.record(2);
        f.clickRow(4);

        const auto apply = [&](int damage) {
            w.LMDSE2->setValue(damage);
            w.LMDSE1->setValue(100);
            QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
            return f.record(4).fields[2];
        };
        QCOMPARE(apply(200), 14u);
        QCOMPARE(f.settings().damageScale, 200);
        QCOMPARE(apply(100), 7u);
        QCOMPARE(apply(150), 10u);
        QCOMPARE(apply(100), 6u);
        QVERIFY(f.record(2) == classThree);
        QCOMPARE(w.LMDLB1->selectedIndex(), 4);
        QCOMPARE(w.ME5->text(), QStringLiteral("6"));
        QVERIFY(w.Save1->isEnabled());
        QVERIFY(f.errors().isEmpty());

        // Sizes by their own percentage; with no row selected, row 0 is shown afterwards.
        w.LMDLB1->setSelectedIndex(-1);
        const float size = f.record(0).floatField(4);
        w.LMDSE1->setValue(200);
        QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
        QCOMPARE(f.record(0).floatField(4), 2 * size);
        QCOMPARE(w.LMDLB1->selectedIndex(), 0);
        QCOMPARE(w.ME1->text(), QStringLiteral("0"));
    }

    void aStoredScaleOfZeroIsRefusedBeforeAnythingChanges() {
        EditorFixture f(sampleFile(3), numberedNames(3));
        auto& w = f.window();
        f.settings().sizeScale = 0;
        const doc::ObjectTable before = f.table();
        w.LMDSE2->setValue(300);
        QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
        QCOMPARE(f.errors(),
                 QStringList{QStringLiteral("Stored scale 0 is not valid; it must be above 0")});
        QVERIFY(!f.settings().damageScale.has_value());
        QCOMPARE(f.settings().sizeScale, 0);
        QVERIFY(f.table().records == before.records);
        QVERIFY(!w.Save1->isEnabled());
    }
};

QTEST_MAIN(RecordCommandsTest)
#include "record_commands_test.moc"

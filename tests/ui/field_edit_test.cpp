// The field edits driven by real key, mouse, menu and input-method events.

#include "tests/support/reported_errors.h"
#include "ui/controls/field_edit.h"
#include "ui/user_action.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QInputMethodEvent>
#include <QLocale>
#include <QMenu>
#include <QVBoxLayout>
#include <QtTest>

#include <stdexcept>

using namespace Qt::StringLiterals;
using ui::FieldEdit;
using Kind = ui::FieldEdit::Kind;

Q_DECLARE_METATYPE(ui::FieldEdit::Kind)

namespace {

// Counts the two events of one edit.
struct Events {
    int modified = 0;
    int change = 0;
    void attach(FieldEdit& edit) {
        edit.onModified = [this](FieldEdit&) { ++modified; };
        edit.onChange = [this](FieldEdit&) { ++change; };
    }
};

// Sends one key press carrying text, as a keyboard layout would for any character.
void typeCharacters(QWidget* widget, const QString& characters) {
    for (QChar c : characters) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

// Puts text into the edit by program and places the selection: start, length (0 = caret only).
void prepare(FieldEdit& edit, const QString& text, int start, int length) {
    edit.setFieldText(text);
    if (length > 0)
        edit.setSelection(start, length);
    else
        edit.setCursorPosition(start);
}

} // namespace

class FieldEditTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void typedCharacters_data();
    void typedCharacters();
    void decimalSeparatorFollowsLocale();
    void fullEditRaisesModifiedWithoutChange();
    void nameEditRefusesWhatTheCodePageCannotHold();
    void pasteRules_data();
    void pasteRules();
    void backspaceDeleteAndCut();
    void undoAndRedoChangeNothing();
    void recordNumberEditTakesNoUserEdits();
    void inputMethodCommitsAreFiltered();
    void setFieldTextCutsAndRaisesOnlyChange();
    void modifiedFlagRaisesOnEveryChange();
    void handlersMayActOnTheirOwnEdit();
    void errorInHandlerAbandonsTheAction();
    void focusSelectsAllAndHoverTakesFocus();
    void dropsAreRefused();
};

void FieldEditTest::typedCharacters_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("int digit") << Kind::Integer << u"12"_s << 2 << 0 << u"3"_s << u"123"_s;
    QTest::newRow("int digit before minus")
        << Kind::Integer << u"-12"_s << 0 << 0 << u"5"_s << u"-12"_s;
    QTest::newRow("int digit over selected negative")
        << Kind::Integer << u"-12"_s << 0 << 3 << u"5"_s << u"-12"_s;
    QTest::newRow("int minus at start") << Kind::Integer << u"12"_s << 0 << 0 << u"-"_s << u"-12"_s;
    QTest::newRow("int minus inside") << Kind::Integer << u"12"_s << 1 << 0 << u"-"_s << u"12"_s;
    QTest::newRow("int second minus") << Kind::Integer << u"-12"_s << 0 << 0 << u"-"_s << u"-12"_s;
    QTest::newRow("int minus over selected negative")
        << Kind::Integer << u"-12"_s << 0 << 3 << u"-"_s << u"-"_s;
    QTest::newRow("int minus over selection from start")
        << Kind::Integer << u"-12"_s << 0 << 2 << u"-"_s << u"-2"_s;
    QTest::newRow("int letter") << Kind::Integer << u"12"_s << 2 << 0 << u"a"_s << u"12"_s;
    QTest::newRow("int blank") << Kind::Integer << u"12"_s << 2 << 0 << u" "_s << u"12"_s;
    QTest::newRow("int point") << Kind::Integer << u"12"_s << 2 << 0 << u"."_s << u"12"_s;
    QTest::newRow("int replaces selection")
        << Kind::Integer << u"123"_s << 1 << 1 << u"9"_s << u"193"_s;

    QTest::newRow("dec separator") << Kind::Decimal << u"15"_s << 1 << 0 << u"."_s << u"1.5"_s;
    QTest::newRow("dec second separator, all selected")
        << Kind::Decimal << u"1.5"_s << 0 << 3 << u"."_s << u"1.5"_s;
    QTest::newRow("dec separator before minus")
        << Kind::Decimal << u"-15"_s << 0 << 0 << u"."_s << u"-15"_s;
    QTest::newRow("dec separator after minus")
        << Kind::Decimal << u"-15"_s << 1 << 0 << u"."_s << u"-.15"_s;
    QTest::newRow("dec minus at start")
        << Kind::Decimal << u"1.5"_s << 0 << 0 << u"-"_s << u"-1.5"_s;
    QTest::newRow("dec minus over selected negative")
        << Kind::Decimal << u"-1.5"_s << 0 << 4 << u"-"_s << u"-1.5"_s;
    QTest::newRow("dec digit before minus")
        << Kind::Decimal << u"-1"_s << 0 << 0 << u"7"_s << u"-1"_s;
    QTest::newRow("dec comma") << Kind::Decimal << u"15"_s << 1 << 0 << u","_s << u"15"_s;

    QTest::newRow("name blank") << Kind::Name << u"ab"_s << 1 << 0 << u" "_s << u"a b"_s;
    QTest::newRow("name euro") << Kind::Name << u"ab"_s << 2 << 0 << u"€"_s << u"ab€"_s;
    QTest::newRow("name tab") << Kind::Name << u"ab"_s << 2 << 0 << u"\t"_s << u"ab"_s;
}

void FieldEditTest::typedCharacters() {
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    FieldEdit edit(kind, 11);
    prepare(edit, text, selStart, selLength);
    Events events;
    events.attach(edit);

    typeCharacters(&edit, typed);

    QCOMPARE(edit.fieldText(), expected);
    const bool accepted = expected != text;
    // Refused characters change nothing at all; accepted ones set the flag and raise both events.
    QCOMPARE(edit.modifiedFlag(), accepted);
    QCOMPARE(events.modified, accepted ? 1 : 0);
    QCOMPARE(events.change, accepted ? 1 : 0);
}

void FieldEditTest::decimalSeparatorFollowsLocale() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    FieldEdit edit(Kind::Decimal, 11);
    prepare(edit, u"15"_s, 1, 0);
    typeCharacters(&edit, u"."_s);
    QCOMPARE(edit.fieldText(), u"15"_s);
    typeCharacters(&edit, u","_s);
    QCOMPARE(edit.fieldText(), u"1,5"_s);
    edit.selectAll();
    typeCharacters(&edit, u","_s);
    QCOMPARE(edit.fieldText(), u"1,5"_s);
}

void FieldEditTest::fullEditRaisesModifiedWithoutChange() {
    FieldEdit edit(Kind::Integer, 6);
    prepare(edit, u"123456"_s, 6, 0);
    Events events;
    events.attach(edit);

    QTest::keyClick(&edit, Qt::Key_7);
    QCOMPARE(edit.fieldText(), u"123456"_s);
    QVERIFY(edit.modifiedFlag());
    QCOMPARE(events.modified, 1);
    QCOMPARE(events.change, 1);

    // The flag is already set: a further keystroke raises only the change event.
    QTest::keyClick(&edit, Qt::Key_8);
    QCOMPARE(events.modified, 1);
    QCOMPARE(events.change, 2);

    // With a character selected the digit fits again.
    edit.setSelection(5, 1);
    QTest::keyClick(&edit, Qt::Key_9);
    QCOMPARE(edit.fieldText(), u"123459"_s);
}

void FieldEditTest::nameEditRefusesWhatTheCodePageCannotHold() {
    FieldEdit edit(Kind::Name, 29);
    Events events;
    events.attach(edit);
    typeCharacters(&edit, u"Ab€ÿŸ"_s);
    QCOMPARE(edit.fieldText(), u"Ab€ÿŸ"_s);
    QCOMPARE(events.change, 5);

    // Greek, a C1 control, DEL and a character beyond the basic plane: not in Windows-1252.
    typeCharacters(&edit, u"Ω\u0081\u007f"_s);
    typeCharacters(&edit, QString::fromUcs4(U"\U0001F600", 1));
    QCOMPARE(edit.fieldText(), u"Ab€ÿŸ"_s);
    QCOMPARE(events.change, 5);
}

void FieldEditTest::pasteRules_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");

    QTest::newRow("int digits") << Kind::Integer << 6 << u"12"_s << 2 << 0 << u"34"_s << u"1234"_s;
    QTest::newRow("int leading minus at start")
        << Kind::Integer << 6 << u"12"_s << 0 << 0 << u"-3"_s << u"-312"_s;
    QTest::newRow("int minus would not stand first")
        << Kind::Integer << 6 << u"12"_s << 2 << 0 << u"-3"_s << u"12"_s;
    QTest::newRow("int second minus")
        << Kind::Integer << 6 << u"-12"_s << 0 << 0 << u"-3"_s << u"-12"_s;
    QTest::newRow("int letter") << Kind::Integer << 6 << u"12"_s << 2 << 0 << u"3a"_s << u"12"_s;
    QTest::newRow("int refused still removes selection")
        << Kind::Integer << 6 << u"123"_s << 0 << 2 << u"x"_s << u"3"_s;
    QTest::newRow("int too long") << Kind::Integer << 6 << u"1234"_s << 4 << 0 << u"567"_s
                                  << u"1234"_s;
    QTest::newRow("int first line only")
        << Kind::Integer << 6 << u""_s << 0 << 0 << u"42\n7"_s << u"42"_s;
    QTest::newRow("dec one separator")
        << Kind::Decimal << 11 << u"15"_s << 2 << 0 << u".25"_s << u"15.25"_s;
    QTest::newRow("dec two separators in paste")
        << Kind::Decimal << 11 << u""_s << 0 << 0 << u"1.2.3"_s << u""_s;
    QTest::newRow("dec separator already in text")
        << Kind::Decimal << 11 << u"1.5"_s << 3 << 0 << u"2.5"_s << u"1.5"_s;
    QTest::newRow("dec replaces separator")
        << Kind::Decimal << 11 << u"1.5"_s << 0 << 3 << u"-2.5"_s << u"-2.5"_s;
    QTest::newRow("name text") << Kind::Name << 29 << u"ab"_s << 2 << 0 << u"c €"_s << u"abc €"_s;
    QTest::newRow("name control character")
        << Kind::Name << 29 << u"ab"_s << 2 << 0 << u"c\td"_s << u"ab"_s;
    QTest::newRow("name outside code page")
        << Kind::Name << 29 << u"ab"_s << 2 << 0 << u"Ωmega"_s << u"ab"_s;
}

void FieldEditTest::pasteRules() {
    QFETCH(Kind, kind);
    QFETCH(int, maxLength);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);

    // Once by keyboard, once through the context menu: the same rules and events.
    for (const bool byMenu : {false, true}) {
        FieldEdit edit(kind, maxLength);
        prepare(edit, text, selStart, selLength);
        Events events;
        events.attach(edit);
        QGuiApplication::clipboard()->setText(clipboard);

        if (byMenu) {
            const std::unique_ptr<QMenu> menu = edit.createEditMenu();
            auto* paste = menu->findChild<QAction*>(u"paste"_s);
            QVERIFY(paste);
            QVERIFY(paste->isEnabled());
            paste->trigger();
        } else {
            QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        }

        QCOMPARE(edit.fieldText(), expected);
        // Pasting is an editing action even when nothing was inserted.
        QVERIFY(edit.modifiedFlag());
        QCOMPARE(events.modified, 1);
        QCOMPARE(events.change, 1);
    }
}

void FieldEditTest::backspaceDeleteAndCut() {
    FieldEdit edit(Kind::Name, 29);
    Events events;
    events.attach(edit);

    // Delete in an empty edit and Backspace at the start are no editing actions.
    QTest::keyClick(&edit, Qt::Key_Delete);
    prepare(edit, u"two words"_s, 0, 0);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QVERIFY(!edit.modifiedFlag());
    QCOMPARE(events.change, 1); // only the program's text change

    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.fieldText(), u"wo words"_s);
    QCOMPARE(events.modified, 1);
    edit.setCursorPosition(8);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.fieldText(), u"wo word"_s);
    QCOMPARE(edit.cursorPosition(), 7);

    QTest::keyClick(&edit, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(edit.fieldText(), u"wo "_s);

    // Delete at the end changes nothing but is still an editing action.
    edit.setModifiedFlag(false);
    const int changes = events.change;
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.fieldText(), u"wo "_s);
    QVERIFY(edit.modifiedFlag());
    QCOMPARE(events.change, changes + 1);

    edit.setSelection(0, 2);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit.fieldText(), u" "_s);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"wo"_s);
    QCOMPARE(events.change, changes + 2);

    // Delete from the context menu removes the selection through the same steps.
    prepare(edit, u"abc"_s, 1, 2);
    const std::unique_ptr<QMenu> menu = edit.createEditMenu();
    menu->findChild<QAction*>(u"delete"_s)->trigger();
    QCOMPARE(edit.fieldText(), u"a"_s);
}

void FieldEditTest::undoAndRedoChangeNothing() {
    FieldEdit edit(Kind::Integer, 6);
    QTest::keyClicks(&edit, u"123"_s);
    Events events;
    events.attach(edit);
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(edit.fieldText(), u"123"_s);
    QCOMPARE(events.change, 0);
}

void FieldEditTest::recordNumberEditTakesNoUserEdits() {
    FieldEdit edit(Kind::RecordNumber, 6);
    QVERIFY(edit.isReadOnly());
    QVERIFY(!edit.focusOnHover());
    prepare(edit, u"12"_s, 2, 0);
    Events events;
    events.attach(edit);

    QTest::keyClick(&edit, Qt::Key_3);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    QGuiApplication::clipboard()->setText(u"9"_s);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    const std::unique_ptr<QMenu> menu = edit.createEditMenu();
    QVERIFY(!menu->findChild<QAction*>(u"paste"_s)->isEnabled());
    QVERIFY(!menu->findChild<QAction*>(u"cut"_s)->isEnabled());

    QCOMPARE(edit.fieldText(), u"12"_s);
    QCOMPARE(events.modified + events.change, 0);

    // The program still shows the record number.
    edit.setFieldText(u"13"_s);
    QCOMPARE(events.change, 1);
}

void FieldEditTest::inputMethodCommitsAreFiltered() {
    FieldEdit name(Kind::Name, 29);
    Events events;
    events.attach(name);
    QInputMethodEvent compose(u"é"_s, {});
    QApplication::sendEvent(&name, &compose);
    QCOMPARE(name.fieldText(), QString());
    QInputMethodEvent commit;
    commit.setCommitString(u"é"_s);
    QApplication::sendEvent(&name, &commit);
    QCOMPARE(name.fieldText(), u"é"_s);
    QCOMPARE(events.change, 1);

    FieldEdit number(Kind::Integer, 6);
    QInputMethodEvent letters;
    letters.setCommitString(u"x"_s);
    QApplication::sendEvent(&number, &letters);
    QInputMethodEvent digits;
    digits.setCommitString(u"42"_s);
    QApplication::sendEvent(&number, &digits);
    QCOMPARE(number.fieldText(), u"42"_s);
}

void FieldEditTest::setFieldTextCutsAndRaisesOnlyChange() {
    FieldEdit integer(Kind::Integer, 6);
    Events events;
    events.attach(integer);
    integer.setFieldText(u"4294967295"_s);
    QCOMPARE(integer.fieldText(), u"429496"_s);
    QCOMPARE(integer.cursorPosition(), 0);
    QVERIFY(!integer.hasSelectedText());
    QCOMPARE(events.change, 1);
    QCOMPARE(events.modified, 0);
    QVERIFY(!integer.modifiedFlag());

    integer.setFieldText(u"429496"_s);
    QCOMPARE(events.change, 1);

    // A set flag stays set.
    integer.setModifiedFlag(true);
    integer.setFieldText(u"0"_s);
    QVERIFY(integer.modifiedFlag());

    FieldEdit decimal(Kind::Decimal, 11);
    decimal.setFieldText(u"123456789.125"_s);
    QCOMPARE(decimal.fieldText(), u"123456789.1"_s);
}

void FieldEditTest::modifiedFlagRaisesOnEveryChange() {
    FieldEdit edit(Kind::Integer, 6);
    QList<bool> seen;
    edit.onModified = [&seen](FieldEdit& e) { seen.append(e.modifiedFlag()); };
    edit.setModifiedFlag(true);
    edit.setModifiedFlag(true);
    edit.setModifiedFlag(false);
    edit.setModifiedFlag(false);
    QCOMPARE(seen, (QList<bool>{true, false}));
}

void FieldEditTest::handlersMayActOnTheirOwnEdit() {
    FieldEdit edit(Kind::Integer, 6);
    QList<bool> seen;
    edit.onModified = [&seen](FieldEdit& e) {
        seen.append(e.modifiedFlag());
        if (e.modifiedFlag())
            e.setModifiedFlag(false);
    };
    int changes = 0;
    edit.onChange = [&changes](FieldEdit& e) {
        ++changes;
        // An emptied field is shown as 0 again; setting the same text raises nothing.
        if (e.fieldText().isEmpty())
            e.setFieldText(u"0"_s);
    };

    QTest::keyClick(&edit, Qt::Key_5);
    QCOMPARE(seen, (QList<bool>{true, false}));
    QVERIFY(!edit.modifiedFlag());
    QCOMPARE(changes, 1);

    // Flag is false again, so the next keystroke raises the modified event once more.
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(seen, (QList<bool>{true, false, true, false}));
    QCOMPARE(edit.fieldText(), u"0"_s);
    QCOMPARE(changes, 3); // the user's action, then the nested program change
}

void FieldEditTest::errorInHandlerAbandonsTheAction() {
    testsupport::ReportedErrors reporter;
    FieldEdit edit(Kind::Integer, 6);
    int changes = 0;
    edit.onModified = [](FieldEdit&) { throw std::runtime_error("'x' is not a valid integer"); };
    edit.onChange = [&changes](FieldEdit&) { ++changes; };

    QTest::keyClick(&edit, Qt::Key_5);
    QCOMPARE(reporter.count(), 1);
    QCOMPARE(reporter.last(), u"'x' is not a valid integer"_s);
    QCOMPARE(changes, 0); // the step after the failing handler never ran

    // From a nested handler: the error passes through the program call to the one catch.
    FieldEdit other(Kind::Integer, 6);
    other.onChange = [](FieldEdit&) { throw std::runtime_error("nested"); };
    int afterNested = 0;
    FieldEdit source(Kind::Integer, 6);
    source.onChange = [&](FieldEdit&) {
        other.setFieldText(u"1"_s);
        ++afterNested;
    };
    QTest::keyClick(&source, Qt::Key_7);
    QCOMPARE(reporter.count(), 2);
    QCOMPARE(reporter.last(), u"nested"_s);
    QCOMPARE(afterNested, 0);

    // Program calls let the error reach their caller.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, other.setFieldText(u"2"_s));
    QCOMPARE(reporter.count(), 2);
}

void FieldEditTest::focusSelectsAllAndHoverTakesFocus() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* first = new FieldEdit(Kind::Integer, 6);
    auto* second = new FieldEdit(Kind::Integer, 6);
    auto* number = new FieldEdit(Kind::RecordNumber, 6);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(number);
    first->setFieldText(u"111"_s);
    second->setFieldText(u"222"_s);
    number->setFieldText(u"3"_s);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // The window's first edit takes the focus when it opens, with its text selected.
    QVERIFY(first->hasFocus());
    QCOMPARE(first->selectedText(), u"111"_s);
    first->setCursorPosition(1);
    second->setFocus(Qt::TabFocusReason);
    QCOMPARE(second->selectedText(), u"222"_s);
    first->setFocus(Qt::BacktabFocusReason);
    QCOMPARE(first->selectedText(), u"111"_s);

    // A click that brings the focus ends with the whole text selected.
    QTest::mouseClick(number, Qt::LeftButton, {}, QPoint(2, number->height() / 2));
    QVERIFY(number->hasFocus());
    QCOMPARE(number->selectedText(), u"3"_s);
    // A further click places the caret as usual.
    QTest::mouseClick(number, Qt::LeftButton, {}, QPoint(2, number->height() / 2));
    QVERIFY(!number->hasSelectedText());

    // Moving onto an edit gives it the focus, but not to the record number.
    QEnterEvent enterSecond(QPointF(2, 2), QPointF(2, 2), second->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(second, &enterSecond);
    QVERIFY(second->hasFocus());
    QCOMPARE(second->selectedText(), u"222"_s);
    QEnterEvent enterNumber(QPointF(2, 2), QPointF(2, 2), number->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(number, &enterNumber);
    QVERIFY(second->hasFocus());
}

void FieldEditTest::dropsAreRefused() {
    FieldEdit edit(Kind::Name, 29);
    QVERIFY(!edit.acceptDrops());
    QMimeData data;
    data.setText(u"dropped"_s);
    QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&edit, &drop);
    QCOMPARE(edit.fieldText(), QString());
    QVERIFY(!drop.isAccepted());
}

QTEST_MAIN(FieldEditTest)
#include "field_edit_test.moc"

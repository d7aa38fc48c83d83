// Layout facts of the three windows: every control at its place with its caption, limit,
// accessible name and state, the tab order, the menus, and the handlers the layout binds. The
// editor window's field controls come from the record view's table.

#include "document/field_table.h"
#include "editor/record_view.h"
#include "tests/support/reported_errors.h"
#include "ui/artwork/artwork.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/glyph_button.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/controls/record_list.h"
#include "ui/forms/editor_form.h"
#include "ui/forms/notes_form.h"
#include "ui/forms/start_form.h"
#include "ui/user_action.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <memory>
#include <stdexcept>

using ui::FieldEdit;
using namespace Qt::StringLiterals;

namespace {

QString kindOf(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const FieldEdit*>(widget)) {
        switch (edit->kind()) {
        case FieldEdit::Kind::Integer:
            return QStringLiteral("integer edit");
        case FieldEdit::Kind::Decimal:
            return QStringLiteral("decimal edit");
        case FieldEdit::Kind::Name:
            return QStringLiteral("name edit");
        case FieldEdit::Kind::RecordNumber:
            return QStringLiteral("record-number edit");
        }
    }
    return QString::fromLatin1(widget->metaObject()->className());
}

QString captionOf(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(widget))
        return memo->toPlainText();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget))
        return spin->text();
    return {};
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QStringList names(const QList<QWidget*>& widgets) {
    QStringList result;
    for (const QWidget* widget : widgets)
        result << (widget ? widget->objectName() : QStringLiteral("(none)"));
    return result;
}

// Presses Tab from the focused control and collects where the focus goes, until it comes back.
QStringList tabCycle(QWidget* window, QWidget* start) {
    start->setFocus(Qt::OtherFocusReason);
    QList<QWidget*> visited{QApplication::focusWidget()};
    for (int i = 0; i < 60; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == start || !now || !window->isAncestorOf(now))
            break;
        visited << now;
    }
    return names(visited);
}

struct Calls {
    int modified5 = 0;
    int modified4 = 0;
    int me1Change = 0;
    int cb1 = 0;
    int cb2 = 0;
    int list = 0;
    int open = 0;
    int save = 0;
    int notes = 0;
    int about = 0;
    int button1 = 0;
    int button3 = 0;
    int button4 = 0;
    int button7 = 0;
    QList<QObject*> addSenders;
    QList<FieldEdit*> modifiedSenders;
};

class RecordingEditor : public ui::EditorForm {
public:
    RecordingEditor() : ui::EditorForm(editor::kRecordViewControls) {}
    Calls calls;
    bool refuseClose = false;

protected:
    void FormClose() override {
        if (refuseClose)
            throw std::runtime_error("Disk full");
    }
    void Open1Click() override { ++calls.open; }
    void Save1Click() override { ++calls.save; }
    void Notes1Click() override { ++calls.notes; }
    void About1Click() override { ++calls.about; }
    void LMDLB1Click() override { ++calls.list; }
    void ME1Change(FieldEdit&) override { ++calls.me1Change; }
    void ME4Modified(FieldEdit&) override { ++calls.modified4; }
    void ME5Modified(FieldEdit& sender) override {
        ++calls.modified5;
        calls.modifiedSenders << &sender;
    }
    void cb1Change(ui::FlagCheckBox&) override { ++calls.cb1; }
    void cb2Change(ui::FlagCheckBox&) override { ++calls.cb2; }
    void LMDButton1Click() override { ++calls.button1; }
    void LMDButton2Click(QObject* sender) override { calls.addSenders << sender; }
    void LMDButton3Click() override { ++calls.button3; }
    void LMDButton4Click() override { ++calls.button4; }
    void LMDButton7Click() override { ++calls.button7; }
};

class RecordingStart : public ui::StartForm {
public:
    int clicks = 0;

protected:
    void Button5Click() override { ++clicks; }
};

class RecordingNotes : public ui::NotesForm {
public:
    int saves = 0;
    int fonts = 0;

protected:
    void Save1Click() override { ++saves; }
    void Font1Click() override { ++fonts; }
};

} // namespace

class TestForms : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void controls_data();
    void controls();
    void windows();
    void menus();
    void editorTabOrder();
    void startAndNotesTabOrder();
    void look();
    void editorHandlersAreBound();
    void startAndNotesHandlersAreBound();
    void closeStaysOpenWhenFormCloseFails();
    void recordViewControlsMatchTheirFields();

private:
    QWidget* window(const QString& name, bool working) const;

    std::unique_ptr<ui::EditorForm> m_initial;
    std::unique_ptr<ui::EditorForm> m_working;
    std::unique_ptr<ui::StartForm> m_start;
    std::unique_ptr<ui::NotesForm> m_notes;
};

void TestForms::initTestCase() {
    m_initial = std::make_unique<ui::EditorForm>(editor::kRecordViewControls);
    m_working = std::make_unique<ui::EditorForm>(editor::kRecordViewControls);
    m_working->applyWorkingLayout();
    m_start = std::make_unique<ui::StartForm>();
    m_notes = std::make_unique<ui::NotesForm>();
}

void TestForms::cleanupTestCase() {
    m_initial.reset();
    m_working.reset();
    m_start.reset();
    m_notes.reset();
}

QWidget* TestForms::window(const QString& name, bool working) const {
    if (name == QLatin1String("start"))
        return m_start.get();
    if (name == QLatin1String("notes"))
        return m_notes.get();
    return working ? m_working.get() : m_initial.get();
}

// One row per control. Geometry is relative to the parent named in the row; visible and enabled
// are given for the first layout and for the working layout (the same for start and notes).
void TestForms::controls_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<QString>("accessible");
    QTest::addColumn<bool>("initialVisible");
    QTest::addColumn<bool>("initialEnabled");
    QTest::addColumn<bool>("workingVisible");
    QTest::addColumn<bool>("workingEnabled");

    const QString editor = QStringLiteral("editor");
    const QString client = QStringLiteral("ClientArea");
    const QString label = QStringLiteral("QLabel");
    const QString shadowLabel = QStringLiteral("ui::ShadowLabel");
    const QString group = QStringLiteral("ui::FieldGroup");
    const QString glyphButton = QStringLiteral("ui::GlyphButton");
    const QString integer = QStringLiteral("integer edit");
    const QString decimal = QStringLiteral("decimal edit");
    const QString none;

    const auto row = [](const char* id, const QString& window, const QString& kind,
                        const QString& parent, QRect geometry, const QString& caption,
                        int maxLength, const QString& accessible, bool initialVisible,
                        bool initialEnabled, bool workingVisible, bool workingEnabled) {
        QTest::newRow(id) << window << kind << parent << geometry << caption << maxLength
                          << accessible << initialVisible << initialEnabled << workingVisible
                          << workingEnabled;
    };
    // A label or edit inside a group: shown with its group, always enabled.
    const auto inGroup = [&](const char* id, const QString& kind, const char* groupName,
                             QRect geometry, const QString& caption, int maxLength,
                             const QString& accessible) {
        row(id, editor, kind, QString::fromLatin1(groupName), geometry, caption, maxLength,
            accessible, false, true, true, true);
    };
    const auto field = [&](const char* labelId, const char* editId, const QString& kind,
                           const char* groupName, int top, int labelWidth, int editLeft,
                           const char* caption) {
        const QString text = QString::fromLatin1(caption);
        inGroup(labelId, label, groupName, {8, top, labelWidth, 15}, text, -1, none);
        inGroup(editId, kind, groupName, {editLeft, top, 65, 17}, QStringLiteral("0"), 11, text);
    };

    // Window-level controls.
    row("LMDLabel1", editor, shadowLabel, client, {8, 0, 265, 20}, QStringLiteral("Object Listing"),
        -1, none, false, true, true, true);
    row("LMDLabelFill1", editor, shadowLabel, client, {8, 24, 641, 129},
        QStringLiteral("Come and visit the\nLumenfield."), -1, none, true, true, false, true);
    row("LMDLB1", editor, QStringLiteral("ui::RecordList"), client, {8, 24, 265, 377}, none, -1,
        QStringLiteral("Object Listing"), false, true, true, true);
    row("LMDGroupBox1", editor, group, client, {288, 8, 137, 217},
        QStringLiteral("Basic Information"), -1, none, false, true, true, true);
    row("LMDGroupBox2", editor, group, client, {288, 232, 137, 169},
        QStringLiteral("Shape Size Data"), -1, none, false, true, true, true);
    row("LMDGroupBox3", editor, group, client, {488, 8, 145, 217},
        QStringLiteral("Site Range Data"), -1, none, false, true, true, true);
    row("LMDGroupBox4", editor, group, client, {488, 232, 145, 169},
        QStringLiteral("Shadow Size Data"), -1, none, false, true, true, true);
    row("LMDGroupBox5", editor, group, client, {288, 408, 345, 73}, QStringLiteral("Scale Factors"),
        -1, none, false, true, true, true);
    row("LMDButton1", editor, QStringLiteral("QPushButton"), client, {152, 520, 89, 33},
        QStringLiteral("Get Records"), -1, none, false, false, false, false);
    row("LMDButton2", editor, glyphButton, client, {8, 424, 129, 25}, QStringLiteral("Add Record"),
        -1, QStringLiteral("Add Record"), false, false, true, true);
    row("LMDButton3", editor, glyphButton, client, {424, 240, 65, 97},
        QStringLiteral("Shape Data to Shadow Data"), -1, none, false, false, true, true);
    row("LMDButton4", editor, glyphButton, client, {152, 424, 121, 25},
        QStringLiteral("Clear Record"), -1, none, false, false, true, true);
    row("LMDButton5", editor, glyphButton, client, {8, 456, 129, 25},
        QStringLiteral("Delete Record"), -1, none, false, false, true, false);
    row("LMDButton6", editor, glyphButton, client, {152, 456, 121, 25},
        QStringLiteral("Show Object"), -1, none, false, false, true, false);

    // Basic Information.
    inGroup("LMDSimpleLabel1", label, "LMDGroupBox1", {8, 24, 47, 15}, QStringLiteral("Record#:"),
            -1, none);
    inGroup("ME1", QStringLiteral("record-number edit"), "LMDGroupBox1", {56, 24, 65, 17},
            QStringLiteral("0"), 6, QStringLiteral("Record#:"));
    field("LMDSimpleLabel2", "ME2", integer, "LMDGroupBox1", 48, 30, 56, "Class:");
    field("LMDSimpleLabel3", "ME3", integer, "LMDGroupBox1", 72, 29, 56, "Type:");
    inGroup("LMDSimpleLabel4", label, "LMDGroupBox1", {8, 96, 67, 15},
            QStringLiteral("Object Name:"), -1, none);
    inGroup("me4", QStringLiteral("name edit"), "LMDGroupBox1", {8, 112, 113, 25}, none, 29,
            QStringLiteral("Object Name:"));
    field("LMDSimpleLabel5", "ME5", integer, "LMDGroupBox1", 144, 45, 56, "Damage:");
    inGroup("cb1", QStringLiteral("ui::FlagCheckBox"), "LMDGroupBox1", {8, 168, 113, 17},
            QStringLiteral("Has Shadow:"), -1, QStringLiteral("Has Shadow:"));
    inGroup("cb2", QStringLiteral("ui::FlagCheckBox"), "LMDGroupBox1", {8, 192, 113, 17},
            QStringLiteral("Has Flame:"), -1, QStringLiteral("Has Flame:"));

    // Shape Size Data.
    field("LMDSimpleLabel6", "me6", decimal, "LMDGroupBox2", 24, 46, 56, "DX NEG:");
    field("LMDSimpleLabel7", "me7", decimal, "LMDGroupBox2", 48, 46, 56, "DY NEG:");
    field("LMDSimpleLabel8", "me8", decimal, "LMDGroupBox2", 72, 46, 56, "DZ NEG:");
    field("LMDSimpleLabel9", "me9", decimal, "LMDGroupBox2", 96, 45, 56, "DX POS:");
    field("LMDSimpleLabel10", "me10", decimal, "LMDGroupBox2", 120, 46, 56, "DY POS:");
    field("LMDSimpleLabel11", "me11", decimal, "LMDGroupBox2", 144, 45, 56, "DZ POS:");

    // Site Range Data: label numbers and field numbers do not follow the rows.
    field("LMDSimpleLabel23", "me12", integer, "LMDGroupBox3", 24, 60, 72, "Max Range:");
    field("LMDSimpleLabel22", "me13", integer, "LMDGroupBox3", 48, 50, 72, "Hi Range:");
    field("LMDSimpleLabel21", "me14", integer, "LMDGroupBox3", 72, 57, 72, "Mid Range:");
    field("LMDSimpleLabel20", "me15", integer, "LMDGroupBox3", 96, 60, 72, "Low Range:");
    field("LMDSimpleLabel19", "me16", integer, "LMDGroupBox3", 120, 57, 72, "Dot Range:");
    field("LMDSimpleLabel18", "me17", integer, "LMDGroupBox3", 144, 49, 72, "Dot Color:");
    field("LMDSimpleLabel24", "me18", integer, "LMDGroupBox3", 168, 47, 72, "Distance:");
    field("LMDSimpleLabel25", "me19", integer, "LMDGroupBox3", 192, 46, 72, "Multiplier:");

    // Shadow Size Data.
    field("LMDSimpleLabel13", "me20", decimal, "LMDGroupBox4", 24, 45, 56, "SX NEG:");
    field("LMDSimpleLabel12", "me21", decimal, "LMDGroupBox4", 48, 45, 56, "SY NEG:");
    field("LMDSimpleLabel14", "me22", decimal, "LMDGroupBox4", 72, 45, 56, "SZ NEG:");
    field("LMDSimpleLabel15", "me23", decimal, "LMDGroupBox4", 96, 44, 56, "SX POS:");
    field("LMDSimpleLabel16", "me24", decimal, "LMDGroupBox4", 120, 46, 56, "SY POS:");
    field("LMDSimpleLabel17", "me25", decimal, "LMDGroupBox4", 144, 44, 56, "SZ POS:");

    // Scale Factors.
    inGroup("LMDSimpleLabel26", label, "LMDGroupBox5", {16, 24, 73, 15},
            QStringLiteral("Size Scale %"), -1, none);
    row("LMDSE1", editor, QStringLiteral("ui::PercentSpinBox"), QStringLiteral("LMDGroupBox5"),
        {16, 40, 73, 21}, QStringLiteral("10"), -1, QStringLiteral("Size Scale %"), false, false,
        true, true);
    row("LMDButton7", editor, glyphButton, QStringLiteral("LMDGroupBox5"), {248, 16, 81, 49},
        QStringLiteral("Apply to All Objects"), -1, none, false, false, true, true);
    inGroup("LMDSimpleLabel27", label, "LMDGroupBox5", {120, 24, 81, 15},
            QStringLiteral("Damage Scale %"), -1, none);
    row("LMDSE2", editor, QStringLiteral("ui::PercentSpinBox"), QStringLiteral("LMDGroupBox5"),
        {120, 40, 81, 21}, QStringLiteral("10"), -1, QStringLiteral("Damage Scale %"), false, false,
        true, true);

    // Start window.
    const QString start = QStringLiteral("start");
    const QString memoText =
        QStringLiteral("Use this editor at your own risk.\n"
                       "Make a backup of all of your OBJDAT.dat files before using this tool.\n"
                       "Enter data carefully, there is limited (if any) range checking \n"
                       "and bad data can cause Corvane to crash.\n"
                       "Remember to SAVE when you are done with all of your \n"
                       "changes to the file.\n"
                       "Good luck!\n"
                       "\n"
                       "Brannock");
    row("Memo1", start, QStringLiteral("QPlainTextEdit"), QStringLiteral("Form1"), {8, 0, 353, 153},
        memoText, -1, none, true, true, true, true);
    row("Button5", start, QStringLiteral("QPushButton"), QStringLiteral("Form1"),
        {80, 160, 201, 25}, QStringLiteral("Click to Open File Editor"), -1,
        QStringLiteral("Click to Open File Editor"), true, true, true, true);
}

void TestForms::controls() {
    QFETCH(QString, window);
    QFETCH(QString, kind);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(int, maxLength);
    QFETCH(QString, accessible);
    QFETCH(bool, initialVisible);
    QFETCH(bool, initialEnabled);
    QFETCH(bool, workingVisible);
    QFETCH(bool, workingEnabled);
    const QString id = QString::fromLatin1(QTest::currentDataTag());

    for (const bool working : {false, true}) {
        QWidget* form = this->window(window, working);
        auto* control = form->findChild<QWidget*>(id);
        QVERIFY2(control, qPrintable(id));
        QCOMPARE(kindOf(control), kind);
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(captionOf(control), caption);
        if (maxLength >= 0)
            QCOMPARE(qobject_cast<QLineEdit*>(control)->maxLength(), maxLength);
        if (!accessible.isEmpty())
            QCOMPARE(accessibleName(control), accessible);
        QCOMPARE(control->isVisibleTo(form), working ? workingVisible : initialVisible);
        QCOMPARE(control->isEnabled(), working ? workingEnabled : initialEnabled);
    }
}

void TestForms::windows() {
    ui::EditorForm& editor = *m_initial;
    QCOMPARE(editor.windowTitle(), QStringLiteral("Corvane Object Data Editor"));
    QCOMPARE(editor.pos(), QPoint(391, 240));
    QCOMPARE(editor.centralWidget(), editor.clientArea);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.clientArea->size(), QSize(667, 488));
    QCOMPARE(editor.clientArea->y(), editor.menuBar()->height());
    // Fixed border: minimum and maximum are the size itself.
    QCOMPARE(editor.minimumSize(), editor.size());
    QCOMPARE(editor.maximumSize(), editor.size());
    QCOMPARE(editor.size(), QSize(667, 488 + editor.menuBar()->height()));
    QCOMPARE(editor.font().pixelSize(), 11);
    editor.hide();

    ui::StartForm& start = *m_start;
    QCOMPARE(start.windowTitle(), QStringLiteral("Corvane OBJDAT File Editor 3.0"));
    QCOMPARE(start.minimumSize(), QSize(370, 192));
    QCOMPARE(start.maximumSize(), QSize(370, 192));
    const Qt::WindowFlags flags = start.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(start.Memo1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(start.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(start.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!start.Memo1->isReadOnly());

    ui::NotesForm& notes = *m_notes;
    QCOMPARE(notes.windowTitle(), QStringLiteral("Corvane Object Editor Notebook"));
    notes.show();
    QVERIFY(QTest::qWaitForWindowExposed(&notes));
    QCOMPARE(notes.centralWidget(), notes.RichEdit1);
    QCOMPARE(notes.RichEdit1->size(), QSize(448, 184));
    QVERIFY(notes.maximumWidth() > notes.width()); // sizeable
    notes.resize(600, 400);
    QTRY_COMPARE(notes.RichEdit1->width(), 600);
    QCOMPARE(notes.RichEdit1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(notes.RichEdit1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(notes.font().pixelSize(), 11);
    notes.hide();

    // The same 32 x 32 icon on every window.
    QCOMPARE(ui::artwork::programIcon().size(), QSize(32, 32));
    for (QWidget* form : {static_cast<QWidget*>(&editor), static_cast<QWidget*>(&start),
                          static_cast<QWidget*>(&notes)}) {
        const QIcon icon = form->windowIcon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
                 ui::artwork::programIcon().toImage().convertToFormat(QImage::Format_ARGB32));
    }
}

void TestForms::menus() {
    ui::EditorForm& editor = *m_initial;
    // The four items straight on the bar, and "Edit" after "Save", the one with a sub-menu.
    QCOMPARE(editor.menuBar()->actions(),
             (QList<QAction*>{editor.Open1, editor.Save1, editor.Edit1->menuAction(), editor.Notes1,
                              editor.About1}));
    const QList<QAction*> given{editor.Open1, editor.Save1, editor.Notes1, editor.About1};
    const QStringList captions{QStringLiteral("Open"), QStringLiteral("Save"),
                               QStringLiteral("Notes"), QStringLiteral("About")};
    const QStringList identifiers{QStringLiteral("Open1"), QStringLiteral("Save1"),
                                  QStringLiteral("Notes1"), QStringLiteral("About1")};
    for (int i = 0; i < 4; ++i) {
        QAction* item = given.at(i);
        QCOMPARE(item->text(), captions.at(i));
        QCOMPARE(item->objectName(), identifiers.at(i));
        QVERIFY(!item->menu());
        QCOMPARE(item->isEnabled(), item != editor.Save1);
    }
    QCOMPARE(editor.Edit1->title(), QStringLiteral("Edit"));
    QStringList editItems;
    for (QAction* item : editor.Edit1->actions()) {
        if (item->isSeparator())
            continue;
        editItems << item->text() + u' ' + item->shortcut().toString();
        QVERIFY(!item->isEnabled()); // nothing to act on before an open
    }
    QCOMPARE(editItems, (QStringList{u"Undo Ctrl+Z"_s, u"Redo Ctrl+Shift+Z"_s,
                                     u"Find Record... Ctrl+F"_s, u"Find Next F3"_s,
                                     u"Find Previous Shift+F3"_s, u"Go to Record... Ctrl+G"_s,
                                     u"Copy Record Ctrl+C"_s, u"Paste into Record Ctrl+V"_s,
                                     u"Table View Ctrl+T"_s, u"Compare With... "_s}));
    // The working layout leaves "Save" to the edits.
    QVERIFY(!m_working->Save1->isEnabled());

    ui::NotesForm& notes = *m_notes;
    QCOMPARE(notes.menuBar()->actions(), (QList<QAction*>{notes.Save1, notes.Font1}));
    QCOMPARE(notes.Save1->text(), QStringLiteral("Save"));
    QCOMPARE(notes.Font1->text(), QStringLiteral("Font"));
    QVERIFY(notes.Save1->isEnabled());
    QVERIFY(notes.Font1->isEnabled());
}

void TestForms::editorTabOrder() {
    // First layout: nothing but the menu, so Tab finds no control.
    ui::EditorForm& initial = *m_initial;
    initial.show();
    QVERIFY(QTest::qWaitForWindowExposed(&initial));
    initial.activateWindow();
    QTest::keyClick(&initial, Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY2(!focus || !focus->isVisible() || focus == &initial,
             qPrintable(focus ? focus->objectName() : QString()));
    initial.hide();

    // Working layout: list, the four groups row by row, the enabled buttons, then Scale Factors;
    // the hidden "Get Records" and the disabled buttons are skipped.
    ui::EditorForm& working = *m_working;
    working.show();
    QVERIFY(QTest::qWaitForWindowExposed(&working));
    working.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&working));
    const QStringList expected =
        QStringLiteral("LMDLB1 ME1 ME2 ME3 me4 ME5 cb1 cb2 "
                       "me6 me7 me8 me9 me10 me11 "
                       "me12 me13 me14 me15 me16 me17 me18 me19 "
                       "me20 me21 me22 me23 me24 me25 "
                       "LMDButton2 LMDButton3 LMDButton4 LMDSE1 LMDButton7 LMDSE2")
            .split(QLatin1Char(' '));
    QCOMPARE(tabCycle(&working, working.LMDLB1), expected);
    working.hide();
}

void TestForms::startAndNotesTabOrder() {
    ui::StartForm& start = *m_start;
    start.show();
    QVERIFY(QTest::qWaitForWindowActive(&start));
    QCOMPARE(QApplication::focusWidget(), start.Button5);
    QTest::keyClick(start.Button5, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), start.Memo1);
    QTest::keyClick(start.Memo1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), start.Button5);
    start.hide();
}

void TestForms::look() {
    ui::EditorForm& editor = *m_initial;
    const QFont banner = editor.LMDLabelFill1->font();
    QCOMPARE(banner.pixelSize(), 43);
    QVERIFY(banner.italic());
    QVERIFY(banner.weight() >= QFont::Bold);
    QCOMPARE(editor.LMDLabelFill1->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QCOMPARE(editor.LMDLabelFill1->alignment(), Qt::AlignCenter);
    QVERIFY(!editor.LMDLabelFill1->autoFillBackground());
    QCOMPARE(editor.LMDLabel1->font().pixelSize(), 13);
    QVERIFY(editor.LMDLabel1->font().bold());

    // Glyph strips: enabled and disabled images side by side, and they differ.
    using ui::GlyphButton;
    for (QPushButton* button : {editor.LMDButton2, editor.LMDButton3, editor.LMDButton4,
                                editor.LMDButton5, editor.LMDButton6}) {
        const auto* glyphButton = qobject_cast<GlyphButton*>(button);
        QVERIFY(glyphButton);
        const QImage strip = glyphButton->glyph().toImage();
        QCOMPARE(strip.size(), QSize(32, 16));
        QVERIFY(strip.copy(0, 0, 16, 16) != strip.copy(16, 0, 16, 16));
        QCOMPARE(glyphButton->glyphPlace(), button == editor.LMDButton3
                                                ? GlyphButton::GlyphPlace::Above
                                                : GlyphButton::GlyphPlace::Left);
        QCOMPARE(button->font().pixelSize(), 13);
        QVERIFY(button->font().bold());
    }
    QVERIFY(editor.LMDButton3->font().families().startsWith(QStringLiteral("Tahoma")));

    // The record number is shown, never typed into, and does not take the focus on hover.
    QVERIFY(editor.ME1->isReadOnly());
    QCOMPARE(editor.ME1->palette().color(QPalette::Base),
             editor.ME1->palette().color(QPalette::Button));

    // Check boxes: caption first, then the box five pixels on.
    ui::FlagCheckBox* box = editor.cb1;
    const QRect caption = box->captionRect();
    const QRect indicator = box->indicatorRect();
    QCOMPARE(caption.left(), 0);
    QCOMPARE(indicator.left() - caption.right() - 1, 5);
    QVERIFY(indicator.right() < box->width());
}

void TestForms::editorHandlersAreBound() {
    RecordingEditor form;
    form.applyWorkingLayout();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    // Typing into the edits raises their modified events, each edit as its own sender.
    form.ME2->setFocus();
    QTest::keyClick(form.ME2, Qt::Key_7);
    QVERIFY(form.calls.modified5 >= 1);
    QVERIFY(form.calls.modifiedSenders.contains(form.ME2));
    form.me19->setFocus();
    QTest::keyClick(form.me19, Qt::Key_1);
    QVERIFY(form.calls.modifiedSenders.contains(form.me19));
    QCOMPARE(form.calls.modified4, 0);
    form.me4->setFocus();
    QTest::keyClick(form.me4, Qt::Key_A);
    QVERIFY(form.calls.modified4 >= 1);
    QVERIFY(!form.calls.modifiedSenders.contains(form.me4));

    form.ME1->setFieldText(QStringLiteral("12"));
    QCOMPARE(form.calls.me1Change, 1);

    QTest::mouseClick(form.cb1, Qt::LeftButton);
    QCOMPARE(form.calls.cb1, 1);
    QCOMPARE(form.calls.cb2, 0);
    form.cb2->setFocus();
    QTest::keyClick(form.cb2, Qt::Key_Space);
    QCOMPARE(form.calls.cb2, 1);

    form.Open1->trigger();
    form.Notes1->trigger();
    form.About1->trigger();
    QCOMPARE(form.calls.open, 1);
    QCOMPARE(form.calls.notes, 1);
    QCOMPARE(form.calls.about, 1);
    form.Save1->setEnabled(true);
    form.Save1->trigger();
    QCOMPARE(form.calls.save, 1);

    // "Show Object" runs the Add Record handler too, with itself as the sender.
    QTest::mouseClick(form.LMDButton2, Qt::LeftButton);
    form.LMDButton6->setEnabled(true);
    QTest::mouseClick(form.LMDButton6, Qt::LeftButton);
    QCOMPARE(form.calls.addSenders,
             (QList<QObject*>{form.LMDButton2, static_cast<QObject*>(form.LMDButton6)}));
    QTest::mouseClick(form.LMDButton3, Qt::LeftButton);
    QTest::mouseClick(form.LMDButton4, Qt::LeftButton);
    QTest::mouseClick(form.LMDButton7, Qt::LeftButton);
    form.LMDButton1->click(); // hidden, pressed by the program itself
    QCOMPARE(form.calls.button3, 1);
    QCOMPARE(form.calls.button4, 1);
    QCOMPARE(form.calls.button7, 1);
    QCOMPARE(form.calls.button1, 0); // disabled: click() does nothing
    form.LMDButton1->setEnabled(true);
    form.LMDButton1->click();
    QCOMPARE(form.calls.button1, 1);

    // The list reports a user selection.
    form.LMDLB1->appendRow(QStringLiteral("0;1;2;First"));
    form.LMDLB1->appendRow(QStringLiteral("1;1;2;Second"));
    QTest::qWait(0);
    QCOMPARE(form.calls.list, 0);
    form.LMDLB1->setFocus();
    QTest::keyClick(form.LMDLB1, Qt::Key_Down);
    QVERIFY(form.calls.list >= 1);
}

void TestForms::startAndNotesHandlersAreBound() {
    RecordingStart start;
    start.show();
    QVERIFY(QTest::qWaitForWindowExposed(&start));
    QTest::mouseClick(start.Button5, Qt::LeftButton);
    QCOMPARE(start.clicks, 1);

    RecordingNotes notes;
    notes.Save1->trigger();
    notes.Font1->trigger();
    notes.Font1->trigger();
    QCOMPARE(notes.saves, 1);
    QCOMPARE(notes.fonts, 2);
}

void TestForms::closeStaysOpenWhenFormCloseFails() {
    testsupport::ReportedErrors reported;

    RecordingEditor form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.refuseClose = true;
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(reported.messages(), QStringList{QStringLiteral("Disk full")});

    form.refuseClose = false;
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCOMPARE(reported.count(), 1);
}

// Every control of the record view is the kind of control its field's type asks for, every field
// has exactly one control, and both orders name each field and the name once.
void TestForms::recordViewControlsMatchTheirFields() {
    ui::EditorForm& editor = *m_initial;
    QList<int> shown;
    for (const editor::RecordViewControl& control : editor::kRecordViewControls) {
        const QString id = QString::fromLatin1(control.id);
        QWidget* widget = editor.findChild<QWidget*>(id);
        QVERIFY2(widget, qPrintable(id));
        QString expected = QStringLiteral("record-number edit");
        if (control.part.isName()) {
            expected = QStringLiteral("name edit");
        } else if (control.part.isField()) {
            switch (doc::kFields[static_cast<std::size_t>(control.part.field())].type) {
            case doc::FieldType::Unsigned:
                expected = QStringLiteral("integer edit");
                break;
            case doc::FieldType::Float:
                expected = QStringLiteral("decimal edit");
                break;
            case doc::FieldType::Flag:
                expected = QStringLiteral("ui::FlagCheckBox");
                break;
            }
        }
        QCOMPARE(kindOf(widget), expected);
        if (!control.part.isWholeRecord())
            shown << control.part.code();
    }
    QList<int> everyField{doc::CellPart::name().code()};
    for (const doc::FieldInfo& field : doc::kFields)
        everyField << field.index;
    std::sort(shown.begin(), shown.end());
    std::sort(everyField.begin(), everyField.end());
    QCOMPARE(shown, everyField);
    for (const auto& order : {editor::kDisplayOrder, editor::kWriteBackOrder}) {
        QList<int> parts;
        for (const doc::CellPart part : order)
            parts << part.code();
        std::sort(parts.begin(), parts.end());
        QCOMPARE(parts, everyField);
    }
}

QTEST_MAIN(TestForms)
#include "forms_test.moc"

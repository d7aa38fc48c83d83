#include "ui/forms/editor_form.h"

#include "ui/artwork/artwork.h"
#include "ui/artwork/backdrop.h"
#include "ui/artwork/fonts.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/field_group.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/glyph_button.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/controls/record_list.h"
#include "ui/controls/shadow_label.h"
#include "ui/user_action.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

#include <initializer_list>

namespace ui {

namespace {

constexpr QSize kClientSize(667, 488);
constexpr QPoint kFirstPosition(391, 240);
constexpr int kRowHeight = 15; // labels beside the edits
constexpr int kEditWidth = 65;
constexpr int kEditHeight = 17;
constexpr int kFirstRowTop = 24;
constexpr int kRowPitch = 24;

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

// The caption boxes were measured for a narrower face than most stand-ins: squeeze the letters
// a little rather than cut a caption off.
void fitCaption(QLabel* label) {
    QFont font = label->font();
    for (int spacing = 100; spacing >= 80; spacing -= 2) {
        font.setLetterSpacing(QFont::PercentageSpacing, spacing);
        if (QFontMetrics(font).horizontalAdvance(label->text()) <= label->width()) {
            if (spacing != 100)
                label->setFont(font);
            return;
        }
    }
    label->setFont(font);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& box) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(latin(name));
    label->setGeometry(box);
    fitCaption(label);
    return label;
}

/** Places one record-view control into its group, beside (or under) its caption. */
QWidget* makeFieldControl(EditorForm& form, QWidget* group, int editLeft,
                          const RecordViewControl& spec) {
    const int top = kFirstRowTop + kRowPitch * spec.row;
    const QString caption = EditorForm::tr(spec.caption) + u':';
    if (spec.box) {
        auto* box = new FlagCheckBox(caption, group);
        box->setObjectName(latin(spec.id));
        box->setGeometry(8, top, 113, 17);
        box->setAccessibleName(caption);
        form.*spec.box = box;
        return box;
    }
    QLabel* label = makeLabel(group, spec.labelId, caption, {8, top, spec.labelWidth, kRowHeight});
    form.*spec.label = label;
    auto* edit = new FieldEdit(spec.kind, spec.maxLength, group);
    edit->setObjectName(latin(spec.id));
    // The name edit is the one control below its caption instead of beside it.
    edit->setGeometry(spec.kind == FieldEdit::Kind::Name
                          ? QRect(8, top + 16, 113, 25)
                          : QRect(editLeft, top, kEditWidth, kEditHeight));
    if (spec.kind != FieldEdit::Kind::Name)
        edit->setFieldText(QStringLiteral("0"));
    if (spec.kind == FieldEdit::Kind::RecordNumber) {
        QPalette border = edit->palette();
        border.setColor(QPalette::Base, border.color(QPalette::Button)); // the active-border grey
        edit->setPalette(border);
    }
    label->setBuddy(edit);
    edit->setAccessibleName(caption);
    form.*spec.edit = edit;
    return edit;
}

FieldGroup* makeGroup(QWidget* parent, const char* name, const char* caption, const QRect& box,
                      Qt::Alignment captionAlignment = Qt::AlignHCenter) {
    auto* group = new FieldGroup(latin(caption), captionAlignment, parent);
    group->setObjectName(latin(name));
    group->setGeometry(box);
    return group;
}

GlyphButton* makeButton(QWidget* parent, const char* name, const char* caption, const QRect& box,
                        const QFont& font) {
    auto* button = new GlyphButton(latin(caption), parent);
    button->setObjectName(latin(name));
    button->setGeometry(box);
    button->setFont(font);
    return button;
}

} // namespace

EditorForm::EditorForm(std::span<const RecordViewControl> recordView, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("Corvane Object Data Editor"));
    setWindowIcon(artwork::windowIcon());
    setFont(fonts::msSansSerif(11));

    // Menu bar: four items straight on the bar, no sub-menus, and "Edit" after "Save".
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto addItem = [&](const char* name, const QString& caption,
                             void (EditorForm::*handler)()) {
        QAction* item = bar->addAction(caption);
        item->setObjectName(latin(name));
        bindUserAction(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return item;
    };
    Open1 = addItem("Open1", tr("Open"), &EditorForm::Open1Click);
    Save1 = addItem("Save1", tr("Save"), &EditorForm::Save1Click);
    Edit1 = bar->addMenu(tr("Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->menuAction()->setObjectName(QStringLiteral("Edit1Item"));
    const auto addEditItem = [&](const char* name, const QString& caption,
                                 const QList<QKeySequence>& keys, void (EditorForm::*handler)()) {
        QAction* item = Edit1->addAction(caption);
        item->setObjectName(latin(name));
        item->setShortcuts(keys);
        item->setEnabled(false);
        bindUserAction(item, &QAction::triggered, this, [this, handler] { runEditItem(handler); });
        return item;
    };
    Undo1 = addEditItem("Undo1", tr("Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
                        &EditorForm::Undo1Click);
    Redo1 = addEditItem(
        "Redo1", tr("Redo"),
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        &EditorForm::Redo1Click);
    Edit1->addSeparator();
    FindRecord1 = addEditItem("FindRecord1", tr("Find Record..."),
                              {QKeySequence(Qt::CTRL | Qt::Key_F)}, &EditorForm::FindRecord1Click);
    FindNext1 = addEditItem("FindNext1", tr("Find Next"), {QKeySequence(Qt::Key_F3)},
                            &EditorForm::FindNext1Click);
    FindPrevious1 =
        addEditItem("FindPrevious1", tr("Find Previous"), {QKeySequence(Qt::SHIFT | Qt::Key_F3)},
                    &EditorForm::FindPrevious1Click);
    GoToRecord1 = addEditItem("GoToRecord1", tr("Go to Record..."),
                              {QKeySequence(Qt::CTRL | Qt::Key_G)}, &EditorForm::GoToRecord1Click);
    Edit1->addSeparator();
    CopyRecord1 = addEditItem("CopyRecord1", tr("Copy Record"),
                              {QKeySequence(Qt::CTRL | Qt::Key_C)}, &EditorForm::CopyRecord1Click);
    PasteIntoRecord1 =
        addEditItem("PasteIntoRecord1", tr("Paste into Record"),
                    {QKeySequence(Qt::CTRL | Qt::Key_V)}, &EditorForm::PasteIntoRecord1Click);
    Edit1->addSeparator();
    TableView1 = addEditItem("TableView1", tr("Table View"), {QKeySequence(Qt::CTRL | Qt::Key_T)},
                             &EditorForm::TableView1Click);
    CompareWith1 =
        addEditItem("CompareWith1", tr("Compare With..."), {}, &EditorForm::CompareWith1Click);
    Notes1 = addItem("Notes1", tr("Notes"), &EditorForm::Notes1Click);
    About1 = addItem("About1", tr("About"), &EditorForm::About1Click);
    Save1->setEnabled(false);

    auto* client = new Backdrop;
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientSize);
    setCentralWidget(client);
    clientArea = client;
    // Fixed border: the window takes the size of menu bar plus client area and keeps it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    const QFont heading = fonts::msSansSerif(13, true);

    auto* title = new ShadowLabel(tr("Object Listing"), client);
    title->setObjectName(QStringLiteral("LMDLabel1"));
    title->setGeometry(8, 0, 265, 20);
    title->setFont(heading);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LMDLabel1 = title;

    auto* banner = new ShadowLabel(tr("Come and visit the\nLumenfield."), client);
    banner->setObjectName(QStringLiteral("LMDLabelFill1"));
    banner->setGeometry(8, 24, 641, 129);
    banner->setFont(fonts::arialBlack(43));
    banner->setAlignment(Qt::AlignCenter);
    banner->setShadowDepth(2);
    QPalette maroon = banner->palette();
    maroon.setColor(QPalette::WindowText, QColor(128, 0, 0));
    banner->setPalette(maroon);
    LMDLabelFill1 = banner;

    LMDLB1 = new RecordList(client);
    LMDLB1->setObjectName(QStringLiteral("LMDLB1"));
    LMDLB1->setGeometry(8, 24, 265, 377);
    LMDLB1->setAccessibleName(title->text());
    // Copy and paste of records only while the list has the focus: the edits keep their own.
    for (QAction* item : {CopyRecord1, PasteIntoRecord1}) {
        item->setShortcutContext(Qt::WidgetShortcut);
        LMDLB1->addAction(item);
    }

    LMDGroupBox1 = makeGroup(client, "LMDGroupBox1", "Basic Information", {288, 8, 137, 217});
    LMDGroupBox2 = makeGroup(client, "LMDGroupBox2", "Shape Size Data", {288, 232, 137, 169});
    LMDGroupBox3 = makeGroup(client, "LMDGroupBox3", "Site Range Data", {488, 8, 145, 217});
    LMDGroupBox4 = makeGroup(client, "LMDGroupBox4", "Shadow Size Data", {488, 232, 145, 169});

    // Buttons on the window. "Get Records" lies below the client area: the program presses it
    // itself to rebuild the list.
    auto* getRecords = new QPushButton(tr("Get Records"), client);
    getRecords->setObjectName(QStringLiteral("LMDButton1"));
    getRecords->setGeometry(152, 520, 89, 33);
    getRecords->setFont(fonts::msSansSerif(11, true));
    LMDButton1 = getRecords;

    const QFont buttonFont = fonts::msSansSerif(13, true);
    using artwork::Glyph;
    using Place = GlyphButton::GlyphPlace;
    const auto glyphButton = [&](const char* name, const char* caption, const QRect& box,
                                 const QFont& font, Glyph glyph, Place place) {
        GlyphButton* button = makeButton(client, name, caption, box, font);
        button->setGlyph(glyph, place);
        return button;
    };
    LMDButton2 = glyphButton("LMDButton2", "Add Record", {8, 424, 129, 25}, buttonFont,
                             Glyph::AddRecord, Place::Left);
    LMDButton3 = glyphButton("LMDButton3", "Shape Data to Shadow Data", {424, 240, 65, 97},
                             fonts::tahoma(13, true), Glyph::ShapeToShadow, Place::Above);
    LMDButton4 = glyphButton("LMDButton4", "Clear Record", {152, 424, 121, 25}, buttonFont,
                             Glyph::ClearRecord, Place::Left);
    LMDButton5 = glyphButton("LMDButton5", "Delete Record", {8, 456, 129, 25}, buttonFont,
                             Glyph::DeleteRecord, Place::Left);
    LMDButton6 = glyphButton("LMDButton6", "Show Object", {152, 456, 121, 25}, buttonFont,
                             Glyph::ShowObject, Place::Left);

    LMDGroupBox5 =
        makeGroup(client, "LMDGroupBox5", "Scale Factors", {288, 408, 345, 73}, Qt::AlignLeft);
    static_cast<FieldGroup*>(LMDGroupBox5)->setFilled(true);

    // The four field groups, control by control, in tab order.
    QList<QWidget*> recordViewControls;
    for (const RecordViewControl& spec : recordView) {
        switch (spec.group) {
        case FieldGroupId::Basic:
            recordViewControls << makeFieldControl(*this, LMDGroupBox1, 56, spec);
            break;
        case FieldGroupId::Shape:
            recordViewControls << makeFieldControl(*this, LMDGroupBox2, 56, spec);
            break;
        case FieldGroupId::Range:
            recordViewControls << makeFieldControl(*this, LMDGroupBox3, 72, spec);
            break;
        case FieldGroupId::Shadow:
            recordViewControls << makeFieldControl(*this, LMDGroupBox4, 56, spec);
            break;
        }
    }

    // Scale Factors.
    QWidget* scale = LMDGroupBox5;
    LMDSimpleLabel26 = makeLabel(scale, "LMDSimpleLabel26", tr("Size Scale %"), {16, 24, 73, 15});
    LMDSimpleLabel26->setAlignment(Qt::AlignCenter);
    LMDSimpleLabel27 =
        makeLabel(scale, "LMDSimpleLabel27", tr("Damage Scale %"), {120, 24, 81, 15});
    LMDSimpleLabel27->setAlignment(Qt::AlignCenter);
    const auto makeSpin = [&](const char* name, const QRect& box, QLabel* caption) {
        auto* spin = new PercentSpinBox(scale);
        spin->setObjectName(latin(name));
        spin->setGeometry(box);
        spin->setValue(PercentSpinBox::kMinimum);
        caption->setBuddy(spin);
        spin->setAccessibleName(caption->text());
        return spin;
    };
    LMDSE1 = makeSpin("LMDSE1", {16, 40, 73, 21}, LMDSimpleLabel26);
    LMDButton7 = makeButton(scale, "LMDButton7", "Apply to All Objects", {248, 16, 81, 49}, font());
    LMDSE2 = makeSpin("LMDSE2", {120, 40, 81, 21}, LMDSimpleLabel27);

    // Events. The edits' and check boxes' own events are raised inside the control's user
    // action; the buttons are bound as user actions here.
    for (const RecordViewControl& spec : recordView) {
        if (!spec.edit)
            continue;
        FieldEdit* edit = this->*spec.edit;
        switch (spec.kind) {
        case FieldEdit::Kind::Integer:
        case FieldEdit::Kind::Decimal:
            edit->onModified = [this](FieldEdit& sender) { ME5Modified(sender); };
            break;
        case FieldEdit::Kind::Name:
            edit->onModified = [this](FieldEdit& sender) { ME4Modified(sender); };
            break;
        case FieldEdit::Kind::RecordNumber:
            edit->onChange = [this](FieldEdit& sender) { ME1Change(sender); };
            break;
        }
    }
    cb1->onChange = [this](FlagCheckBox& sender) { cb1Change(sender); };
    cb2->onChange = [this](FlagCheckBox& sender) { cb2Change(sender); };
    LMDLB1->onClick = [this] { LMDLB1Click(); };

    const auto bind = [this](QPushButton* button, auto handler) {
        bindUserAction(button, &QPushButton::clicked, this, [this, handler] { handler(this); });
    };
    bind(LMDButton1, [](EditorForm* form) { form->LMDButton1Click(); });
    bind(LMDButton2, [](EditorForm* form) { form->LMDButton2Click(form->LMDButton2); });
    bind(LMDButton3, [](EditorForm* form) { form->LMDButton3Click(); });
    bind(LMDButton4, [](EditorForm* form) { form->LMDButton4Click(); });
    bind(LMDButton6, [](EditorForm* form) { form->LMDButton2Click(form->LMDButton6); });
    bind(LMDButton7, [](EditorForm* form) { form->LMDButton7Click(); });

    // Tab order: the list, the four groups row by row, the buttons, then Scale Factors.
    QList<QWidget*> tabOrder{LMDLB1};
    tabOrder << recordViewControls;
    tabOrder << QList<QWidget*>{LMDButton1, LMDButton2, LMDButton3, LMDButton4, LMDButton5,
                                LMDButton6, LMDSE1,     LMDButton7, LMDSE2};
    QWidget* previous = nullptr;
    for (QWidget* widget : tabOrder) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }

    // Initial layout: menu, background and banner only.
    for (QWidget* widget :
         std::initializer_list<QWidget*>{LMDLabel1, LMDLB1, LMDGroupBox1, LMDGroupBox2,
                                         LMDGroupBox3, LMDGroupBox4, LMDGroupBox5})
        widget->hide();
    for (QPushButton* button :
         {LMDButton1, LMDButton2, LMDButton3, LMDButton4, LMDButton5, LMDButton6, LMDButton7}) {
        button->hide();
        button->setEnabled(false);
    }
    LMDSE1->setEnabled(false);
    LMDSE2->setEnabled(false);

    move(kFirstPosition);
}

EditorForm::~EditorForm() = default;

void EditorForm::applyWorkingLayout() {
    LMDLabelFill1->hide();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             LMDLabel1, LMDLB1, LMDButton2, LMDButton3, LMDButton4, LMDButton5, LMDButton6,
             LMDButton7, LMDGroupBox1, LMDGroupBox2, LMDGroupBox3, LMDGroupBox4, LMDGroupBox5,
             LMDSE1, LMDSE2})
        widget->show();
    LMDButton2->setEnabled(true);
    LMDButton3->setEnabled(true);
    LMDButton4->setEnabled(true);
    LMDButton5->setEnabled(false);
    LMDButton6->setEnabled(false);
    LMDButton7->setEnabled(true);
    LMDSE1->setEnabled(true);
    LMDSE2->setEnabled(true);
}

void EditorForm::closeEvent(QCloseEvent* event) {
    if (runUserAction([this] { FormClose(); }))
        event->accept();
    else
        event->ignore();
}

} // namespace ui

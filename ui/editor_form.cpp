#include "ui/editor_form.h"

#include "ui/artwork.h"
#include "ui/backdrop.h"
#include "ui/field_edit.h"
#include "ui/field_group.h"
#include "ui/flag_check_box.h"
#include "ui/fonts.h"
#include "ui/glyph_button.h"
#include "ui/left_caption_style.h"
#include "ui/percent_spin_box.h"
#include "ui/record_list.h"
#include "ui/shadow_label.h"
#include "ui/user_action.h"

#include <QAction>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>

#include <initializer_list>
#include <span>

namespace ui {

namespace {

constexpr QSize kClientSize(667, 488);
constexpr QPoint kFirstPosition(391, 240);
constexpr int kRowHeight = 15; // labels beside the edits
constexpr int kEditWidth = 65;
constexpr int kEditHeight = 17;
// The integer edits hold a whole 32-bit value, unsigned or typed negative; the record number
// never needs more than six.
constexpr int kIntegerLength = 11;
constexpr int kDecimalLength = 11;
constexpr int kNameLength = 29;
constexpr int kRecordNumberLength = 6;

// One row of a field group: a caption at left 8 and its edit on the same line.
struct FieldRow {
    QLabel* EditorForm::*label;
    const char* labelName;
    const char* caption;
    int labelWidth;
    FieldEdit* EditorForm::*edit;
    const char* editName;
};

constexpr int kFirstRowTop = 24;
constexpr int kRowPitch = 24;

const FieldRow kShapeRows[] = {
    {&EditorForm::LMDSimpleLabel6, "LMDSimpleLabel6", "DX NEG:", 46, &EditorForm::me6, "me6"},
    {&EditorForm::LMDSimpleLabel7, "LMDSimpleLabel7", "DY NEG:", 46, &EditorForm::me7, "me7"},
    {&EditorForm::LMDSimpleLabel8, "LMDSimpleLabel8", "DZ NEG:", 46, &EditorForm::me8, "me8"},
    {&EditorForm::LMDSimpleLabel9, "LMDSimpleLabel9", "DX POS:", 45, &EditorForm::me9, "me9"},
    {&EditorForm::LMDSimpleLabel10, "LMDSimpleLabel10", "DY POS:", 46, &EditorForm::me10, "me10"},
    {&EditorForm::LMDSimpleLabel11, "LMDSimpleLabel11", "DZ POS:", 45, &EditorForm::me11, "me11"},
};

// The rows follow the screen, not the field numbers: "Dot Color:" shows field 3.
const FieldRow kRangeRows[] = {
    {&EditorForm::LMDSimpleLabel23, "LMDSimpleLabel23", "Max Range:", 60, &EditorForm::me12,
     "me12"},
    {&EditorForm::LMDSimpleLabel22, "LMDSimpleLabel22", "Hi Range:", 50, &EditorForm::me13, "me13"},
    {&EditorForm::LMDSimpleLabel21, "LMDSimpleLabel21", "Mid Range:", 57, &EditorForm::me14,
     "me14"},
    {&EditorForm::LMDSimpleLabel20, "LMDSimpleLabel20", "Low Range:", 60, &EditorForm::me15,
     "me15"},
    {&EditorForm::LMDSimpleLabel19, "LMDSimpleLabel19", "Dot Range:", 57, &EditorForm::me16,
     "me16"},
    {&EditorForm::LMDSimpleLabel18, "LMDSimpleLabel18", "Dot Color:", 49, &EditorForm::me17,
     "me17"},
    {&EditorForm::LMDSimpleLabel24, "LMDSimpleLabel24", "Distance:", 47, &EditorForm::me18, "me18"},
    {&EditorForm::LMDSimpleLabel25, "LMDSimpleLabel25", "Multiplier:", 46, &EditorForm::me19,
     "me19"},
};

const FieldRow kShadowRows[] = {
    {&EditorForm::LMDSimpleLabel13, "LMDSimpleLabel13", "SX NEG:", 45, &EditorForm::me20, "me20"},
    {&EditorForm::LMDSimpleLabel12, "LMDSimpleLabel12", "SY NEG:", 45, &EditorForm::me21, "me21"},
    {&EditorForm::LMDSimpleLabel14, "LMDSimpleLabel14", "SZ NEG:", 45, &EditorForm::me22, "me22"},
    {&EditorForm::LMDSimpleLabel15, "LMDSimpleLabel15", "SX POS:", 44, &EditorForm::me23, "me23"},
    {&EditorForm::LMDSimpleLabel16, "LMDSimpleLabel16", "SY POS:", 46, &EditorForm::me24, "me24"},
    {&EditorForm::LMDSimpleLabel17, "LMDSimpleLabel17", "SZ POS:", 44, &EditorForm::me25, "me25"},
};

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

FieldEdit* makeEdit(QWidget* parent, const char* name, FieldEdit::Kind kind, int maxLength,
                    const QRect& box, QLabel* caption) {
    auto* edit = new FieldEdit(kind, maxLength, parent);
    edit->setObjectName(latin(name));
    edit->setGeometry(box);
    if (kind != FieldEdit::Kind::Name)
        edit->setFieldText(QStringLiteral("0"));
    caption->setBuddy(edit);
    edit->setAccessibleName(caption->text());
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

EditorForm::EditorForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("Corvane Object Data Editor"));
    setWindowIcon(artwork::windowIcon());
    setFont(fonts::msSansSerif(11));

    // Menu bar: four items straight on the bar, no sub-menus.
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto addItem = [&](const char* name, const QString& caption,
                             void (EditorForm::*handler)()) {
        QAction* item = bar->addAction(caption);
        item->setObjectName(latin(name));
        connect(item, &QAction::triggered, this,
                [this, handler] { runUserAction([this, handler] { (this->*handler)(); }); });
        return item;
    };
    Open1 = addItem("Open1", tr("Open"), &EditorForm::Open1Click);
    Save1 = addItem("Save1", tr("Save"), &EditorForm::Save1Click);
    Notes1 = addItem("Notes1", tr("Notes"), &EditorForm::Notes1Click);
    About1 = addItem("About1", tr("About"), &EditorForm::About1Click);
    Save1->setEnabled(false);

    auto* client = new Backdrop(artwork::background());
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
    LMDLB1->onClick = [this] { LMDLB1Click(); };

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
        button->setGlyph(artwork::glyphStrip(glyph), place);
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

    // Basic Information.
    QWidget* basic = LMDGroupBox1;
    LMDSimpleLabel1 = makeLabel(basic, "LMDSimpleLabel1", tr("Record#:"), {8, 24, 47, kRowHeight});
    ME1 = makeEdit(basic, "ME1", FieldEdit::Kind::RecordNumber, kRecordNumberLength,
                   {56, 24, kEditWidth, kEditHeight}, LMDSimpleLabel1);
    ME1->setReadOnly(true);
    ME1->setFocusOnHover(false);
    QPalette border = ME1->palette();
    border.setColor(QPalette::Base, border.color(QPalette::Button)); // the active-border grey
    ME1->setPalette(border);

    LMDSimpleLabel2 = makeLabel(basic, "LMDSimpleLabel2", tr("Class:"), {8, 48, 30, kRowHeight});
    ME2 = makeEdit(basic, "ME2", FieldEdit::Kind::Integer, kIntegerLength,
                   {56, 48, kEditWidth, kEditHeight}, LMDSimpleLabel2);
    LMDSimpleLabel3 = makeLabel(basic, "LMDSimpleLabel3", tr("Type:"), {8, 72, 29, kRowHeight});
    ME3 = makeEdit(basic, "ME3", FieldEdit::Kind::Integer, kIntegerLength,
                   {56, 72, kEditWidth, kEditHeight}, LMDSimpleLabel3);
    LMDSimpleLabel4 =
        makeLabel(basic, "LMDSimpleLabel4", tr("Object Name:"), {8, 96, 67, kRowHeight});
    me4 = makeEdit(basic, "me4", FieldEdit::Kind::Name, kNameLength, {8, 112, 113, 25},
                   LMDSimpleLabel4);
    LMDSimpleLabel5 = makeLabel(basic, "LMDSimpleLabel5", tr("Damage:"), {8, 144, 45, kRowHeight});
    ME5 = makeEdit(basic, "ME5", FieldEdit::Kind::Integer, kIntegerLength,
                   {56, 144, kEditWidth, kEditHeight}, LMDSimpleLabel5);

    auto* leftCaption = new LeftCaptionStyle;
    const auto makeFlag = [&](const char* name, const QString& caption, int top) {
        auto* box = new FlagCheckBox(caption, basic);
        box->setObjectName(latin(name));
        box->setGeometry(8, top, 113, 17);
        box->setStyle(leftCaption);
        box->setAccessibleName(caption);
        return box;
    };
    cb1 = makeFlag("cb1", tr("Has Shadow:"), 168);
    cb2 = makeFlag("cb2", tr("Has Flame:"), 192);

    // The three groups of plain rows.
    const auto addRows = [this](QWidget* group, std::span<const FieldRow> rows, int editLeft,
                                FieldEdit::Kind kind, int maxLength) {
        int top = kFirstRowTop;
        for (const FieldRow& row : rows) {
            QLabel* label = makeLabel(group, row.labelName, tr(row.caption),
                                      {8, top, row.labelWidth, kRowHeight});
            this->*row.label = label;
            this->*row.edit = makeEdit(group, row.editName, kind, maxLength,
                                       {editLeft, top, kEditWidth, kEditHeight}, label);
            top += kRowPitch;
        }
    };
    addRows(LMDGroupBox2, kShapeRows, 56, FieldEdit::Kind::Decimal, kDecimalLength);
    addRows(LMDGroupBox3, kRangeRows, 72, FieldEdit::Kind::Integer, kIntegerLength);
    addRows(LMDGroupBox4, kShadowRows, 56, FieldEdit::Kind::Decimal, kDecimalLength);

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

    // Events.
    for (FieldEdit* edit : {ME2,  ME3,  ME5,  me6,  me7,  me8,  me9,  me10, me11, me12, me13, me14,
                            me15, me16, me17, me18, me19, me20, me21, me22, me23, me24, me25})
        edit->onModified = [this](FieldEdit& sender) { ME5Modified(sender); };
    me4->onModified = [this](FieldEdit& sender) { ME4Modified(sender); };
    ME1->onChange = [this](FieldEdit& sender) { ME1Change(sender); };
    cb1->onChange = [this](FlagCheckBox& sender) { cb1Change(sender); };
    cb2->onChange = [this](FlagCheckBox& sender) { cb2Change(sender); };

    const auto bind = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { runUserAction([this, handler] { handler(this); }); });
    };
    bind(LMDButton1, [](EditorForm* form) { form->LMDButton1Click(); });
    bind(LMDButton2, [](EditorForm* form) { form->LMDButton2Click(form->LMDButton2); });
    bind(LMDButton3, [](EditorForm* form) { form->LMDButton3Click(); });
    bind(LMDButton4, [](EditorForm* form) { form->LMDButton4Click(); });
    bind(LMDButton6, [](EditorForm* form) { form->LMDButton2Click(form->LMDButton6); });
    bind(LMDButton7, [](EditorForm* form) { form->LMDButton7Click(); });

    // Tab order: the list, the four groups row by row, the buttons, then Scale Factors.
    const std::initializer_list<QWidget*> tabOrder{
        LMDLB1,     ME1,        ME2,    ME3,        me4,        ME5,        cb1,        cb2,
        me6,        me7,        me8,    me9,        me10,       me11,       me12,       me13,
        me14,       me15,       me16,   me17,       me18,       me19,       me20,       me21,
        me22,       me23,       me24,   me25,       LMDButton1, LMDButton2, LMDButton3, LMDButton4,
        LMDButton5, LMDButton6, LMDSE1, LMDButton7, LMDSE2};
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

    // Owned by the window, and made its child last so that it outlives the check boxes.
    leftCaption->setParent(this);

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

#pragma once
// Layout of the editor window: every control by its identifier, at its place,
// in its tab order, with its events bound to the handlers below. The handlers
// do nothing here; the editor window's behaviour class overrides them.

#include "document/cell.h"
#include "ui/controls/field_edit.h"

#include <QMainWindow>

#include <span>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace ui {

class EditorForm;
class FlagCheckBox;
class PercentSpinBox;
class RecordList;

/** The four groups of the record view. */
enum class FieldGroupId { Basic, Shape, Range, Shadow };

/** One control of the record view: what it shows, and where the layout places it: an edit
 * (with the label beside it, or above it for the name edit) or a check box carrying its own
 * caption. Rows are 24 pixels apart from the top of the group. */
struct RecordViewControl {
    doc::CellPart part; // what the control shows; the layout ignores it
    FieldGroupId group;
    int row;
    const char* id;
    FieldEdit* EditorForm::*edit; // null for a check box
    FlagCheckBox* EditorForm::*box;
    FieldEdit::Kind kind;
    int maxLength;
    const char* caption; // without its colon
    const char* labelId; // null for a check box
    QLabel* EditorForm::*label;
    int labelWidth;
};

class EditorForm : public QMainWindow {
    Q_OBJECT
public:
    /** recordView: every control of the four field groups, in tab order. */
    explicit EditorForm(std::span<const RecordViewControl> recordView, QWidget* parent = nullptr);
    ~EditorForm() override;

    /** Hides the banner and shows, enables and disables the controls of the working layout. */
    void applyWorkingLayout();

    /** The client area below the menu bar, 667 x 488, holding the background picture. */
    QWidget* clientArea = nullptr;

    // Menu bar MainMenu1
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Notes1 = nullptr;
    QAction* About1 = nullptr;
    // "Edit", right after "Save", the one item with a sub-menu; its items start disabled.
    QMenu* Edit1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* FindRecord1 = nullptr;
    QAction* FindNext1 = nullptr;
    QAction* FindPrevious1 = nullptr;
    QAction* GoToRecord1 = nullptr;
    QAction* CopyRecord1 = nullptr;      // its shortcut works while the record list has the focus
    QAction* PasteIntoRecord1 = nullptr; // likewise
    QAction* TableView1 = nullptr;
    QAction* CompareWith1 = nullptr;

    QLabel* LMDLabel1 = nullptr;
    QLabel* LMDLabelFill1 = nullptr;
    RecordList* LMDLB1 = nullptr;
    QGroupBox* LMDGroupBox1 = nullptr;
    QGroupBox* LMDGroupBox2 = nullptr;
    QGroupBox* LMDGroupBox3 = nullptr;
    QGroupBox* LMDGroupBox4 = nullptr;
    QGroupBox* LMDGroupBox5 = nullptr;
    QPushButton* LMDButton1 = nullptr;
    QPushButton* LMDButton2 = nullptr;
    QPushButton* LMDButton3 = nullptr;
    QPushButton* LMDButton4 = nullptr;
    QPushButton* LMDButton5 = nullptr;
    QPushButton* LMDButton6 = nullptr;
    QPushButton* LMDButton7 = nullptr;

    // Basic Information
    FieldEdit* ME1 = nullptr;
    FieldEdit* ME2 = nullptr;
    FieldEdit* ME3 = nullptr;
    FieldEdit* me4 = nullptr;
    FieldEdit* ME5 = nullptr;
    FlagCheckBox* cb1 = nullptr;
    FlagCheckBox* cb2 = nullptr;
    // Shape Size Data
    FieldEdit* me6 = nullptr;
    FieldEdit* me7 = nullptr;
    FieldEdit* me8 = nullptr;
    FieldEdit* me9 = nullptr;
    FieldEdit* me10 = nullptr;
    FieldEdit* me11 = nullptr;
    // Site Range Data
    FieldEdit* me12 = nullptr;
    FieldEdit* me13 = nullptr;
    FieldEdit* me14 = nullptr;
    FieldEdit* me15 = nullptr;
    FieldEdit* me16 = nullptr;
    FieldEdit* me17 = nullptr;
    FieldEdit* me18 = nullptr;
    FieldEdit* me19 = nullptr;
    // Shadow Size Data
    FieldEdit* me20 = nullptr;
    FieldEdit* me21 = nullptr;
    FieldEdit* me22 = nullptr;
    FieldEdit* me23 = nullptr;
    FieldEdit* me24 = nullptr;
    FieldEdit* me25 = nullptr;
    // Scale Factors
    PercentSpinBox* LMDSE1 = nullptr;
    PercentSpinBox* LMDSE2 = nullptr;

    // The captions beside the fields, numbered as the layout was first drawn, which is not
    // the order of the rows.
    QLabel* LMDSimpleLabel1 = nullptr;
    QLabel* LMDSimpleLabel2 = nullptr;
    QLabel* LMDSimpleLabel3 = nullptr;
    QLabel* LMDSimpleLabel4 = nullptr;
    QLabel* LMDSimpleLabel5 = nullptr;
    QLabel* LMDSimpleLabel6 = nullptr;
    QLabel* LMDSimpleLabel7 = nullptr;
    QLabel* LMDSimpleLabel8 = nullptr;
    QLabel* LMDSimpleLabel9 = nullptr;
    QLabel* LMDSimpleLabel10 = nullptr;
    QLabel* LMDSimpleLabel11 = nullptr;
    QLabel* LMDSimpleLabel12 = nullptr;
    QLabel* LMDSimpleLabel13 = nullptr;
    QLabel* LMDSimpleLabel14 = nullptr;
    QLabel* LMDSimpleLabel15 = nullptr;
    QLabel* LMDSimpleLabel16 = nullptr;
    QLabel* LMDSimpleLabel17 = nullptr;
    QLabel* LMDSimpleLabel18 = nullptr;
    QLabel* LMDSimpleLabel19 = nullptr;
    QLabel* LMDSimpleLabel20 = nullptr;
    QLabel* LMDSimpleLabel21 = nullptr;
    QLabel* LMDSimpleLabel22 = nullptr;
    QLabel* LMDSimpleLabel23 = nullptr;
    QLabel* LMDSimpleLabel24 = nullptr;
    QLabel* LMDSimpleLabel25 = nullptr;
    QLabel* LMDSimpleLabel26 = nullptr;
    QLabel* LMDSimpleLabel27 = nullptr;

protected:
    /** Runs the handler of an "Edit" item; the behaviour may wrap every item in what they share. */
    virtual void runEditItem(void (EditorForm::*handler)()) { (this->*handler)(); }
    // Event handlers, bound by the layout; empty here.
    virtual void FormClose() {}
    virtual void Open1Click() {}
    virtual void Save1Click() {}
    virtual void Notes1Click() {}
    virtual void About1Click() {}
    virtual void Undo1Click() {}
    virtual void Redo1Click() {}
    virtual void FindRecord1Click() {}
    virtual void FindNext1Click() {}
    virtual void FindPrevious1Click() {}
    virtual void GoToRecord1Click() {}
    virtual void CopyRecord1Click() {}
    virtual void PasteIntoRecord1Click() {}
    virtual void TableView1Click() {}
    virtual void CompareWith1Click() {}
    virtual void LMDLB1Click() {}
    virtual void ME1Change(FieldEdit&) {}
    virtual void ME4Modified(FieldEdit&) {}
    virtual void ME5Modified(FieldEdit&) {}
    virtual void cb1Change(FlagCheckBox&) {}
    virtual void cb2Change(FlagCheckBox&) {}
    virtual void LMDButton1Click() {}
    virtual void LMDButton2Click(QObject* /*sender*/) {}
    virtual void LMDButton3Click() {}
    virtual void LMDButton4Click() {}
    virtual void LMDButton7Click() {}

    /** Runs FormClose as a user action; the window closes only when it completed. */
    void closeEvent(QCloseEvent* event) override;
};

} // namespace ui

#pragma once
// The editor window (TForm6): the record list, the record view of the selected
// record and the write-back of every user change into the object table. It
// shows the document for Document's flows (DocumentView); its handlers are
// entries into the operations of the document and of this window.

#include "editor/document_commands.h"
#include "editor/document_view.h"
#include "editor/record_search.h"
#include "editor/row_text_cache.h"
#include "editor/view_commands.h"
#include "ui/forms/editor_form.h"

namespace editor {

class Document;

class TForm6 : public ui::EditorForm, public DocumentView {
    Q_OBJECT
public:
    explicit TForm6(Document& document, QWidget* parent = nullptr);
    ~TForm6() override;

    /** The document controller the menu and the close event forward to; not owned. */
    void setDocumentCommands(DocumentCommands* commands) { m_commands = commands; }
    /** The windows beside the editor that "Table View" and "Compare With..." open; not owned. */
    void setViewCommands(ViewCommands* views) { m_views = views; }

    // ---- this window's operations
    /** Fills the record list from the object table; no row is selected afterwards. */
    void fillRecordList();
    /** Shows the record of the selected row in the record view, reading the selection anew for
     * every control (a change of the record number may move it). */
    void showSelectedRecord();
    /** The record number shown in ME1, corrected into 0 to the last index (each correction runs
     * ME1Change once more, nested), selected and shown; nothing while the window is hidden. */
    void selectShownRecordNumber();
    /** The write-back, under its given name: stores the record view at the selected index, refills
     * the list and selects the row again; nothing without a selected row. Throws
     * doc::ConversionError at the first text that does not convert. */
    void me4Exit();
    /** The record view can be edited only while a row is selected. Called whenever an action's
     * selection is final, never in between, so the focus stays in the edit being typed in. */
    void syncRecordViewEnabled();
    /** Each item of "Edit" enabled exactly when it can act (nothing without an open pair), "Undo"
     * and "Redo" naming what they would do. */
    void syncEditMenu();

    /** "Find Record...": asks for a text, then finds it forward as findAgain does. */
    void findRecord();
    /** The next row (or the previous one) whose cells contain the text asked for last, selected
     * and shown as a click shows it; an information box when no row holds it. */
    void findAgain(SearchDirection direction);
    /** "Go to Record...": asks for a record number and shows that record as a click does; a
     * number outside the table is refused with a notice. */
    void goToRecord();
    /** "Copy Record": the selected record onto the clipboard as table text, with its header. */
    void copyRecord();

    // ---- handlers (the "Show Object" button shares "Add Record"'s, and is never enabled)
    void LMDButton1Click() override { fillRecordList(); }
    void LMDLB1Click() override { showSelectedRecord(); }
    void ME1Change(ui::FieldEdit&) override { selectShownRecordNumber(); }
    void ME4Modified(ui::FieldEdit& sender) override { editedField(sender); }
    void ME5Modified(ui::FieldEdit& sender) override { editedField(sender); }
    void cb1Change(ui::FlagCheckBox& sender) override { toggledFlag(sender); }
    void cb2Change(ui::FlagCheckBox& sender) override { toggledFlag(sender); }
    void LMDButton2Click(QObject* sender) override;
    void LMDButton3Click() override;
    void LMDButton4Click() override;
    void LMDButton7Click() override;

    void Open1Click() override;
    void Save1Click() override;
    void Notes1Click() override;
    void About1Click() override;
    void FormClose() override;
    void Undo1Click() override;
    void Redo1Click() override;
    void FindRecord1Click() override { findRecord(); }
    void FindNext1Click() override { findAgain(SearchDirection::Forward); }
    void FindPrevious1Click() override { findAgain(SearchDirection::Backward); }
    void GoToRecord1Click() override { goToRecord(); }
    void CopyRecord1Click() override { copyRecord(); }
    void PasteIntoRecord1Click() override;
    /** "Table View": opens the table window, or brings it to the front. */
    void TableView1Click() override;
    /** "Compare With...": asks for another data file and shows its comparison with the table. */
    void CompareWith1Click() override;

    /** Every "Edit" item is a command: the typing step ends before it runs. */
    void runEditItem(void (ui::EditorForm::*handler)()) override;

    // ---- DocumentView
    QWidget* dialogParent() override { return this; }
    void showDocument(const QString& dataPath) override;
    void showUnsaved(bool unsaved) override;
    void showHistory() override { syncEditMenu(); }
    int selectedRow() override;
    void refillAndSelect(int row) override;
    void selectRow(int row) override;
    void showRecordDefaults() override;
    QString fieldText(int field) override;
    void enterFieldText(int field, const QString& text) override;
    void showPercentages(ScaleFactors percentages) override;
    ScaleFactors percentages() override;

private:
    /** A field's modified event: with the flag set, the change is written back. */
    void editedField(ui::FieldEdit& sender);
    void toggledFlag(ui::FlagCheckBox& sender);
    /** Selects row and shows its record, as a click on it does. */
    void showRow(int row);

    Document& m_document;
    DocumentCommands* m_commands = nullptr;
    ViewCommands* m_views = nullptr;
    RowTextCache m_rowTexts;
    QString m_findText; // what "Find Record..." was asked for last
    bool m_clipboardHasText = false;
};

} // namespace editor

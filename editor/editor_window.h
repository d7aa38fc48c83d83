#pragma once
// The editor window (TForm6): the record list, the record view of the selected
// record, and the write-back of every user change into the object table.

#include "editor/document_commands.h"
#include "editor/row_text_cache.h"
#include "ui/editor_form.h"

namespace doc {
class FileSession;
struct ObjectTable;
} // namespace doc

namespace editor {

class TForm6 : public ui::EditorForm {
    Q_OBJECT
public:
    explicit TForm6(doc::FileSession& session, QWidget* parent = nullptr);

    /** The document controller the menu and the close event forward to; not owned. */
    void setDocumentCommands(DocumentCommands* commands) { m_commands = commands; }

    /** Fills the record list from the object table; no row is selected afterwards. */
    void LMDButton1Click() override;
    /** Shows the record of the selected row in the record view. */
    void LMDLB1Click() override;
    void ME1Change(ui::FieldEdit& sender) override;
    void ME4Modified(ui::FieldEdit& sender) override;
    void ME5Modified(ui::FieldEdit& sender) override;
    void cb1Change(ui::FlagCheckBox& sender) override;
    void cb2Change(ui::FlagCheckBox& sender) override;
    /** The write-back: stores the record view at the selected index, refills the list and
     * selects the row again. Throws doc::ConversionError at the first text that does not convert.
     */
    void me4Exit();

    /** The record view can be edited only while a row is selected. Called whenever an action's
     * selection is final, never in between, so the focus stays in the edit being typed in. */
    void syncRecordViewEnabled();

    void Open1Click() override;
    void Save1Click() override;
    void Notes1Click() override;
    void About1Click() override;
    void FormClose() override;

private:
    void modified(ui::FieldEdit& sender);
    void storeRecordView(int index);

    doc::FileSession& m_session;
    DocumentCommands* m_commands = nullptr;
    RowTextCache m_rowTexts;
};

} // namespace editor

#pragma once
// "Object Table": every record of the open document in a grid beside the editor window, the
// index and name columns frozen at the left. Sorting by any column's value, a filter on the
// cells' texts, edits in place, "Set to...", "Multiply by..." and "Add..." over the selected
// cells, and copy and paste of tab-separated cells. Every change is one undo step of the
// document (Document::applyTable); refusals reach the user through the application's error path.

#include "ui/forms/table_form.h"

namespace editor {
class Document;
}

namespace views {

class RecordTableModel;
class RecordTableProxy;

class TableWindow : public ui::TableForm {
    Q_OBJECT
public:
    explicit TableWindow(editor::Document& document, QWidget* parent = nullptr);
    ~TableWindow() override;

    /** The operations behind the items; each throws doc::Error with the reason it refuses,
     * before anything changes. */
    void bulkEdit(int edit); // a tabletext::BulkEdit, its operand asked for
    void copySelectedCells();
    void pasteAtCurrentCell();

private:
    void setToChosen() override;
    void multiplyByChosen() override;
    void addToChosen() override;
    void copyCellsChosen() override { copySelectedCells(); }
    void pasteCellsChosen() override { pasteAtCurrentCell(); }

    editor::Document& m_document;
    RecordTableModel* m_model;
    RecordTableProxy* m_proxy;
};

} // namespace views

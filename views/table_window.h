#pragma once
// "Object Table": every record of the open document in a grid beside the editor window, the
// index and name columns frozen at the left. Sorting by any column's value, a filter on the
// cells' texts, edits in place, "Set to...", "Multiply by..." and "Add..." over the selected
// cells, and copy and paste of tab-separated cells. Every change is one undo step of the
// document (Document::applyTable); refusals reach the user through the application's error path.

#include <QMainWindow>

class QAction;
class QLineEdit;
class QTableView;

namespace editor {
class Document;
}

namespace views {

class RecordTableModel;
class RecordTableProxy;

class TableWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TableWindow(editor::Document& document, QWidget* parent = nullptr);
    ~TableWindow() override;

    QLineEdit* filterEdit() const { return m_filter; }
    /** The grid; its model is the sorted and filtered view of the table. */
    QTableView* grid() const { return m_grid; }
    QAction* SetTo1 = nullptr;
    QAction* MultiplyBy1 = nullptr;
    QAction* Add1 = nullptr;
    QAction* CopyCells1 = nullptr;
    QAction* PasteCells1 = nullptr;

    /** The operations behind the actions; each throws doc::Error with the reason it refuses,
     * before anything changes. */
    void bulkEdit(int edit); // a tabletext::BulkEdit, its operand asked for
    void copyCells();
    void pasteCells();

private:
    editor::Document& m_document;
    RecordTableModel* m_model;
    RecordTableProxy* m_proxy;
    QLineEdit* m_filter;
    QTableView* m_grid;
};

} // namespace views

#pragma once
// What assistive technology reads of the record list: a table with one row per
// record and the four columns as the list draws them, the selected row, a way
// to select a row as the user does, and the events that keep a reader current.

#include <QAccessibleWidget>
#include <QHash>

namespace ui {

class RecordList;

class RecordListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit RecordListAccessible(RecordList* list);
    ~RecordListAccessible() override;

    /** Makes every RecordList answer with this interface; later calls do nothing. */
    static void installFactory();
    /** Tells a client what one sync of the list changed: a model reset when the rows differ, the
     * selection moving away from wasSelected, and the focus moving to the current row while the
     * list has the focus. Call only while QAccessible::isActive(). */
    static void announce(RecordList& list, bool rowsChanged, int wasSelected, int wasCurrent);

    void* interface_cast(QAccessible::InterfaceType type) override;
    // Children: the four column headers, then the cells row by row.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    /** Selects row as a click on it would, unless it is selected already. */
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    // The user cannot take the selection away, so neither can a client.
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    RecordList* list() const;
    /** The cell's child index; row -1 is the header row. */
    static int childIndex(int row, int column);
    QAccessibleInterface* cell(int row, int column) const;

    // Cells are made on demand and live until the rows are replaced or the list goes; Qt owns
    // them once registered, so only their ids are kept.
    mutable QHash<int, QAccessible::Id> m_cells;
};

} // namespace ui

#include "ui/controls/record_list_accessible.h"

#include "ui/controls/record_list.h"
#include "ui/controls/record_list_cell_accessible.h"

namespace ui {

namespace {
QAccessibleInterface* createForRecordList(const QString&, QObject* object) {
    if (auto* list = qobject_cast<RecordList*>(object))
        return new RecordListAccessible(list);
    return nullptr;
}
} // namespace

RecordListAccessible::RecordListAccessible(RecordList* list)
    : QAccessibleWidget(list, QAccessible::Table) {}

RecordListAccessible::~RecordListAccessible() {
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

void RecordListAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&createForRecordList);
        return true;
    }();
    Q_UNUSED(installed);
}

void RecordListAccessible::announce(RecordList& list, bool rowsChanged, int wasSelected,
                                    int wasCurrent) {
    auto send = [&list](QAccessible::Event type, int row) {
        QAccessibleEvent event(&list, type);
        event.setChild(childIndex(row, 0));
        QAccessible::updateAccessibility(&event);
    };
    if (rowsChanged) {
        QAccessibleTableModelChangeEvent reset(&list, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
    const int selected = list.selectedIndex();
    if (selected != wasSelected) {
        // After a reset the client reads the rows afresh; only a row that stayed is deselected.
        if (wasSelected >= 0 && !rowsChanged && wasSelected < list.rowCount())
            send(QAccessible::SelectionRemove, wasSelected);
        if (selected >= 0)
            send(QAccessible::SelectionAdd, selected);
    }
    const int current = list.currentRow();
    const bool moved = current != wasCurrent || selected != wasSelected;
    if (moved && list.hasFocus() && current < list.rowCount())
        send(QAccessible::Focus, current);
}

RecordList* RecordListAccessible::list() const {
    return static_cast<RecordList*>(widget());
}

int RecordListAccessible::childIndex(int row, int column) {
    return (row + 1) * RecordList::kColumnCount + column;
}

QAccessibleInterface* RecordListAccessible::cell(int row, int column) const {
    const int index = childIndex(row, column);
    if (const auto known = m_cells.constFind(index); known != m_cells.cend()) {
        if (QAccessibleInterface* cell = QAccessible::accessibleInterface(*known))
            return cell;
    }
    auto* made = new RecordListCellAccessible(list(), row, column);
    m_cells.insert(index, QAccessible::registerAccessibleInterface(made));
    return made;
}

void* RecordListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

int RecordListAccessible::childCount() const {
    return childIndex(rowCount(), 0);
}

QAccessibleInterface* RecordListAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    return cell(index / RecordList::kColumnCount - 1, index % RecordList::kColumnCount);
}

int RecordListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const RecordListCellAccessible*>(child);
    if (cell == nullptr || cell->list() != list() || !cell->isValid())
        return -1;
    return childIndex(cell->rowIndex(), cell->columnIndex());
}

QAccessibleInterface* RecordListAccessible::childAt(int x, int y) const {
    const QPoint at = list()->viewport()->mapFromGlobal(QPoint(x, y));
    int column = 0;
    for (int right = 0; column < RecordList::kColumnCount; ++column) {
        right += RecordList::kColumnWidths.at(static_cast<size_t>(column));
        if (at.x() < right)
            break;
    }
    if (at.x() < 0 || column == RecordList::kColumnCount)
        return nullptr;
    if (at.y() < 0)
        return at.y() >= -RecordList::kHeaderHeight ? cell(-1, column) : nullptr;
    const int row = list()->rowAt(at);
    return row >= 0 ? cell(row, column) : nullptr;
}

QAccessibleInterface* RecordListAccessible::focusChild() const {
    const int current = list()->currentRow();
    return list()->hasFocus() && current < rowCount() ? cell(current, 0) : nullptr;
}

QAccessibleInterface* RecordListAccessible::cellAt(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return nullptr;
    return cell(row, column);
}

int RecordListAccessible::selectedCellCount() const {
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> RecordListAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows()) {
        for (int column = 0; column < columnCount(); ++column)
            cells.append(cell(row, column));
    }
    return cells;
}

QString RecordListAccessible::columnDescription(int column) const {
    return list()->columnTitles().value(column);
}

int RecordListAccessible::selectedRowCount() const {
    return list()->selectedIndex() >= 0 ? 1 : 0;
}

int RecordListAccessible::columnCount() const {
    return RecordList::kColumnCount;
}

int RecordListAccessible::rowCount() const {
    return list()->rowCount();
}

QList<int> RecordListAccessible::selectedRows() const {
    const int selected = list()->selectedIndex();
    return selected >= 0 ? QList<int>{selected} : QList<int>{};
}

bool RecordListAccessible::isRowSelected(int row) const {
    return row >= 0 && list()->selectedIndex() == row;
}

bool RecordListAccessible::selectRow(int row) {
    if (row < 0 || row >= rowCount())
        return false;
    if (list()->selectedIndex() != row)
        list()->clickRow(row);
    return list()->selectedIndex() == row;
}

void RecordListAccessible::modelChange(QAccessibleTableModelChangeEvent*) {
    // The header cells stay; every cell of a row may now stand for another record.
    for (auto it = m_cells.begin(); it != m_cells.end();) {
        if (it.key() >= RecordList::kColumnCount) {
            QAccessible::deleteAccessibleInterface(it.value());
            it = m_cells.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace ui

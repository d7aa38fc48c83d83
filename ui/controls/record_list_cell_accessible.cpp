#include "ui/controls/record_list_cell_accessible.h"

#include "ui/controls/record_list.h"

#include <QWindow>

namespace ui {

namespace {
int columnLeft(int column) {
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += RecordList::kColumnWidths.at(static_cast<size_t>(c));
    return left;
}
} // namespace

RecordListCellAccessible::RecordListCellAccessible(RecordList* list, int row, int column)
    : m_list(list), m_row(row), m_column(column) {}

bool RecordListCellAccessible::isValid() const {
    return m_list && m_column >= 0 && m_column < RecordList::kColumnCount &&
           m_row < m_list->rowCount();
}

QWindow* RecordListCellAccessible::window() const {
    return m_list ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* RecordListCellAccessible::parent() const {
    return m_list ? QAccessible::queryAccessibleInterface(m_list.data()) : nullptr;
}

QString RecordListCellAccessible::text(QAccessible::Text type) const {
    if (type != QAccessible::Name || !isValid())
        return {};
    if (isHeader())
        return m_list->columnTitles().value(m_column);
    return splitRowText(m_list->rowText(m_row)).value(m_column);
}

QRect RecordListCellAccessible::rect() const {
    if (!isValid())
        return {};
    // The rows are drawn in the viewport; the header stands right above it.
    const QRect area = m_list->viewport()->geometry();
    const int left = area.left() + columnLeft(m_column);
    const int width = RecordList::kColumnWidths.at(static_cast<size_t>(m_column));
    const QRect local =
        isHeader()
            ? QRect(left, area.top() - RecordList::kHeaderHeight, width, RecordList::kHeaderHeight)
            : QRect(left, area.top() + (m_row - m_list->topRow()) * RecordList::kRowHeight, width,
                    RecordList::kRowHeight);
    return {m_list->mapToGlobal(local.topLeft()), local.size()};
}

QAccessible::Role RecordListCellAccessible::role() const {
    return isHeader() ? QAccessible::ColumnHeader : QAccessible::Cell;
}

QAccessible::State RecordListCellAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.invisible = !m_list->isVisible();
    if (isHeader())
        return state;
    state.selectable = true;
    state.selected = isSelected();
    state.focusable = true;
    state.focused = m_list->hasFocus() && m_list->currentRow() == m_row;
    const int top = m_list->topRow();
    const int shown =
        (m_list->viewport()->height() + RecordList::kRowHeight - 1) / RecordList::kRowHeight;
    state.offscreen = m_row < top || m_row >= top + shown;
    return state;
}

void* RecordListCellAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (isHeader())
        return nullptr;
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

bool RecordListCellAccessible::isSelected() const {
    return isValid() && !isHeader() && m_list->selectedIndex() == m_row;
}

QList<QAccessibleInterface*> RecordListCellAccessible::columnHeaderCells() const {
    QAccessibleInterface* table = parent();
    QAccessibleInterface* header = table ? table->child(m_column) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

QStringList RecordListCellAccessible::actionNames() const {
    return isHeader() ? QStringList() : QStringList{pressAction()};
}

void RecordListCellAccessible::doAction(const QString& name) {
    if (name == pressAction() && isValid() && !isHeader())
        m_list->clickRow(m_row);
}

} // namespace ui

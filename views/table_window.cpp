#include "views/table_window.h"

#include "document/errors.h"
#include "editor/document.h"
#include "tabletext/cell_edits.h"
#include "ui/dialogs/dialogs.h"
#include "views/record_table_model.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>

namespace views {

TableWindow::TableWindow(editor::Document& document, QWidget* parent)
    // The index and the name stay in view.
    : TableForm(RecordTableModel::columnOf(doc::CellPart::name()) + 1, parent),
      m_document(document),
      m_model(new RecordTableModel(document, this)), m_proxy(new RecordTableProxy(this)) {
    m_proxy->setSourceModel(m_model);
    grid->sortByColumn(RecordTableModel::columnOf(doc::CellPart::wholeRecord()),
                       Qt::AscendingOrder);
    grid->setModel(m_proxy);
    grid->setColumnWidth(RecordTableModel::columnOf(doc::CellPart::wholeRecord()), 48);
    grid->setColumnWidth(RecordTableModel::columnOf(doc::CellPart::name()), 180);
    connect(filter, &QLineEdit::textChanged, m_proxy,
            [this](const QString& text) { m_proxy->setFilterFixedString(text); });
}

TableWindow::~TableWindow() = default;

void TableWindow::setToChosen() {
    bulkEdit(static_cast<int>(tabletext::BulkEdit::Set));
}

void TableWindow::multiplyByChosen() {
    bulkEdit(static_cast<int>(tabletext::BulkEdit::Multiply));
}

void TableWindow::addToChosen() {
    bulkEdit(static_cast<int>(tabletext::BulkEdit::Add));
}

void TableWindow::bulkEdit(int editNumber) {
    const auto edit = static_cast<tabletext::BulkEdit>(editNumber);
    const editor::Document::Command command(m_document);
    std::vector<doc::Cell> cells;
    for (const QModelIndex& index : grid->selectionModel()->selectedIndexes()) {
        const QModelIndex source = m_proxy->mapToSource(index);
        cells.push_back({source.row(), RecordTableModel::partOf(source.column())});
    }
    if (cells.empty())
        throw doc::Error("Select the cells to change first.");
    const QModelIndex current = m_proxy->mapToSource(grid->currentIndex());
    const int row = current.isValid() ? current.row() : cells.front().record;
    static const char* const titles[] = {"Set to", "Multiply by", "Add"};
    static const char* const labels[] = {"Set the selected cells to:",
                                         "Multiply the selected cells by:",
                                         "Add to the selected cells:"};
    const std::optional<QString> operand = ui::Dialogs::current().askText(
        this, QLatin1String(titles[editNumber]), QLatin1String(labels[editNumber]), QString());
    if (!operand)
        return;
    const tabletext::CellEditPlan plan =
        tabletext::planBulkEdit(m_document.table(), cells, edit, operand->toStdString());
    plan.refusal.throwIfRefused();
    m_document.applyTable(plan.result, QLatin1String(titles[editNumber]), row);
}

void TableWindow::copySelectedCells() {
    const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        throw doc::Error("Select the cells to copy first.");
    int top = selected.front().row(), bottom = top;
    int left = selected.front().column(), right = left;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    if (static_cast<qsizetype>(bottom - top + 1) * (right - left + 1) != selected.size())
        throw doc::Error("Only a rectangle of cells can be copied; the selection is not one.");
    std::vector<int> records;
    std::vector<doc::CellPart> columns;
    for (int r = top; r <= bottom; ++r)
        records.push_back(m_proxy->mapToSource(m_proxy->index(r, 0)).row());
    for (int c = left; c <= right; ++c)
        columns.push_back(RecordTableModel::partOf(c));
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tabletext::copiedCells(m_document.table(), records, columns)));
}

void TableWindow::pasteAtCurrentCell() {
    const editor::Document::Command command(m_document);
    const QModelIndex current = grid->currentIndex();
    if (!current.isValid())
        throw doc::Error("Choose the cell to paste at first.");
    std::vector<int> records;
    std::vector<doc::CellPart> columns;
    for (int r = current.row(); r < m_proxy->rowCount(); ++r)
        records.push_back(m_proxy->mapToSource(m_proxy->index(r, 0)).row());
    for (int c = current.column(); c < m_proxy->columnCount(); ++c)
        columns.push_back(RecordTableModel::partOf(c));
    const tabletext::CellEditPlan plan = tabletext::planGridPaste(
        m_document.table(), records, columns, QGuiApplication::clipboard()->text().toStdString());
    plan.refusal.throwIfRefused();
    m_document.applyTable(plan.result, QStringLiteral("Paste into Table"), records.front());
}

} // namespace views

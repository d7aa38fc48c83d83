#include "views/compare_window.h"

#include "document/field_table.h"
#include "editor/document.h"
#include "ui/user_action.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <functional>
#include <optional>

namespace views {

CompareWindow* CompareWindow::open(editor::Document& document, const QString& path,
                                   QWidget* parent) {
    doc::StoredDocument other = doc::readStoredDocument(document.fileSystem(), path.toStdString());
    auto* window = new CompareWindow(document, path, std::move(other), parent);
    window->show();
    window->activateWindow(); // the keyboard goes to the new window
    return window;
}

CompareWindow::CompareWindow(editor::Document& document, const QString& path,
                             doc::StoredDocument other, QWidget* parent)
    : CompareForm(parent), m_document(document), m_path(path.toStdString()),
      m_other(std::move(other)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Compare: ") + path);
    differences->setModel(&m_model);
    differences->setColumnWidth(ComparisonModel::RecordColumn, 60);
    differences->setColumnWidth(ComparisonModel::CellColumn, 150);
    differences->setColumnWidth(ComparisonModel::ThisColumn, 180);
    connect(differences->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CompareWindow::syncControls);
    connect(differences->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CompareWindow::syncControls);

    m_listener = m_document.addTableListener([this](int) { compareAgain(); });
    compareAgain();
    // The keyboard starts on the first difference.
    if (m_model.rowCount() > 0)
        differences->setCurrentIndex(m_model.index(0, 0));
}

CompareWindow::~CompareWindow() {
    m_document.removeTableListener(m_listener);
}

void CompareWindow::showAllToggled() {
    keepingCurrentCell([this] { m_model.setShowAll(showAll->isChecked()); });
}

void CompareWindow::compareAgain() {
    keepingCurrentCell([this] { m_model.compare(m_document.table(), otherRows()); });
}

void CompareWindow::keepingCurrentCell(const std::function<void()>& change) {
    const QModelIndex current = differences->currentIndex();
    const std::optional<ComparisonModel::Row> was =
        current.isValid() ? std::optional(m_model.rowAt(current.row())) : std::nullopt;
    change();
    if (was && !differences->currentIndex().isValid() && m_model.rowCount() > 0) {
        // The rows changed: the same cell when it is still listed, else the row in its place.
        int row = m_model.rowOf(was->cell);
        if (row < 0)
            row = std::min(current.row(), m_model.rowCount() - 1);
        differences->setCurrentIndex(m_model.index(row, current.column()));
    }
    syncControls();
}

void CompareWindow::syncControls() {
    const int count = m_model.differingRecords();
    summary->setText(count == 0   ? QStringLiteral("No record differs.")
                     : count == 1 ? QStringLiteral("1 record differs:")
                                  : QStringLiteral("%1 records differ:").arg(count));
    const QModelIndex current = differences->currentIndex();
    takeCell->setEnabled(current.isValid() && takes(current.row()));
    const QModelIndexList selected = differences->selectionModel()->selectedRows();
    takeSelected->setEnabled(std::any_of(selected.begin(), selected.end(),
                                         [this](const QModelIndex& i) { return takes(i.row()); }));
    takeRecord->setEnabled(current.isValid() &&
                           m_model.rowAt(current.row()).cell.record < otherRows().count() &&
                           m_model.recordDiffers(m_model.rowAt(current.row()).cell.record));
    takeAll->setEnabled(m_model.takableRecords() > 0);
}

bool CompareWindow::takes(int row) const {
    const ComparisonModel::Row& r = m_model.rowAt(row);
    return r.differs && r.cell.record < otherRows().count();
}

void CompareWindow::takeCurrentCell() {
    const QModelIndex current = differences->currentIndex();
    if (!current.isValid())
        return;
    const doc::Cell cell = m_model.rowAt(current.row()).cell;
    take({cell}, cell.part.isWholeRecord()
                     ? QStringLiteral("Take Record %1").arg(cell.record)
                     : QStringLiteral("Take ") + QString::fromStdString(doc::stepName(cell)));
}

void CompareWindow::takeSelectedCells() {
    std::vector<doc::Cell> items;
    for (const QModelIndex& index : differences->selectionModel()->selectedRows())
        items.push_back(m_model.rowAt(index.row()).cell);
    take(items, QStringLiteral("Take Selected Cells"));
}

void CompareWindow::takeCurrentRecord() {
    const QModelIndex current = differences->currentIndex();
    if (!current.isValid())
        return;
    const int record = m_model.rowAt(current.row()).cell.record;
    take({{record, doc::CellPart::wholeRecord()}}, QStringLiteral("Take Record %1").arg(record));
}

void CompareWindow::takeEveryDifference() {
    take(doc::everyRecordOf(otherRows()), QStringLiteral("Take All Differences"));
}

void CompareWindow::take(const std::vector<doc::Cell>& items, const QString& name) {
    const doc::TakePlan plan = doc::planTake(m_document.table(), otherRows(), items);
    plan.refusal.throwIfRefused();
    if (plan.firstChanged >= 0)
        m_document.applyTable(plan.result, name, plan.firstChanged);
}

void CompareWindow::reloadOther() {
    // Read whole before anything changes, so a failed read leaves the comparison as it was.
    doc::StoredDocument other = doc::readStoredDocument(m_document.fileSystem(), m_path);
    m_other = std::move(other);
    compareAgain();
}

} // namespace views

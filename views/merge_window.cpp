#include "views/merge_window.h"

#include "document/document_reader.h"
#include "document/errors.h"
#include "document/file_layout.h"
#include "document/whole_file.h"
#include "editor/document.h"
#include "tabletext/patch.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <memory>

namespace views {

MergeWindow* MergeWindow::open(editor::Document& document, const QString& basePath,
                               const QString& theirsPath, QWidget* parent) {
    doc::FileSystem& files = document.fileSystem();
    const auto base = std::make_shared<const doc::StoredDocument>(
        doc::readStoredDocument(files, basePath.toStdString()));
    const auto theirs = std::make_shared<const doc::StoredDocument>(
        doc::readStoredDocument(files, theirsPath.toStdString()));
    return makeShown(
        document, theirsPath,
        [base, theirs](const doc::ObjectTable& mine) {
            return doc::planMerge({base->records, base->names}, mine,
                                  {theirs->records, theirs->names});
        },
        parent);
}

MergeWindow* MergeWindow::openPatch(editor::Document& document, const QString& path,
                                    QWidget* parent) {
    const auto file = document.fileSystem().openReadOnly(path.toStdString());
    if (file->size() > tabletext::kMaxSourceSize)
        throw doc::Error(doc::fileNameOf(path.toStdString()) +
                         " is larger than a patch can be (16 MB)");
    const std::vector<std::uint8_t> bytes = doc::readWholeFile(*file);
    file->close();
    const std::string text(bytes.begin(), bytes.end());
    // The patch laid over the table as it is at each merge, so the cells it does not name are
    // the table's own on every side.
    return makeShown(
        document, path,
        [text](const doc::ObjectTable& mine) {
            const tabletext::PatchSides sides = tabletext::patchSides(mine, text);
            return doc::planMerge(doc::TableRows::of(sides.base), mine,
                                  doc::TableRows::of(sides.theirs));
        },
        parent);
}

MergeWindow* MergeWindow::makeShown(editor::Document& document, const QString& title,
                                    Planner planner, QWidget* parent) {
    // Planned before anything is made: a refused merge makes no window.
    doc::MergePlan plan = planner(document.table());
    auto* window = new MergeWindow(document, title, std::move(planner), std::move(plan), parent);
    window->show();
    window->activateWindow(); // the keyboard goes to the new window
    return window;
}

MergeWindow::MergeWindow(editor::Document& document, const QString& title, Planner planner,
                         doc::MergePlan plan, QWidget* parent)
    : MergeForm(parent), m_document(document), m_planner(std::move(planner)) {
    m_model.setPlan(std::move(plan));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Merge: ") + title);
    changes->setModel(&m_model);
    changes->setColumnWidth(MergeModel::RecordColumn, 60);
    changes->setColumnWidth(MergeModel::CellColumn, 110);
    changes->setColumnWidth(MergeModel::StateColumn, 110);
    for (const int column :
         {MergeModel::BaseColumn, MergeModel::MineColumn, MergeModel::TheirsColumn})
        changes->setColumnWidth(column, 120);
    connect(changes->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MergeWindow::syncControls);
    m_listener = m_document.addTableListener([this](int) { mergeAgain(); });
    // The keyboard starts on the first change, a conflict when there is one.
    if (m_model.rowCount() > 0)
        changes->setCurrentIndex(m_model.index(0, 0));
    syncControls();
}

MergeWindow::~MergeWindow() {
    m_document.removeTableListener(m_listener);
}

void MergeWindow::mergeAgain() {
    doc::MergePlan plan;
    m_refusal.clear();
    try {
        plan = m_planner(m_document.table());
    } catch (const doc::Error& e) {
        // The table lost records BASE has (an undo): nothing to merge until they are back.
        m_refusal = QString::fromStdString(e.what());
    }
    for (doc::MergeChange& change : plan.changes) {
        const auto chosen = m_chosen.find({change.cell.record, change.cell.part.code()});
        if (chosen != m_chosen.end() && doc::allowsChoice(change, chosen->second))
            change.choice = chosen->second;
    }
    const QModelIndex current = changes->currentIndex();
    m_model.setPlan(std::move(plan));
    if (current.isValid() && !changes->currentIndex().isValid() && m_model.rowCount() > 0)
        changes->setCurrentIndex(
            m_model.index(std::min(current.row(), m_model.rowCount() - 1), current.column()));
    syncControls();
}

void MergeWindow::chooseSelected(doc::MergeChoice choice) {
    for (const QModelIndex& index : changes->selectionModel()->selectedRows()) {
        const doc::MergeChange& change = m_model.changeAt(index.row());
        if (m_model.setChoice(index.row(), choice))
            m_chosen[{change.cell.record, change.cell.part.code()}] = choice;
    }
    syncControls();
}

void MergeWindow::applyChosen() {
    if (!m_refusal.isEmpty())
        throw doc::Error(m_refusal.toStdString());
    const doc::TakePlan merged = doc::buildMerged(m_model.plan());
    merged.refusal.throwIfRefused();
    if (merged.firstChanged >= 0)
        m_document.applyTable(merged.result, QStringLiteral("Apply Merge"), merged.firstChanged);
}

void MergeWindow::syncControls() {
    const int count = m_model.rowCount();
    const int unsettled = doc::unsettledConflicts(m_model.plan());
    QString text;
    if (!m_refusal.isEmpty())
        text = m_refusal;
    else if (count == 0)
        text = QStringLiteral("Neither side changed anything.");
    else
        text = QStringLiteral("%1 %2, %3 %4, %5 without a choice:")
                   .arg(count)
                   .arg(count == 1 ? QStringLiteral("change") : QStringLiteral("changes"))
                   .arg(m_model.conflicts())
                   .arg(m_model.conflicts() == 1 ? QStringLiteral("conflict")
                                                 : QStringLiteral("conflicts"))
                   .arg(unsettled);
    summary->setText(text);
    const QModelIndexList selected = changes->selectionModel()->selectedRows();
    useMine->setEnabled(!selected.isEmpty());
    useTheirs->setEnabled(!selected.isEmpty());
    keepBoth->setEnabled(std::any_of(selected.begin(), selected.end(), [this](const auto& i) {
        return doc::allowsChoice(m_model.changeAt(i.row()), doc::MergeChoice::KeepBoth);
    }));
    applyMerge->setEnabled(count > 0);
}

} // namespace views

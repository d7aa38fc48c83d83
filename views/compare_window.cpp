#include "views/compare_window.h"

#include "editor/document.h"
#include "editor/record_view.h"
#include "ui/dialogs/dialogs.h"
#include "ui/user_action.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <optional>

namespace views {

CompareWindow* CompareWindow::open(editor::Document& document, const QString& path, QWidget* parent) {
    doc::StoredDocument other = doc::readStoredDocument(document.fileSystem(), path.toStdString());
    auto* window = new CompareWindow(document, path, std::move(other), parent);
    window->show();
    window->activateWindow(); // the keyboard goes to the new window
    return window;
}

CompareWindow::CompareWindow(editor::Document& document, const QString& path, doc::StoredDocument other,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), m_document(document), m_path(path.toStdString()),
      m_other(std::move(other)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(QStringLiteral("Compare: ") + path);
    resize(620, 440);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("Summary"));
    differences = new QTableView(this);
    differences->setObjectName(QStringLiteral("Differences"));
    differences->setModel(&m_model);
    differences->setSelectionBehavior(QAbstractItemView::SelectRows);
    differences->setSelectionMode(QAbstractItemView::ExtendedSelection);
    differences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    differences->setWordWrap(false);
    differences->verticalHeader()->hide();
    // Every row one line high, so a list of all 13 312 cells lays out without measuring them.
    differences->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    differences->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    differences->horizontalHeader()->setStretchLastSection(true);
    differences->setColumnWidth(ComparisonModel::RecordColumn, 60);
    differences->setColumnWidth(ComparisonModel::CellColumn, 150);
    differences->setColumnWidth(ComparisonModel::ThisColumn, 180);
    summary->setBuddy(differences);

    showAll = new QCheckBox(QStringLiteral("Sh&ow all records"), this);
    showAll->setObjectName(QStringLiteral("ShowAll"));
    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1StringView(name));
        b->setAutoDefault(false);
        return b;
    };
    takeCell = button("TakeCell", QStringLiteral("Take &Cell"));
    takeSelected = button("TakeSelected", QStringLiteral("Take &Selected Cells"));
    takeRecord = button("TakeRecord", QStringLiteral("Take &Record"));
    takeAll = button("TakeAll", QStringLiteral("Take &All Differences"));
    reload = button("Reload", QStringLiteral("Re&load"));

    auto* takes = new QHBoxLayout;
    for (QPushButton* b : {takeCell, takeSelected, takeRecord, takeAll})
        takes->addWidget(b);
    takes->addStretch();
    auto* options = new QHBoxLayout;
    options->addWidget(showAll);
    options->addStretch();
    options->addWidget(reload);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(differences, 1);
    layout->addLayout(options);
    layout->addLayout(takes);

    ui::bindUserAction(takeCell, &QPushButton::clicked, this, [this] { takeCurrentCell(); });
    ui::bindUserAction(takeSelected, &QPushButton::clicked, this, [this] { takeSelectedCells(); });
    ui::bindUserAction(takeRecord, &QPushButton::clicked, this, [this] { takeCurrentRecord(); });
    ui::bindUserAction(takeAll, &QPushButton::clicked, this, [this] { takeEveryDifference(); });
    ui::bindUserAction(reload, &QPushButton::clicked, this, [this] { reloadOther(); });
    ui::bindUserAction(showAll, &QCheckBox::toggled, this, [this] {
        keepingCurrentCell([this] { m_model.setShowAll(showAll->isChecked()); });
    });
    connect(differences->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CompareWindow::syncControls);
    connect(differences->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CompareWindow::syncControls);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    m_listener = m_document.addTableListener([this](int) { compareAgain(); });
    compareAgain();
    // The keyboard starts on the first difference.
    if (m_model.rowCount() > 0)
        differences->setCurrentIndex(m_model.index(0, 0));
}

CompareWindow::~CompareWindow() {
    m_document.removeTableListener(m_listener);
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
        int row = m_model.rowOf(was->record, was->cell);
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
                           m_model.rowAt(current.row()).record < otherRows().count() &&
                           m_model.recordDiffers(m_model.rowAt(current.row()).record));
    takeAll->setEnabled(m_model.takableRecords() > 0);
}

bool CompareWindow::takes(int row) const {
    const ComparisonModel::Row& r = m_model.rowAt(row);
    return r.differs && r.record < otherRows().count();
}

doc::TakeItem CompareWindow::itemOf(int row) const {
    const ComparisonModel::Row& r = m_model.rowAt(row);
    return {r.record, r.cell};
}

void CompareWindow::takeCurrentCell() {
    const QModelIndex current = differences->currentIndex();
    if (!current.isValid())
        return;
    const doc::TakeItem item = itemOf(current.row());
    take(
        {item},
        item.cell == doc::kWholeRecord
            ? QStringLiteral("Take Record %1").arg(item.record)
            : QStringLiteral("Take %1 of record %2").arg(editor::fieldCaption(item.cell)).arg(item.record));
}

void CompareWindow::takeSelectedCells() {
    std::vector<doc::TakeItem> items;
    for (const QModelIndex& index : differences->selectionModel()->selectedRows())
        items.push_back(itemOf(index.row()));
    take(items, QStringLiteral("Take Selected Cells"));
}

void CompareWindow::takeCurrentRecord() {
    const QModelIndex current = differences->currentIndex();
    if (!current.isValid())
        return;
    const int record = m_model.rowAt(current.row()).record;
    take({{record, doc::kWholeRecord}}, QStringLiteral("Take Record %1").arg(record));
}

void CompareWindow::takeEveryDifference() {
    take(doc::everyRecordOf(otherRows()), QStringLiteral("Take All Differences"));
}

void CompareWindow::take(const std::vector<doc::TakeItem>& items, const QString& name) {
    const doc::TakePlan plan = doc::planTake(m_document.table(), otherRows(), items);
    if (!plan.refusal.empty()) {
        ui::Dialogs::current().information(this, QString::fromStdString(plan.refusal));
        return;
    }
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

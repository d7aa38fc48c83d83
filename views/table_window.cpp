#include "views/table_window.h"

#include "document/errors.h"
#include "editor/document.h"
#include "views/record_table_model.h"
#include "tabletext/cell_edits.h"
#include "ui/dialogs/dialogs.h"
#include "ui/user_action.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace views {

namespace {

constexpr int kFrozenColumns = RecordTableModel::kFirstFieldColumn; // index and name

/** A table view whose first columns stay in view while it scrolls sideways: a second view of
 * the same model and selection laid over them, scrolled up and down with it. The grid itself
 * keeps every column, for the keyboard and for screen readers. */
class FrozenColumnsView final : public QTableView {
public:
    explicit FrozenColumnsView(QWidget* parent) : QTableView(parent), m_frozen(new QTableView(this)) {
        setHorizontalScrollMode(ScrollPerPixel);
        setVerticalScrollMode(ScrollPerPixel);
        verticalHeader()->hide();
        m_frozen->setFocusPolicy(Qt::NoFocus);
        m_frozen->verticalHeader()->hide();
        m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollMode(ScrollPerPixel);
        m_frozen->setAccessibleName(QStringLiteral("Index and name"));
        viewport()->stackUnder(m_frozen);
        connect(horizontalHeader(), &QHeaderView::sectionResized, this,
                [this](int section, int, int size) {
                    if (section < kFrozenColumns) {
                        m_frozen->setColumnWidth(section, size);
                        placeFrozen();
                    }
                });
        connect(verticalHeader(), &QHeaderView::sectionResized, this,
                [this](int section, int, int size) { m_frozen->setRowHeight(section, size); });
        connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
                &QScrollBar::setValue);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
                &QScrollBar::setValue);
        // The sort shown by the frozen columns' header is the grid's.
        m_frozen->horizontalHeader()->setSortIndicatorShown(true);
        connect(m_frozen->horizontalHeader(), &QHeaderView::sectionClicked, this,
                [this](int section) { horizontalHeader()->sectionClicked(section); });
    }

    void setModel(QAbstractItemModel* model) override {
        QTableView::setModel(model);
        m_frozen->setModel(model);
        m_frozen->setSelectionModel(selectionModel());
        for (int c = kFrozenColumns; c < model->columnCount(); ++c)
            m_frozen->setColumnHidden(c, true);
        for (int c = 0; c < kFrozenColumns; ++c)
            m_frozen->setColumnWidth(c, columnWidth(c));
        m_frozen->setEditTriggers(editTriggers());
        m_frozen->setSelectionBehavior(selectionBehavior());
        placeFrozen();
    }
    QTableView* frozen() const { return m_frozen; }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QTableView::resizeEvent(event);
        placeFrozen();
    }
    /** A move to the left stops short of the frozen columns' cover. */
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        const QModelIndex current = QTableView::moveCursor(action, modifiers);
        const int cover = frozenWidth();
        if (current.column() >= kFrozenColumns && visualRect(current).left() < cover)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                            visualRect(current).left() - cover);
        return current;
    }
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        if (index.column() >= kFrozenColumns) {
            QTableView::scrollTo(index, hint);
            const int cover = frozenWidth();
            if (visualRect(index).left() < cover)
                horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                                visualRect(index).left() - cover);
        } else {
            // Only up and down: the frozen columns are always in view.
            const int x = horizontalScrollBar()->value();
            QTableView::scrollTo(index, hint);
            horizontalScrollBar()->setValue(x);
        }
    }

private:
    int frozenWidth() const {
        int width = 0;
        for (int c = 0; c < kFrozenColumns; ++c)
            width += columnWidth(c);
        return width;
    }
    void placeFrozen() {
        m_frozen->setGeometry(frameWidth(), frameWidth(), frozenWidth(),
                              viewport()->height() + horizontalHeader()->height());
    }

    QTableView* m_frozen;
};

QString joined(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines)
        list << QString::fromStdString(line);
    return list.join(u'\n');
}

} // namespace

TableWindow::TableWindow(editor::Document& document, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_document(document),
      m_model(new RecordTableModel(document, this)), m_proxy(new RecordTableProxy(this)) {
    setObjectName(QStringLiteral("TableWindow"));
    setWindowTitle(QStringLiteral("Object Table"));
    m_proxy->setSourceModel(m_model);

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    auto* filterRow = new QHBoxLayout;
    m_filter = new QLineEdit(client);
    m_filter->setObjectName(QStringLiteral("FilterEdit"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText(QStringLiteral("Show only the rows with a cell containing..."));
    auto* label = new QLabel(QStringLiteral("&Filter:"), client);
    label->setBuddy(m_filter);
    filterRow->addWidget(label);
    filterRow->addWidget(m_filter);
    layout->addLayout(filterRow);

    auto* grid = new FrozenColumnsView(client);
    m_grid = grid;
    m_grid->setObjectName(QStringLiteral("ObjectGrid"));
    m_grid->setAccessibleName(QStringLiteral("Objects"));
    m_grid->setSortingEnabled(true);
    m_grid->sortByColumn(RecordTableModel::kIndexColumn, Qt::AscendingOrder);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->setModel(m_proxy);
    m_grid->setColumnWidth(RecordTableModel::kIndexColumn, 48);
    m_grid->setColumnWidth(RecordTableModel::kNameColumn, 180);
    layout->addWidget(m_grid);
    setCentralWidget(client);
    connect(m_filter, &QLineEdit::textChanged, m_proxy,
            [this](const QString& text) { m_proxy->setFilterFixedString(text); });

    QMenu* cells = menuBar()->addMenu(QStringLiteral("&Cells"));
    const auto addItem = [&](const char* name, const QString& caption, const QKeySequence& keys,
                             auto handler) {
        QAction* item = cells->addAction(caption);
        item->setObjectName(QLatin1String(name));
        item->setShortcut(keys);
        item->setShortcutContext(Qt::WindowShortcut);
        ui::bindUserAction(item, &QAction::triggered, this, handler);
        return item;
    };
    SetTo1 = addItem("SetTo1", QStringLiteral("&Set to..."), QKeySequence(Qt::CTRL | Qt::Key_E),
                     [this] { bulkEdit(static_cast<int>(tabletext::BulkEdit::Set)); });
    MultiplyBy1 =
        addItem("MultiplyBy1", QStringLiteral("&Multiply by..."),
                QKeySequence(Qt::CTRL | Qt::Key_M),
                [this] { bulkEdit(static_cast<int>(tabletext::BulkEdit::Multiply)); });
    Add1 = addItem("Add1", QStringLiteral("&Add..."), QKeySequence(Qt::CTRL | Qt::Key_D),
                   [this] { bulkEdit(static_cast<int>(tabletext::BulkEdit::Add)); });
    cells->addSeparator();
    CopyCells1 = addItem("CopyCells1", QStringLiteral("&Copy"), QKeySequence::Copy,
                         [this] { copyCells(); });
    PasteCells1 = addItem("PasteCells1", QStringLiteral("&Paste"), QKeySequence::Paste,
                          [this] { pasteCells(); });
    resize(900, 600);
}

TableWindow::~TableWindow() = default;

void TableWindow::bulkEdit(int editNumber) {
    const auto edit = static_cast<tabletext::BulkEdit>(editNumber);
    const editor::Document::Command command(m_document);
    std::vector<tabletext::GridCell> cells;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedIndexes()) {
        const QModelIndex source = m_proxy->mapToSource(index);
        cells.push_back({source.row(), RecordTableModel::tableColumn(source.column())});
    }
    if (cells.empty())
        throw doc::Error("Select the cells to change first.");
    const QModelIndex current = m_proxy->mapToSource(m_grid->currentIndex());
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
    if (!plan.errors.empty())
        throw doc::Error(joined(plan.errors).toStdString());
    m_document.applyTable(plan.result, QLatin1String(titles[editNumber]), row);
}

void TableWindow::copyCells() {
    const QModelIndexList selected = m_grid->selectionModel()->selectedIndexes();
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
    std::vector<int> records, columns;
    for (int r = top; r <= bottom; ++r)
        records.push_back(m_proxy->mapToSource(m_proxy->index(r, 0)).row());
    for (int c = left; c <= right; ++c)
        columns.push_back(RecordTableModel::tableColumn(c));
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(tabletext::copiedCells(m_document.table(), records, columns)));
}

void TableWindow::pasteCells() {
    const editor::Document::Command command(m_document);
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        throw doc::Error("Choose the cell to paste at first.");
    std::vector<int> records, columns;
    for (int r = current.row(); r < m_proxy->rowCount(); ++r)
        records.push_back(m_proxy->mapToSource(m_proxy->index(r, 0)).row());
    for (int c = current.column(); c < m_proxy->columnCount(); ++c)
        columns.push_back(RecordTableModel::tableColumn(c));
    const tabletext::CellEditPlan plan = tabletext::planGridPaste(
        m_document.table(), records, columns, QGuiApplication::clipboard()->text().toStdString());
    if (!plan.errors.empty())
        throw doc::Error(joined(plan.errors).toStdString());
    m_document.applyTable(plan.result, QStringLiteral("Paste into Table"), records.front());
}

} // namespace views

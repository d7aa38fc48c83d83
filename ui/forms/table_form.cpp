#include "ui/forms/table_form.h"

#include "ui/controls/frozen_columns_view.h"
#include "ui/user_action.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

namespace ui {

TableForm::TableForm(int frozenColumns, QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("TableWindow"));
    setWindowTitle(tr("Object Table"));

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    auto* filterRow = new QHBoxLayout;
    filter = new QLineEdit(client);
    filter->setObjectName(QStringLiteral("FilterEdit"));
    filter->setClearButtonEnabled(true);
    filter->setPlaceholderText(tr("Show only the rows with a cell containing..."));
    auto* label = new QLabel(tr("&Filter:"), client);
    label->setBuddy(filter);
    filterRow->addWidget(label);
    filterRow->addWidget(filter);
    layout->addLayout(filterRow);

    grid = new FrozenColumnsView(frozenColumns, tr("Index and name"), client);
    grid->setObjectName(QStringLiteral("ObjectGrid"));
    grid->setAccessibleName(tr("Objects"));
    grid->setSortingEnabled(true);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->horizontalHeader()->setSectionsClickable(true);
    layout->addWidget(grid);
    setCentralWidget(client);

    QMenu* cells = menuBar()->addMenu(tr("&Cells"));
    const auto addItem = [&](const char* name, const QString& caption, const QKeySequence& keys,
                             void (TableForm::*handler)()) {
        QAction* item = cells->addAction(caption);
        item->setObjectName(QLatin1String(name));
        item->setShortcut(keys);
        item->setShortcutContext(Qt::WindowShortcut);
        bindUserAction(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return item;
    };
    setTo = addItem("SetTo", tr("&Set to..."), QKeySequence(Qt::CTRL | Qt::Key_E),
                    &TableForm::setToChosen);
    multiplyBy = addItem("MultiplyBy", tr("&Multiply by..."), QKeySequence(Qt::CTRL | Qt::Key_M),
                         &TableForm::multiplyByChosen);
    addTo = addItem("AddTo", tr("&Add..."), QKeySequence(Qt::CTRL | Qt::Key_D),
                    &TableForm::addToChosen);
    cells->addSeparator();
    copyCells = addItem("CopyCells", tr("&Copy"), QKeySequence::Copy, &TableForm::copyCellsChosen);
    pasteCells =
        addItem("PasteCells", tr("&Paste"), QKeySequence::Paste, &TableForm::pasteCellsChosen);
    resize(900, 600);
}

} // namespace ui

#include "ui/controls/frozen_columns_view.h"

#include <QHeaderView>
#include <QScrollBar>

namespace ui {

FrozenColumnsView::FrozenColumnsView(int frozenColumns, const QString& coverName, QWidget* parent)
    : QTableView(parent), m_frozenColumns(frozenColumns), m_frozen(new QTableView(this)) {
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    verticalHeader()->hide();
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollMode(ScrollPerPixel);
    m_frozen->setAccessibleName(coverName);
    viewport()->stackUnder(m_frozen);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (section < m_frozenColumns) {
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
    // The sort shown by the frozen columns' header is the view's.
    m_frozen->horizontalHeader()->setSortIndicatorShown(true);
    connect(m_frozen->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { horizontalHeader()->sectionClicked(section); });
}

void FrozenColumnsView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    m_frozen->setModel(model);
    m_frozen->setSelectionModel(selectionModel());
    for (int c = m_frozenColumns; c < model->columnCount(); ++c)
        m_frozen->setColumnHidden(c, true);
    for (int c = 0; c < m_frozenColumns; ++c)
        m_frozen->setColumnWidth(c, columnWidth(c));
    m_frozen->setEditTriggers(editTriggers());
    m_frozen->setSelectionBehavior(selectionBehavior());
    placeFrozen();
}

void FrozenColumnsView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    placeFrozen();
}

QModelIndex FrozenColumnsView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = QTableView::moveCursor(action, modifiers);
    const int cover = frozenWidth();
    if (current.column() >= m_frozenColumns && visualRect(current).left() < cover)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                        visualRect(current).left() - cover);
    return current;
}

void FrozenColumnsView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (index.column() >= m_frozenColumns) {
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

int FrozenColumnsView::frozenWidth() const {
    int width = 0;
    for (int c = 0; c < m_frozenColumns; ++c)
        width += columnWidth(c);
    return width;
}

void FrozenColumnsView::placeFrozen() {
    m_frozen->setGeometry(frameWidth(), frameWidth(), frozenWidth(),
                          viewport()->height() + horizontalHeader()->height());
}

} // namespace ui

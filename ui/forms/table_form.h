#pragma once
// Layout of the table window ("Object Table"): the filter above a grid whose first columns (the
// index and the name) stay in view, and the "Cells" menu, its items bound to empty handlers.

#include <QMainWindow>

class QAction;
class QLineEdit;
class QTableView;

namespace ui {

class TableForm : public QMainWindow {
    Q_OBJECT
public:
    /** The grid's first frozenColumns columns stay in view while it scrolls sideways. */
    explicit TableForm(int frozenColumns, QWidget* parent = nullptr);

    QLineEdit* filter = nullptr;
    QTableView* grid = nullptr;
    QAction* setTo = nullptr;      // "Set to..."
    QAction* multiplyBy = nullptr; // "Multiply by..."
    QAction* addTo = nullptr;      // "Add..."
    QAction* copyCells = nullptr;
    QAction* pasteCells = nullptr;

protected:
    virtual void setToChosen() {}
    virtual void multiplyByChosen() {}
    virtual void addToChosen() {}
    virtual void copyCellsChosen() {}
    virtual void pasteCellsChosen() {}
};

} // namespace ui

#pragma once
// A table view whose first columns stay in view while it scrolls sideways: a second view of the
// same model and selection laid over them, scrolled up and down with it. The view itself keeps
// every column, for the keyboard and for screen readers.

#include <QTableView>

namespace ui {

class FrozenColumnsView final : public QTableView {
public:
    /** The first frozenColumns columns stay in view; coverName is what a screen reader calls
     * the view laid over them. */
    FrozenColumnsView(int frozenColumns, const QString& coverName, QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    /** A move to the left stops short of the frozen columns' cover. */
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint) override;

private:
    int frozenWidth() const;
    void placeFrozen();

    const int m_frozenColumns;
    QTableView* m_frozen;
};

} // namespace ui

#pragma once
// The record list: rows of text drawn in four columns split at ";", a fixed
// inert header, single selection, and a click event only for user selection.

#include <QWidget>

#include <functional>

namespace ui {

class RecordList : public QWidget {
    Q_OBJECT
public:
    explicit RecordList(QWidget* parent = nullptr);

    /** Removes every row; no row is selected and the list shows its top. No event. */
    void clear();
    /** Adds a row at the end; no event, selection unchanged. */
    void appendRow(const QString& rowText);
    int rowCount() const;
    QString rowText(int row) const;

    int selectedIndex() const;
    /** Nothing when equal; otherwise selects row i only (or none for -1) and scrolls just far
     * enough to show it. Never raises the click event. */
    void setSelectedIndex(int i);

    /** Raised after the user changed the selection with the mouse or the keyboard. */
    std::function<void()> onClick;
};

} // namespace ui

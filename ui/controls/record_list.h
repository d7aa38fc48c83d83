#pragma once
// The record list: rows of text drawn in four columns split at ";", a fixed
// inert header, single selection, and a click event only for user selection.
//
// The list is refilled on every editing keystroke, so rows are kept as plain
// strings and drawn directly; the scroll range is brought up to date once per
// batch of appends instead of on every row.

#include <QAbstractScrollArea>
#include <QStringList>

#include <array>
#include <functional>

namespace ui {

class RecordListHeader;

/** The pieces of a row text as its columns show them: cut at every ";" (a separator at the very
 * end gives no empty last piece), at most four pieces; empty for a row text of blanks only. */
QStringList splitRowText(const QString& rowText);

class RecordList : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kHeaderHeight = 17;
    static constexpr int kColumnCount = 4;
    static constexpr std::array<int, kColumnCount> kColumnWidths = {40, 40, 40, 140};

    explicit RecordList(QWidget* parent = nullptr);
    ~RecordList() override;

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

    /** The first row shown at the top of the list. */
    int topRow() const;
    /** The row that carries the focus frame and where keyboard moves start. */
    int currentRow() const;
    /** The header's captions, one per column. */
    QStringList columnTitles() const;
    /** The row under a point of the viewport, or -1 below the last row. */
    int rowAt(const QPoint& viewportPoint) const;

    /** Selects row as a mouse click on it does, raising the click event (also when the row was
     * selected already); runs as a user action. Rows outside the list are ignored. */
    void clickRow(int row);

    /** Raised after the user changed the selection with the mouse or the keyboard. */
    std::function<void()> onClick;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int visibleRows() const;
    void scheduleSync();
    void sync();
    void repaintChangedRows();
    void scrollToRow(int row);
    void selectByUser(int row, bool always);
    void placeHeader();

    QStringList m_rows;
    int m_selected = -1;
    // The row that carries the focus frame and where keyboard moves start.
    int m_current = 0;
    int m_top = 0;

    // A refill usually gives back the same rows but one. Changes are collected and compared
    // with what was last drawn once per event round, so only rows that look different are
    // repainted and the scroll bar is touched once.
    bool m_syncPending = false;
    bool m_syncing = false;
    QStringList m_drawnRows;
    int m_drawnSelected = -1;
    int m_drawnCurrent = 0;
    int m_drawnTop = 0;

    RecordListHeader* m_header;
};

} // namespace ui

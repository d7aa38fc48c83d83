#include "ui/controls/record_list.h"

#include "ui/controls/record_list_accessible.h"
#include "ui/controls/record_list_header.h"
#include "ui/user_action.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QVarLengthArray>

#include <algorithm>

namespace ui {

namespace {
constexpr QChar kSeparator = u';';
const QColor kGridColour(192, 192, 192);

// Posted once per batch of changes; brings scroll bar and screen up to date.
QEvent::Type syncEvent() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
} // namespace

QStringList splitRowText(const QString& rowText) {
    if (rowText.trimmed().isEmpty())
        return {};
    QStringList pieces;
    qsizetype start = 0;
    while (pieces.size() < RecordList::kColumnCount) {
        const qsizetype end = rowText.indexOf(kSeparator, start);
        if (end < 0) {
            if (start < rowText.size() || pieces.isEmpty())
                pieces.append(rowText.mid(start));
            break;
        }
        pieces.append(rowText.mid(start, end - start));
        start = end + 1;
        if (start == rowText.size())
            break; // a separator at the very end opens no further piece
    }
    return pieces;
}

RecordList::RecordList(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_header(new RecordListHeader({QStringLiteral("Rec#"), QStringLiteral("Class"),
                                     QStringLiteral("Type"), QStringLiteral("Object Name")},
                                    {kColumnWidths.begin(), kColumnWidths.end()}, this)) {
    // Before anything that may ask for the list's interface, which Qt then keeps.
    RecordListAccessible::installFactory();
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setViewportMargins(0, kHeaderHeight, 0, 0);
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setRange(0, 0);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

RecordList::~RecordList() = default;

QSize RecordList::sizeHint() const {
    return {265, 377};
}

void RecordList::clear() {
    const qsizetype previous = m_rows.size();
    m_rows = QStringList();
    m_rows.reserve(previous);
    m_selected = -1;
    m_current = 0;
    m_top = 0;
    scheduleSync();
}

void RecordList::appendRow(const QString& rowText) {
    m_rows.append(rowText);
    scheduleSync();
}

int RecordList::rowCount() const {
    return static_cast<int>(m_rows.size());
}

QString RecordList::rowText(int row) const {
    return row >= 0 && row < rowCount() ? m_rows.at(row) : QString();
}

int RecordList::selectedIndex() const {
    return m_selected;
}

void RecordList::setSelectedIndex(int i) {
    if (i < -1 || i >= rowCount())
        i = -1;
    if (i == m_selected)
        return;
    m_selected = i;
    if (i >= 0) {
        m_current = i;
        scrollToRow(i);
    }
    scheduleSync();
}

int RecordList::topRow() const {
    return m_top;
}

int RecordList::currentRow() const {
    return m_current;
}

QStringList RecordList::columnTitles() const {
    return m_header->captions();
}

int RecordList::rowAt(const QPoint& viewportPoint) const {
    if (viewportPoint.y() < 0)
        return -1;
    const int row = m_top + viewportPoint.y() / kRowHeight;
    return row < rowCount() ? row : -1;
}

int RecordList::visibleRows() const {
    // From our own geometry: the viewport is laid out only once the list is shown, but a hidden
    // list is filled and scrolled too.
    return std::max(1, (contentsRect().height() - kHeaderHeight) / kRowHeight);
}

void RecordList::scheduleSync() {
    if (m_syncPending)
        return;
    m_syncPending = true;
    QCoreApplication::postEvent(this, new QEvent(syncEvent()));
}

void RecordList::sync() {
    m_syncPending = false;
    const int shown = visibleRows();
    const int lastTop = std::max(0, rowCount() - shown);
    m_top = std::clamp(m_top, 0, lastTop);
    QScrollBar* bar = verticalScrollBar();
    m_syncing = true;
    bar->setPageStep(shown);
    bar->setRange(0, lastTop);
    bar->setValue(m_top);
    m_syncing = false;
    // Only with a client listening: the comparison of every row stays off the keystroke path.
    if (!QAccessible::isActive()) {
        repaintChangedRows();
        return;
    }
    const bool rowsChanged = m_rows != m_drawnRows;
    const int wasSelected = m_drawnSelected;
    const int wasCurrent = m_drawnCurrent;
    repaintChangedRows();
    RecordListAccessible::announce(*this, rowsChanged, wasSelected, wasCurrent);
}

void RecordList::repaintChangedRows() {
    if (m_top != m_drawnTop) {
        viewport()->update();
    } else {
        const int width = viewport()->width();
        const int end = m_top + visibleRows() + 1;
        for (int row = m_top; row < end; ++row) {
            const bool existed = row < m_drawnRows.size();
            const bool exists = row < m_rows.size();
            const bool same = existed == exists &&
                              (!exists || m_drawnRows.at(row) == m_rows.at(row)) &&
                              (row == m_drawnSelected) == (row == m_selected) &&
                              (row == m_drawnCurrent) == (row == m_current);
            if (!same)
                viewport()->update(0, (row - m_top) * kRowHeight, width, kRowHeight);
        }
    }
    m_drawnRows = m_rows;
    m_drawnSelected = m_selected;
    m_drawnCurrent = m_current;
    m_drawnTop = m_top;
}

void RecordList::scrollToRow(int row) {
    const int shown = visibleRows();
    if (row < m_top)
        m_top = row;
    else if (row >= m_top + shown)
        m_top = row - shown + 1;
}

void RecordList::placeHeader() {
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - kHeaderHeight, area.width(), kHeaderHeight);
}

bool RecordList::event(QEvent* event) {
    if (event->type() == syncEvent()) {
        if (m_syncPending)
            sync();
        return true;
    }
    const bool handled = QAbstractScrollArea::event(event);
    // The scroll bar coming or going changes the viewport's width.
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        placeHeader();
    return handled;
}

void RecordList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    placeHeader();
    sync();
    viewport()->update();
}

void RecordList::scrollContentsBy(int, int) {
    if (m_syncing)
        return;
    // The user moved the scroll bar or turned the wheel.
    m_top = verticalScrollBar()->value();
    m_drawnTop = m_top;
    viewport()->update();
}

void RecordList::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    const QRect area = event->rect();
    painter.fillRect(area, colours.color(QPalette::Base));

    const int top = m_top;
    const int width = viewport()->width();
    const int baseline = 1 + painter.fontMetrics().ascent();
    const int first = top + std::max(0, area.top()) / kRowHeight;
    const int last = std::min(rowCount() - 1, top + area.bottom() / kRowHeight);
    QVarLengthArray<QLine, 64> grid;
    for (int row = first; row <= last; ++row) {
        const int y = (row - top) * kRowHeight;
        const QRect rowRect(0, y, width, kRowHeight);
        const bool selected = row == m_selected;
        if (selected)
            painter.fillRect(rowRect, colours.color(QPalette::Highlight));

        const QStringList pieces = splitRowText(m_rows.at(row));
        if (!pieces.isEmpty()) {
            painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::Text));
            int left = 0;
            for (int column = 0; column < kColumnCount; ++column) {
                const int columnWidth = kColumnWidths.at(static_cast<size_t>(column));
                if (column < pieces.size() && !pieces.at(column).isEmpty()) {
                    // A single line at a fixed baseline needs no text layout, only clipping.
                    painter.setClipRect(QRect(left, y, columnWidth - 1, kRowHeight - 1));
                    painter.drawText(QPoint(left + 2, y + baseline), pieces.at(column));
                }
                left += columnWidth;
                grid.append(QLine(left - 1, y, left - 1, y + kRowHeight - 1));
            }
            painter.setClipping(false);
            grid.append(QLine(0, y + kRowHeight - 1, width - 1, y + kRowHeight - 1));
        }

        if (row == m_current && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rowRect;
            focus.backgroundColor = colours.color(selected ? QPalette::Highlight : QPalette::Base);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
    painter.setPen(kGridColour);
    painter.drawLines(grid.data(), static_cast<int>(grid.size()));
}

void RecordList::selectByUser(int row, bool always) {
    if (rowCount() == 0)
        return;
    row = std::clamp(row, 0, rowCount() - 1);
    const bool changed = row != m_selected;
    m_selected = row;
    m_current = row;
    scrollToRow(row);
    sync();
    if (changed || always) {
        if (auto handler = onClick)
            handler();
    }
}

void RecordList::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const int row = rowAt(event->position().toPoint());
    if (row >= 0)
        clickRow(row);
}

void RecordList::clickRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    runUserAction([this, row] { selectByUser(row, true); });
}

void RecordList::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void RecordList::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int from = m_selected >= 0 ? m_selected : std::min(m_current, rowCount() - 1);
    const int page = std::max(1, visibleRows() - 1);
    int to = 0;
    switch (event->key()) {
    case Qt::Key_Up:
        to = m_selected >= 0 ? from - 1 : from;
        break;
    case Qt::Key_Down:
        to = m_selected >= 0 ? from + 1 : from;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = rowCount() - 1;
        break;
    case Qt::Key_PageUp:
        to = from - page;
        break;
    case Qt::Key_PageDown:
        to = from + page;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    runUserAction([this, to] { selectByUser(to, false); });
}

void RecordList::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void RecordList::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace ui

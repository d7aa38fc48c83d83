#include "views/view_windows.h"

#include "views/compare_window.h"
#include "views/table_window.h"

namespace views {

void ViewWindows::showTable(QWidget* owner) {
    if (!m_tableWindow)
        m_tableWindow = new TableWindow(m_document, owner);
    m_tableWindow->show();
    m_tableWindow->raise();
    m_tableWindow->activateWindow();
}

TableWindow* ViewWindows::tableWindow() const {
    return m_tableWindow;
}

void ViewWindows::compareWith(const QString& path, QWidget* owner) {
    CompareWindow::open(m_document, path, owner);
}

} // namespace views

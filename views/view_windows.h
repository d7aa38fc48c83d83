#pragma once
// The windows beside the editor, opened from its "Edit" menu: one table window per run, and a
// comparison window for every "Compare With...". Each is a window of the editor window's own,
// closed with it.

#include "editor/view_commands.h"

#include <QPointer>

namespace editor {
class Document;
}

namespace views {

class TableWindow;

class ViewWindows final : public editor::ViewCommands {
public:
    explicit ViewWindows(editor::Document& document) : m_document(document) {}

    void showTable(QWidget* owner) override;
    void compareWith(const QString& path, QWidget* owner) override;

    /** The table window, once opened; null before. */
    TableWindow* tableWindow() const;

private:
    editor::Document& m_document;
    QPointer<TableWindow> m_tableWindow;
};

} // namespace views

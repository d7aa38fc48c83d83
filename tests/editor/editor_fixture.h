#pragma once
// An editor window on a data file written by the test, shown and listed as the
// shell leaves it after "Open", with every reported error captured.

#include "document/file_session.h"
#include "document/object_table.h"
#include "editor/editor_window.h"
#include "tests/support/data_files.h"
#include "ui/user_action.h"

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace ui {
class FieldEdit;
}

namespace editortest {

class EditorFixture {
public:
    /** Writes the records and raw name slots, opens them and shows the window in its working
     * layout with the list filled and no row selected. */
    EditorFixture(const std::vector<doc::ObjectRecord>& records,
                  const std::vector<doc::NameSlot>& names);
    ~EditorFixture();

    editor::TForm6& window() { return *m_window; }
    doc::ObjectTable& table() { return m_session.table(); }
    const doc::ObjectRecord& record(int r) { return table().records[static_cast<std::size_t>(r)]; }
    const doc::NameSlot& slot(int r) { return table().names[static_cast<std::size_t>(r)]; }
    QStringList& errors() { return m_errors; }

    /** Selects a row the way the user does: a mouse click on it. */
    void clickRow(int row);
    /** Gives the edit the focus by a click, so its whole text is selected, then types. */
    void typeOver(ui::FieldEdit* edit, const QString& text);

private:
    testsupport::TempFolder m_folder;
    doc::FileSession m_session;
    std::unique_ptr<editor::TForm6> m_window;
    QStringList m_errors;
    ui::ErrorReporter m_previousReporter;
};

} // namespace editortest

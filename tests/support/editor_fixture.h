#pragma once
// An editor window on a data file written by the test, shown and listed as the
// shell leaves it after "Open", with the file layer's faults, scripted dialogs,
// settings in memory and every reported error at hand.

#include "document/file_layout.h"
#include "editor/document.h"
#include "editor/editor_window.h"
#include "tests/support/data_files.h"
#include "tests/support/memory_settings.h"
#include "tests/support/reported_errors.h"
#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_file_system.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/record_list.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <stdexcept>

class EditorFixture {
public:
    EditorFixture(const testsupport::DataFile& file, const std::vector<doc::NameSlot>& names)
        : m_dialogsInstalled(m_dialogs), m_document(m_settings, m_files) {
        m_path = m_folder.file("OBJDAT.dat");
        testsupport::writePair(m_path, file, names);

        m_window = std::make_unique<editor::TForm6>(m_document);
        m_document.setView(m_window.get());
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            throw std::runtime_error("the editor window was not shown");
        // As a data file named at start-up is opened: no dialog, the document shown.
        m_document.openPath(QString::fromStdString(m_path));
    }
    EditorFixture(const EditorFixture&) = delete;
    EditorFixture& operator=(const EditorFixture&) = delete;

    editor::TForm6& window() { return *m_window; }
    editor::Document& document() { return m_document; }
    doc::ObjectTable& table() { return m_document.table(); }
    const doc::ObjectRecord& record(int r) { return table().records[static_cast<std::size_t>(r)]; }
    const doc::NameSlot& slot(int r) { return table().names[static_cast<std::size_t>(r)]; }
    QStringList& errors() { return m_errors.messages(); }
    ui::ScriptedDialogs& dialogs() { return m_dialogs; }
    testsupport::TestFileSystem& files() { return m_files; }
    testsupport::MemorySettings& settings() { return m_settings; }
    const std::string& path() const { return m_path; }

    /** Selects a row the way the user does: a mouse click on it. */
    void clickRow(int row) {
        ui::RecordList* list = m_window->LMDLB1;
        QCoreApplication::processEvents(); // the scroll range follows a refill
        if (row < list->topRow() || row >= list->topRow() + 20)
            list->verticalScrollBar()->setValue(row); // scrolled to it first, as the user would
        const int y =
            (row - list->topRow()) * ui::RecordList::kRowHeight + ui::RecordList::kRowHeight / 2;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, y));
    }
    /** Gives the edit the focus by a click, so its whole text is selected, then types. */
    void typeOver(ui::FieldEdit* edit, const QString& text) {
        QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
        QTest::keyClicks(edit, text);
    }

private:
    testsupport::TempFolder m_folder;
    std::string m_path;
    testsupport::ReportedErrors m_errors;
    ui::ScriptedDialogs m_dialogs;
    ui::ScopedDialogs m_dialogsInstalled;
    testsupport::TestFileSystem m_files;
    testsupport::MemorySettings m_settings;
    editor::Document m_document;
    std::unique_ptr<editor::TForm6> m_window;
};

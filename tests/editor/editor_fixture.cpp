#include "tests/editor/editor_fixture.h"

#include "ui/field_edit.h"
#include "ui/record_list.h"

#include <QApplication>
#include <QTest>

#include <stdexcept>

namespace editortest {

EditorFixture::EditorFixture(const std::vector<doc::ObjectRecord>& records,
                             const std::vector<doc::NameSlot>& names) {
    testsupport::DataFile file;
    file.records = records;
    const std::string path = m_folder.file("OBJDAT.dat");
    file.write(path);
    testsupport::Bytes nameBytes;
    for (const auto& slot : names)
        nameBytes.insert(nameBytes.end(), slot.begin(), slot.end());
    testsupport::writeFile(doc::namesFilePath(path), nameBytes);
    m_session.open(path);

    m_previousReporter = ui::setErrorReporter(
        [this](const std::exception& error) { m_errors << QString::fromStdString(error.what()); });

    m_window = std::make_unique<editor::TForm6>(m_session);
    m_window->show();
    m_window->activateWindow();
    QApplication::setActiveWindow(m_window.get());
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        throw std::runtime_error("the editor window was not shown");
    // What the shell does after a successful open.
    m_window->applyWorkingLayout();
    m_window->LMDButton1Click();
    m_window->syncRecordViewEnabled();
}

EditorFixture::~EditorFixture() {
    m_window.reset();
    ui::setErrorReporter(m_previousReporter);
}

void EditorFixture::clickRow(int row) {
    ui::RecordList* list = m_window->LMDLB1;
    const int y =
        (row - list->topRow()) * ui::RecordList::kRowHeight + ui::RecordList::kRowHeight / 2;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, y));
}

void EditorFixture::typeOver(ui::FieldEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    QTest::keyClicks(edit, text);
}

} // namespace editortest

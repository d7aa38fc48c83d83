#include "tests/app/running_editor.h"

#include "shell/settings_file.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/flag_check_box.h"
#include "ui/controls/record_list.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include <stdexcept>

namespace testsupport {

RunningEditor::RunningEditor() {
    freshDialogs();
    shell::initialiseApplication();
    m_windows = std::make_unique<shell::Windows>(m_files);
    m_windows->form3.setEndProgram([this] { ++m_endings; });
    // Thousands of opens of files that come and go: the desktop's recent files, which take no
    // part in an open's outcome, would only grow and slow every open down.
    m_windows->document.setLoadedListener({});
    m_windows->show();
}

RunningEditor::~RunningEditor() {
    m_windows.reset();
    m_installed.reset();
}

void RunningEditor::freshDialogs() {
    m_installed.reset();
    m_dialogs = std::make_unique<ui::ScriptedDialogs>();
    m_installed = std::make_unique<ui::ScopedDialogs>(*m_dialogs);
}

void RunningEditor::start() {
    QTest::mouseClick(m_windows->form1.Button5, Qt::LeftButton);
}

void RunningEditor::startAndOpen(const QString& dataPath, const QString& folder) {
    start();
    open(dataPath, folder);
}

void RunningEditor::open(const QString& dataPath, const QString& folder) {
    m_dialogs->queueFolder(folder);
    m_dialogs->queueOpenFile(dataPath);
    form6().Open1->trigger();
}

void RunningEditor::clickRow(int row) {
    ui::RecordList* list = form6().LMDLB1;
    // The list brings its scroll range up to date once its rows are in.
    QCoreApplication::sendPostedEvents(list);
    const int shown = (list->viewport()->height()) / ui::RecordList::kRowHeight;
    if (row < list->topRow() || row >= list->topRow() + shown)
        list->verticalScrollBar()->setValue(row);
    const int y =
        (row - list->topRow()) * ui::RecordList::kRowHeight + ui::RecordList::kRowHeight / 2;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, y));
    if (list->selectedIndex() != row)
        throw std::runtime_error("row " + std::to_string(row) + " could not be clicked");
}

void RunningEditor::activate() {
    if (QApplication::activeWindow() == &form6())
        return;
    QApplication::setActiveWindow(&form6());
    if (!QTest::qWaitForWindowActive(&form6()))
        throw std::runtime_error("the editor window did not become active");
}

void RunningEditor::typeOver(ui::FieldEdit* edit, const QString& text, bool click) {
    // Only an edit of the active window selects its text when it takes the focus.
    activate();
    if (click)
        QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
    // QTest::keyClicks passes each character through Latin-1; "€" would arrive as "?".
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(edit, static_cast<char>(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

void RunningEditor::toggle(ui::FlagCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
}

QStringList RunningEditor::errors() const {
    return m_dialogs->texts(ui::ScriptedDialogs::Kind::Error);
}

QString RunningEditor::settingsPath() {
    return shell::SettingsFile::defaultPath();
}

} // namespace testsupport

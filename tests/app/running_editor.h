#pragma once
// The program as at start-up, for tests that drive it through its windows:
// the windows over a file system with faults on request, dialogs answered by a
// script, and every error box recorded.
//
//   RunningEditor editor;
//   editor.openFirstTime(dataPath, folder); // start window, "Open", prompt, dialog
//   editor.clickRow(3);
//   editor.typeOver(editor.form6().ME3, QStringLiteral("7"));
//   editor.form6().Save1->trigger();

#include "shell/application.h"
#include "tests/support/scoped_dialogs.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_file_system.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

namespace ui {
class FieldEdit;
class FlagCheckBox;
} // namespace ui

namespace testsupport {

class RunningEditor {
public:
    /** Creates the windows and shows the start window; the settings file is the one of
     * $XDG_CONFIG_HOME, which each test executable has to itself. */
    RunningEditor();
    ~RunningEditor();
    RunningEditor(const RunningEditor&) = delete;
    RunningEditor& operator=(const RunningEditor&) = delete;

    TestFileSystem& files() { return m_files; }
    ui::ScriptedDialogs& dialogs() { return *m_dialogs; }
    /** Replaces the dialogs by fresh ones: no queued answers, nothing recorded. */
    void freshDialogs();
    shell::Windows& windows() { return *m_windows; }
    editor::TForm6& form6() { return m_windows->form6; }
    /** How often the program asked to end. */
    int endings() const { return m_endings; }

    /** The start window's button: the editor window comes up. */
    void start();
    /** start(), then "Open" answered with the folder (when the prompt comes) and the file. */
    void startAndOpen(const QString& dataPath, const QString& folder);
    /** "Open" from the editor window's menu, answered as above. */
    void open(const QString& dataPath, const QString& folder);

    /** Selects a row the way the user does: the scroll bar moved to it, then a click on it. */
    void clickRow(int row);
    /** Gives the edit the focus by a click, so its whole text is selected, then types text
     * (any character, also those beyond Latin-1). Without click, types where the caret is. */
    void typeOver(ui::FieldEdit* edit, const QString& text, bool click = true);
    /** A click on the check box. */
    void toggle(ui::FlagCheckBox* box);

    /** The texts of the error boxes shown so far. */
    QStringList errors() const;

    static QString settingsPath();

private:
    void activate();

    TestFileSystem m_files;
    std::unique_ptr<ui::ScriptedDialogs> m_dialogs;
    std::unique_ptr<ui::ScopedDialogs> m_installed;
    std::unique_ptr<shell::Windows> m_windows;
    int m_endings = 0;
};

} // namespace testsupport

#pragma once
// The document controller TForm3: never shown; holds the open, save, notes,
// About and close-at-exit commands that the editor window's menu forwards to.

#include "editor/document_commands.h"

#include <QWidget>

#include <functional>

namespace doc {
class FileSession;
}
namespace editor {
class TForm6;
}

namespace shell {

class TForm1;
class TForm4;

class TForm3 : public QWidget, public editor::DocumentCommands {
    Q_OBJECT
public:
    explicit TForm3(doc::FileSession& session, QWidget* parent = nullptr);

    void setWindows(TForm1* startWindow, TForm4* notesWindow, editor::TForm6* editorWindow);

    void Open1Click(QObject* sender) override;
    /** Saves both files; reselects the last row when the sender is "Add Record", else the row
     * that was selected. */
    void Save1Click(QObject* sender) override;
    void Notes1Click(QObject* sender) override;
    void About1Click(QObject* sender) override;
    void FormClose(QObject* sender) override;

    /** What ending the program does; quits the event loop unless a test replaces it. */
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

private:
    doc::FileSession& m_session;
    TForm1* m_form1 = nullptr;
    TForm4* m_form4 = nullptr;
    editor::TForm6* m_form6 = nullptr;
    std::function<void()> m_endProgram;
};

} // namespace shell

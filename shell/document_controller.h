#pragma once
// The document controller TForm3: never shown; the editor window's menu and
// close event forward to its handlers, which are entries into the document's
// flows (editor::Document) and the notes window and About box.

#include "editor/document_commands.h"

#include <QWidget>

#include <functional>

namespace editor {
class Document;
}

namespace shell {

class TForm1;
class TForm4;

class TForm3 : public QWidget, public editor::DocumentCommands {
    Q_OBJECT
public:
    TForm3(editor::Document& document, TForm1& startWindow, TForm4& notesWindow,
           QWidget* parent = nullptr);

    /** Hides the start window and runs the open operation. */
    void Open1Click(QObject* sender) override;
    /** Saves both files; the editor window's row stays selected. */
    void Save1Click(QObject* sender) override;
    /** Loads the notes file (unless the notes hold unsaved changes) and shows the notes window. */
    void Notes1Click(QObject* sender) override;
    /** The About box, over the window that asks for it. */
    void About1Click(QObject* sender) override;
    /** Close at exit, then the notes question when the notes hold unsaved changes, then the end
     * of the program. */
    void FormClose(QObject* sender) override;

    /** What ending the program does; quits the event loop unless a test replaces it. */
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

private:
    editor::Document& m_document;
    TForm1& m_startWindow;
    TForm4& m_notesWindow;
    std::function<void()> m_endProgram;
};

} // namespace shell

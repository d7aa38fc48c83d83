#pragma once
// The start window TForm1: the warning text, the button that opens the editor
// window, and the entry to the open operation.

#include "ui/forms/start_form.h"

namespace editor {
class Document;
class TForm6;
} // namespace editor

namespace shell {

class TForm1 : public ui::StartForm {
    Q_OBJECT
public:
    TForm1(editor::Document& document, editor::TForm6& editorWindow, QWidget* parent = nullptr);

    /** Hides this window for good and shows the editor window. */
    void Button5Click() override;
    /** The open operation (editor::Document::open). */
    void Button3Click();

private:
    editor::Document& m_document;
    editor::TForm6& m_editorWindow;
};

} // namespace shell

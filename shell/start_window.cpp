#include "shell/start_window.h"

#include "editor/document.h"
#include "editor/editor_window.h"

namespace shell {

TForm1::TForm1(editor::Document& document, editor::TForm6& editorWindow, QWidget* parent)
    : ui::StartForm(parent), m_document(document), m_editorWindow(editorWindow) {}

void TForm1::Button5Click() {
    hide();
    m_editorWindow.show();
}

void TForm1::Button3Click() {
    m_document.open();
}

} // namespace shell

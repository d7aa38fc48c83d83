#include "shell/notes_window.h"

namespace shell {

TForm4::TForm4(QWidget* parent) : ui::NotesForm(parent) {}

} // namespace shell

#pragma once
// The notes window TForm4, shown beside the editor window by "Notes".

#include "ui/notes_form.h"

namespace shell {

class TForm4 : public ui::NotesForm {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

} // namespace shell

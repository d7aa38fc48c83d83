#pragma once
// The notes window TForm4, shown beside the editor window by "Notes": its text lives in the notes
// file, loaded when the window is shown and saved by its "Save"; "Font" sets the text's font.

#include "shell/notes_file.h"
#include "ui/dialogs/dialogs.h"
#include "ui/forms/notes_form.h"

namespace shell {

class TForm4 : public ui::NotesForm {
    Q_OBJECT
public:
    explicit TForm4(NotesFile file = NotesFile(), QWidget* parent = nullptr);

    /** "Notes": loads the notes file unless the window holds unsaved notes, then shows the
     * window. A failing load throws and leaves the window as it was (hidden stays hidden). */
    void loadAndShow();
    /** Writes the notes to the notes file; throws, keeping them unsaved, when that fails. */
    void saveNotes();
    /** Whether the text changed since it was last loaded or saved. */
    bool hasUnsavedNotes() const;

    const NotesFile& notesFile() const { return m_file; }

protected:
    void Save1Click() override;
    void Font1Click() override;
    void FontDlg1Apply() override;

private:
    /** The font for the whole text and what is typed next; it is also where the dialog starts. */
    void applyFont(const ui::Dialogs::FontChoice& choice);

    NotesFile m_file;
    ui::Dialogs::FontChoice m_font;       // last confirmed or applied
    ui::Dialogs::FontChoice m_dialogFont; // shown in the dialog when "Apply" was pressed
};

} // namespace shell

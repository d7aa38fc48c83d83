#include "shell/notes_window.h"

#include "ui/artwork/fonts.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace shell {

TForm4::TForm4(NotesFile file, QWidget* parent)
    : ui::NotesForm(parent),
      m_file(std::move(file)), m_font{ui::fonts::msSansSerif(11), QColor(Qt::black)} {}

void TForm4::loadAndShow() {
    // Unsaved notes are never replaced by the file's.
    if (!hasUnsavedNotes())
        m_file.load(*RichEdit1->document());
    show();
    raise();
    activateWindow();
}

void TForm4::saveNotes() {
    m_file.save(*RichEdit1->document());
    RichEdit1->document()->setModified(false);
}

bool TForm4::hasUnsavedNotes() const {
    return RichEdit1->document()->isModified();
}

void TForm4::Save1Click() {
    saveNotes();
}

void TForm4::Font1Click() {
    const auto chosen = ui::Dialogs::current().chooseFont(
        this, m_font, [this](const ui::Dialogs::FontChoice& shown) {
            m_dialogFont = shown;
            FontDlg1Apply();
        });
    if (chosen)
        applyFont(*chosen);
}

void TForm4::FontDlg1Apply() {
    applyFont(m_dialogFont);
}

void TForm4::applyFont(const ui::Dialogs::FontChoice& choice) {
    m_font = choice;
    QTextCharFormat format;
    format.setFont(choice.font, QTextCharFormat::FontPropertiesAll);
    format.setForeground(choice.colour);
    // Loaded text carries its own formats, so the font is merged over every character as well as
    // made the default for what is typed next.
    if (!RichEdit1->document()->isEmpty()) {
        QTextCursor all(RichEdit1->document());
        all.select(QTextCursor::Document);
        all.mergeCharFormat(format);
    }
    RichEdit1->document()->setDefaultFont(choice.font);
    RichEdit1->setCurrentCharFormat(format);
}

} // namespace shell

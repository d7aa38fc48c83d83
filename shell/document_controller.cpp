#include "shell/document_controller.h"

#include "editor/document.h"
#include "shell/about_box.h"
#include "shell/notes_window.h"
#include "shell/start_window.h"
#include "ui/dialogs/dialogs.h"

#include <QCoreApplication>

namespace shell {

TForm3::TForm3(editor::Document& document, TForm1& startWindow, TForm4& notesWindow,
               QWidget* parent)
    : QWidget(parent), m_document(document), m_startWindow(startWindow), m_notesWindow(notesWindow),
      m_endProgram([] { QCoreApplication::quit(); }) {
    setWindowTitle(QStringLiteral("Click Open to open a OBJDAT File."));
}

void TForm3::Open1Click(QObject*) {
    m_startWindow.hide();
    m_startWindow.Button3Click();
}

void TForm3::Save1Click(QObject*) {
    m_document.save();
}

void TForm3::Notes1Click(QObject*) {
    m_notesWindow.loadAndShow();
}

void TForm3::About1Click(QObject* sender) {
    AboutBox about(qobject_cast<QWidget*>(sender));
    about.exec();
}

void TForm3::FormClose(QObject* sender) {
    m_document.offerSaveAtExit();
    // Notes are never dropped without asking. A save that fails keeps the program running, and
    // the data files stay open until nothing can stop the end any more.
    if (m_notesWindow.hasUnsavedNotes() &&
        ui::Dialogs::current().confirm(qobject_cast<QWidget*>(sender),
                                       QStringLiteral("Do you wish to save the notes?")) ==
            ui::Dialogs::Answer::Yes)
        m_notesWindow.saveNotes();
    m_document.closeFiles();
    m_endProgram();
}

} // namespace shell

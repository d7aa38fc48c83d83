#include "shell/document_controller.h"

#include "document/file_session.h"
#include "editor/editor_window.h"
#include "shell/about_box.h"
#include "shell/notes_window.h"
#include "shell/start_window.h"
#include "ui/dialogs.h"
#include "ui/record_list.h"

#include <QAction>
#include <QCoreApplication>
#include <QPushButton>

namespace shell {

TForm3::TForm3(doc::FileSession& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_endProgram([] { QCoreApplication::quit(); }) {
    setWindowTitle(QStringLiteral("Click Open to open a OBJDAT File."));
}

void TForm3::setWindows(TForm1* startWindow, TForm4* notesWindow, editor::TForm6* editorWindow) {
    m_form1 = startWindow;
    m_form4 = notesWindow;
    m_form6 = editorWindow;
}

void TForm3::Open1Click(QObject*) {
    m_form1->hide();
    m_form1->Button3Click();
    m_form6->LMDButton1Click();
    // The caption names the document that is open, which a failed or cancelled open keeps.
    m_form6->setWindowTitle(QStringLiteral("Editing ") +
                            QString::fromStdString(m_session.dataPath()));
    m_form6->syncRecordViewEnabled();
}

void TForm3::Save1Click(QObject* sender) {
    const bool fromAddRecord = sender != nullptr && sender == m_form6->LMDButton2;
    const int row = fromAddRecord ? m_session.table().lastIndex : m_form6->LMDLB1->selectedIndex();
    m_session.save();
    m_form6->Save1->setEnabled(false);
    m_form6->LMDButton1Click();
    m_form6->LMDLB1->setSelectedIndex(row);
    m_form6->syncRecordViewEnabled();
}

void TForm3::Notes1Click(QObject*) {
    m_form4->show();
    m_form4->raise();
}

void TForm3::About1Click(QObject*) {
    AboutBox about(m_form6);
    about.exec();
}

void TForm3::FormClose(QObject*) {
    if (m_form6->Save1->isEnabled() &&
        ui::Dialogs::current().confirm(m_form6,
                                       QStringLiteral("Do you wish to save the changes?")) ==
            ui::Dialogs::Answer::Yes) {
        ui::Dialogs::current().information(m_form6, QStringLiteral("Saving changes."));
        Save1Click(this);
    }
    m_session.close();
    m_endProgram();
}

} // namespace shell

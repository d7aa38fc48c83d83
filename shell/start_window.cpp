#include "shell/start_window.h"

#include "document/file_session.h"
#include "editor/editor_window.h"
#include "shell/document_controller.h"
#include "shell/settings_file.h"
#include "ui/dialogs.h"
#include "ui/percent_spin_box.h"

#include <QAction>

namespace shell {

namespace {
const QString kOpenFilter = QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*");
const QString kFolderPromptInstruction = QStringLiteral("Select OBJDAT File Directory");
} // namespace

TForm1::TForm1(doc::FileSession& session, QWidget* parent)
    : ui::StartForm(parent), m_session(session) {}

void TForm1::setWindows(TForm3* documentController, editor::TForm6* editorWindow) {
    m_form3 = documentController;
    m_form6 = editorWindow;
}

void TForm1::Button5Click() {
    hide();
    m_form6->show();
}

void TForm1::readSettingsIntoDialogAndSpinBoxes() {
    SettingsFile settings;
    if (settings.readStartDir(QString()).isEmpty()) {
        // First run, or a start folder that was never chosen: ask for the data folder. What the
        // prompt holds is written whatever the user did, and both percentages start afresh.
        const QString folder =
            ui::Dialogs::current().browseFolder(m_form6, kFolderPromptInstruction);
        settings.writeStartDir(folder);
        settings.writeDamageScale(100);
        settings.writeSizeScale(100);
    }
    m_cvnopenInitialDir = settings.readStartDir(QStringLiteral("c:\\"));
    m_form6->LMDSE2->setValue(settings.readDamageScale());
    m_form6->LMDSE1->setValue(settings.readSizeScale());
}

void TForm1::Button3Click() {
    readSettingsIntoDialogAndSpinBoxes();

    ui::Dialogs::OpenFileRequest request;
    request.startFolder = m_cvnopenInitialDir;
    request.filter = kOpenFilter;
    request.defaultExtension = QStringLiteral("dat");
    const QString chosen = ui::Dialogs::current().openFile(m_form6, request);

    if (!chosen.isEmpty()) {
        // Unsaved edits are never dropped without asking; a failing save abandons the open.
        if (m_form6->Save1->isEnabled() &&
            ui::Dialogs::current().confirm(m_form6,
                                           QStringLiteral("Do you wish to save the changes?")) ==
                ui::Dialogs::Answer::Yes)
            m_form3->Save1Click(m_form6);

        // The folder is remembered even when the file then cannot be opened.
        SettingsFile().writeStartDir(folderOfPath(chosen));
        m_session.open(chosen.toStdString());
        m_form6->Save1->setEnabled(false);
    }

    m_form6->applyWorkingLayout();
}

} // namespace shell

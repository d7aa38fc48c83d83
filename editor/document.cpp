#include "editor/document.h"

#include "document/file_layout.h"
#include "ui/dialogs.h"

namespace editor {

namespace {
const QString kOpenFilter = QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*");
const QString kFolderPromptInstruction = QStringLiteral("Select OBJDAT File Directory");
const QString kSaveQuestion = QStringLiteral("Do you wish to save the changes?");
constexpr int kFirstScale = 100;
} // namespace

Document::Document(DocumentSettings& settings, doc::FileSystem& fileSystem)
    : m_settings(settings), m_session(fileSystem) {}

QString Document::readSettingsStep() {
    if (m_settings.readStartDir(QString()).isEmpty()) {
        // First run, or a start folder that was never chosen: ask for the data folder. What the
        // prompt holds is written whatever the user did, and both percentages start afresh.
        const QString folder =
            ui::Dialogs::current().browseFolder(m_view->dialogParent(), kFolderPromptInstruction);
        m_settings.writeStartDir(folder);
        m_settings.writeDamageScale(kFirstScale);
        m_settings.writeSizeScale(kFirstScale);
    }
    const QString startFolder = m_settings.readStartDir(QStringLiteral("c:\\"));
    showStoredPercentages();
    return startFolder;
}

void Document::showStoredPercentages() {
    m_view->showPercentages({m_settings.readDamageScale(), m_settings.readSizeScale()});
}

void Document::open() {
    ui::Dialogs::OpenFileRequest request;
    request.startFolder = readSettingsStep();
    request.filter = kOpenFilter;
    request.defaultExtension = QStringLiteral("dat");
    const QString chosen = ui::Dialogs::current().openFile(m_view->dialogParent(), request);

    if (!chosen.isEmpty())
        loadChosen(chosen);
    // The caption names the document that is open, which a failed or cancelled open keeps.
    m_view->showDocument(QString::fromStdString(m_session.dataPath()));
}

void Document::openPath(const QString& path) {
    showStoredPercentages();
    loadChosen(path);
    m_view->showDocument(QString::fromStdString(m_session.dataPath()));
}

void Document::loadChosen(const QString& chosen) {
    // Unsaved edits are never dropped without asking; a failing save abandons the open.
    confirmUnsavedChanges();
    const std::string path = chosen.toStdString();
    // The folder is remembered even when the file then cannot be opened.
    m_settings.writeStartDir(QString::fromStdString(doc::folderOfPath(path)));
    m_session.open(path);
    setUnsaved(false);
}

void Document::save(SaveCaller caller) {
    const int row = caller == SaveCaller::AddRecord ? table().lastIndex : m_view->selectedRow();
    m_session.save();
    setUnsaved(false);
    m_view->refillAndSelect(row);
}

void Document::confirmUnsavedChanges() {
    if (m_unsaved && ui::Dialogs::current().confirm(m_view->dialogParent(), kSaveQuestion) ==
                         ui::Dialogs::Answer::Yes)
        save(SaveCaller::EditorWindow);
}

void Document::closeAtExit() {
    if (m_unsaved && ui::Dialogs::current().confirm(m_view->dialogParent(), kSaveQuestion) ==
                         ui::Dialogs::Answer::Yes) {
        ui::Dialogs::current().information(m_view->dialogParent(),
                                           QStringLiteral("Saving changes."));
        save(SaveCaller::Controller);
    }
    m_session.close();
}

void Document::markUnsaved() {
    setUnsaved(true);
}

void Document::setUnsaved(bool unsaved) {
    m_unsaved = unsaved;
    m_view->showUnsaved(unsaved);
}

} // namespace editor

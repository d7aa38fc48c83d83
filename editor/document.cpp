#include "editor/document.h"

#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/scaling.h"
#include "document/text_forms.h"
#include "editor/record_texts.h"
#include "ui/dialogs.h"

#include <QDir>

namespace editor {

namespace {
const QString kOpenFilter = QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*");
const QString kFolderPromptInstruction = QStringLiteral("Select OBJDAT File Directory");
const QString kSaveQuestion = QStringLiteral("Do you wish to save the changes?");
constexpr int kFirstScale = 100;
// Records 0 to 188 are the game's own objects; "Clear Record" leaves them alone.
constexpr int kFirstClearableRecord = 189;
constexpr unsigned kShadowFactor = 8;
// The shape sizes (fields 4 to 9) and, thirteen fields on, the shadow sizes of the same rows.
constexpr int kFirstShapeField = 4;
constexpr int kShapeFieldCount = 6;
constexpr int kShapeToShadow = 13;
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
    // Without a stored folder the dialog starts in the user's home folder.
    const QString startFolder = m_settings.readStartDir(QDir::homePath());
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

void Document::closeFiles() {
    m_session.close();
}

void Document::offerSaveAtExit() {
    if (m_unsaved && ui::Dialogs::current().confirm(m_view->dialogParent(), kSaveQuestion) ==
                         ui::Dialogs::Answer::Yes) {
        ui::Dialogs::current().information(m_view->dialogParent(),
                                           QStringLiteral("Saving changes."));
        save(SaveCaller::Controller);
    }
}

void Document::markUnsaved() {
    setUnsaved(true);
}

void Document::addRecord() {
    if (table().recordCount() >= doc::kTableCapacity) {
        ui::Dialogs::current().information(
            m_view->dialogParent(),
            QStringLiteral("The file already holds %1 records, the most this editor can hold.")
                .arg(doc::kTableCapacity));
        return;
    }
    m_session.appendRecord();
    const int row = table().lastIndex;
    m_view->showRecordDefaults();
    m_view->storeRecordView(row);
    saveRecordCommand(SaveCaller::AddRecord, row);
}

void Document::clearRecord() {
    const int row = m_view->selectedRow();
    if (row < kFirstClearableRecord) {
        ui::Dialogs::current().information(m_view->dialogParent(),
                                           QStringLiteral("Can not clear core object."));
        return;
    }
    m_view->showRecordDefaults();
    m_view->storeRecordView(row);
    saveRecordCommand(SaveCaller::ClearRecord, row);
}

void Document::saveRecordCommand(SaveCaller caller, int row) {
    try {
        save(caller);
    } catch (...) {
        // The table holds the command's record, so the list and the selection must show it, and
        // the menu's "Save" can write it once the fault is gone.
        setUnsaved(true);
        m_view->refillAndSelect(row);
        throw;
    }
}

void Document::shapeToShadow() {
    if (m_view->selectedRow() < 0)
        return;
    const std::string separator = decimalSeparator();
    for (int shape = kFirstShapeField; shape < kFirstShapeField + kShapeFieldCount; ++shape) {
        // The size as the edit shows it, at full precision: a stored 1.234 shown as 1.23
        // gives 9.84.
        const doc::ExactDecimal size =
            doc::parseExact(m_view->fieldText(shape).toStdString(), separator);
        const std::string shadow = doc::formatGeneral(size.times(kShadowFactor), separator);
        m_view->enterFieldText(shape + kShapeToShadow, QString::fromStdString(shadow));
    }
}

void Document::scaleAll() {
    const doc::ScalePercentages damage{m_settings.readDamageScale(), 0};
    const doc::ScalePercentages size{m_settings.readSizeScale(), 0};
    doc::checkStoredScale(damage.from);
    doc::checkStoredScale(size.from);
    const ScalePercentages wanted = m_view->percentages();
    m_settings.writeDamageScale(wanted.damage);
    m_settings.writeSizeScale(wanted.size);

    const int row = m_view->selectedRow();
    doc::scaleTable(table(), {damage.from, wanted.damage}, {size.from, wanted.size});
    setUnsaved(true);
    m_view->selectRow(row);
    m_view->showSelectedRecord();
}

void Document::setUnsaved(bool unsaved) {
    m_unsaved = unsaved;
    m_view->showUnsaved(unsaved);
}

} // namespace editor

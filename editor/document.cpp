#include "editor/document.h"

#include "document/errors.h"
#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/pair_guard.h"
#include "document/scaling.h"
#include "document/text_forms.h"
#include "editor/record_texts.h"
#include "ui/dialogs/dialogs.h"
#include "ui/user_action.h"

#include <QDir>

#include <utility>

namespace editor {

namespace {
const QString kOpenFilter = QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*");
const QString kFolderPromptInstruction = QStringLiteral("Select OBJDAT File Directory");
const QString kSaveQuestion = QStringLiteral("Do you wish to save the changes?");
constexpr int kFirstScale = 100;
// Records 0 to 188 are the game's own objects; "Clear Record" leaves them alone.
constexpr int kFirstClearableRecord = 189;
constexpr int kShadowFactor = 8;

/** Sets a flag for the lifetime of a scope. */
class Busy {
public:
    explicit Busy(bool& flag) : m_flag(flag), m_was(std::exchange(flag, true)) {}
    ~Busy() { m_flag = m_was; }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    bool& m_flag;
    bool m_was;
};

QString fileNameOf(const std::string& path) {
    return QString::fromStdString(doc::fileNameOf(path));
}
} // namespace

Document::Document(DocumentSettings& settings, doc::FileSystem& fileSystem)
    : m_settings(settings), m_session(fileSystem), m_watcher([this] { noticeDiskChange(); }) {}

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
    afterOpen();
    if (m_loaded)
        m_loaded(chosen);
}

void Document::afterOpen() {
    m_declinedStamp.clear();
    m_watcher.watch({QString::fromStdString(m_session.dataPath()),
                     QString::fromStdString(m_session.namesPath())});
    if (!m_session.recoveryNotice().empty())
        ui::Dialogs::current().information(
            m_view->dialogParent(), QString::fromStdString(m_session.recoveryNotice()) + u'.');
}

void Document::save() {
    saveSelecting(m_view->selectedRow());
}

void Document::saveSelecting(int rowToSelect) {
    if (!writeTable())
        return;
    setUnsaved(false);
    m_view->refillAndSelect(rowToSelect);
}

bool Document::writeTable() {
    const Busy busy(m_busy);
    try {
        m_session.save();
    } catch (const doc::ChangedOnDiskError& changed) {
        const QString question = QString::fromStdString(changed.fileName()) +
                                 QStringLiteral(" was changed by another program since it was "
                                                "opened.");
        switch (ui::Dialogs::current().confirmOverwrite(m_view->dialogParent(), question)) {
        case ui::Dialogs::Answer::Overwrite:
            m_session.save(doc::FileSession::SaveMode::Overwrite);
            break;
        case ui::Dialogs::Answer::Reload:
            reload();
            return false;
        default:
            throw ui::ActionCancelled();
        }
    }
    // After an overwrite the paths may name other files than before.
    m_watcher.watch({QString::fromStdString(m_session.dataPath()),
                     QString::fromStdString(m_session.namesPath())});
    return true;
}

void Document::reload() {
    const std::string path = m_session.dataPath();
    m_session.open(path);
    setUnsaved(false);
    afterOpen();
    m_view->showDocument(QString::fromStdString(path));
}

void Document::noticeDiskChange() {
    // With unsaved changes the question waits for the next save, which asks before it writes.
    // A change the user chose to keep off is not asked about again until another one comes.
    if (m_busy || m_unsaved || !m_session.isOpen() || m_watcher.stamp() == m_declinedStamp ||
        !m_session.changedOnDisk())
        return;
    const Busy busy(m_busy);
    const QString question = fileNameOf(m_session.dataPath()) +
                             QStringLiteral(" was changed by another program. Reload it?");
    if (ui::Dialogs::current().confirm(m_view->dialogParent(), question) ==
        ui::Dialogs::Answer::Yes)
        reload();
    else
        m_declinedStamp = m_watcher.stamp();
}

void Document::confirmUnsavedChanges() {
    if (m_unsaved && ui::Dialogs::current().confirm(m_view->dialogParent(), kSaveQuestion) ==
                         ui::Dialogs::Answer::Yes)
        save();
}

void Document::closeFiles() {
    m_session.close();
}

void Document::offerSaveAtExit() {
    if (m_unsaved && ui::Dialogs::current().confirm(m_view->dialogParent(), kSaveQuestion) ==
                         ui::Dialogs::Answer::Yes) {
        ui::Dialogs::current().information(m_view->dialogParent(),
                                           QStringLiteral("Saving changes."));
        save();
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
    putRecordDefaults(row);
    saveRecordCommand(row);
}

void Document::clearRecord() {
    const int row = m_view->selectedRow();
    if (row < kFirstClearableRecord) {
        ui::Dialogs::current().information(m_view->dialogParent(),
                                           QStringLiteral("Can not clear core object."));
        return;
    }
    putRecordDefaults(row);
    saveRecordCommand(row);
}

void Document::putRecordDefaults(int row) {
    auto& record = table().records[static_cast<std::size_t>(row)];
    auto& slot = table().names[static_cast<std::size_t>(row)];
    record = doc::defaultRecord();
    // The slot's bytes after the name keep what they held, as after any name written.
    doc::writeNameSlot(
        slot, std::u32string(doc::kDefaultObjectName.begin(), doc::kDefaultObjectName.end()));
    m_view->showRecordDefaults();
}

void Document::saveRecordCommand(int row) {
    try {
        saveSelecting(row);
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
    for (const int shape : doc::kShapeSizeFields) {
        // The size as the edit shows it, at full precision: a stored 1.234 shown as 1.23
        // gives 9.84.
        const long double size =
            doc::parseExtended(m_view->fieldText(shape).toStdString(), separator);
        const std::string shadow = doc::formatGeneral(size * kShadowFactor, separator);
        m_view->enterFieldText(doc::shadowFieldOf(shape), QString::fromStdString(shadow));
    }
}

void Document::scaleAll() {
    const ScaleFactors stored{m_settings.readDamageScale(), m_settings.readSizeScale()};
    doc::checkStoredScale(stored.damage);
    doc::checkStoredScale(stored.size);
    const ScaleFactors wanted = m_view->percentages();
    m_settings.writeDamageScale(wanted.damage);
    m_settings.writeSizeScale(wanted.size);

    const int row = m_view->selectedRow();
    doc::scaleTable(table(), {stored.damage, wanted.damage}, {stored.size, wanted.size});
    setUnsaved(true);
    m_view->selectRow(row);
    m_view->showSelectedRecord();
}

void Document::setUnsaved(bool unsaved) {
    m_unsaved = unsaved;
    m_view->showUnsaved(unsaved);
}

} // namespace editor

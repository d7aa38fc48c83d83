#include "editor/document.h"

#include "document/errors.h"
#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/pair_guard.h"
#include "document/scaling.h"
#include "document/text_forms.h"
#include "tabletext/record_text.h"
#include "ui/decimal_separator.h"
#include "ui/dialogs/dialogs.h"
#include "ui/user_action.h"

#include <QDir>

#include <algorithm>
#include <new>
#include <utility>

namespace editor {

namespace {
const QString kOpenFilter = QStringLiteral("OBJDAT|obj*.dat|Dat Files|*.dat|All Files|*.*");
const QString kFolderPromptInstruction = QStringLiteral("Select OBJDAT File Directory");
const QString kSaveQuestion = QStringLiteral("Do you wish to save the changes?");
constexpr int kFirstScale = 100;

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
    : m_settings(settings), m_fileSystem(fileSystem), m_session(fileSystem),
      m_watcher([this] { noticeDiskChange(); }) {}

Document::~Document() {
    m_view = nullptr;
}

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

QString Document::askForDataFile(const QString& title, const QString& startFolder) {
    ui::Dialogs::OpenFileRequest request;
    request.title = title;
    request.startFolder = startFolder;
    request.filter = kOpenFilter;
    request.defaultExtension = QStringLiteral("dat");
    return ui::Dialogs::current().openFile(m_view->dialogParent(), request);
}

QString Document::chooseDataFile(const QString& title) {
    return askForDataFile(title, m_settings.readStartDir(QDir::homePath()));
}

void Document::open() {
    const QString chosen = askForDataFile(QString(), readSettingsStep());

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
    startHistory();
    setUnsaved(false);
    tableChanged(kAllRows);
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
    endTyping();
    saveSelecting(m_view->selectedRow());
}

void Document::saveSelecting(int rowToSelect) {
    // Until the save is through, what the files hold is not known: a failure that could not be
    // undone leaves files that match no table.
    m_filesHoldKnown = false;
    if (!writeTable())
        return;
    rememberFilesHold();
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
    startHistory();
    setUnsaved(false);
    tableChanged(kAllRows);
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
    const StepScope step(*this, QStringLiteral("Add Record"), table().lastIndex + 1);
    if (table().recordCount() >= doc::kTableCapacity) {
        ui::Dialogs::current().information(m_view->dialogParent(),
                                           QString::fromStdString(doc::tableFullMessage()));
        return;
    }
    m_session.appendRecord();
    const int row = table().lastIndex;
    putRecordDefaults(row);
    saveRecordCommand(row);
}

void Document::clearRecord() {
    const int row = m_view->selectedRow();
    const StepScope step(*this, QStringLiteral("Clear Record"), row);
    if (row < doc::kFirstClearableRecord) {
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
    tableChanged(kAllRows);
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
    // Its six write-backs are one step.
    const StepScope step(*this, QStringLiteral("Shape Data to Shadow Data"), m_view->selectedRow());
    const std::string separator = ui::decimalSeparatorUtf8();
    for (const int shape : doc::kShapeSizeFields) {
        // The size as the edit shows it, at full precision: a stored 1.234 shown as 1.23
        // gives 9.84.
        const doc::ExactDecimal size =
            doc::parseExact(m_view->fieldText(shape).toStdString(), separator);
        const std::string shadow = doc::formatGeneral(size.times(doc::kShadowFactor), separator);
        m_view->enterFieldText(doc::shadowFieldOf(shape), QString::fromStdString(shadow));
    }
}

void Document::scaleAll() {
    // With no row selected the command ends showing record 0.
    const StepScope step(*this, QStringLiteral("Apply to All Objects"),
                         std::max(m_view->selectedRow(), 0));
    const ScaleFactors stored{m_settings.readDamageScale(), m_settings.readSizeScale()};
    doc::checkStoredScale(stored.damage);
    doc::checkStoredScale(stored.size);
    const ScaleFactors wanted = m_view->percentages();
    m_settings.writeDamageScale(wanted.damage);
    m_settings.writeSizeScale(wanted.size);
    m_history.setPercentages({stored, wanted});

    const int row = m_view->selectedRow();
    doc::scaleTable(table(), {stored.damage, wanted.damage}, {stored.size, wanted.size});
    tableChanged(kAllRows);
    setUnsaved(true);
    m_view->selectRow(row);
    m_view->showSelectedRecord();
}

int Document::addTableListener(TableListener listener) {
    m_tableListeners.emplace_back(m_nextListenerKey, std::move(listener));
    return m_nextListenerKey++;
}

void Document::removeTableListener(int key) {
    std::erase_if(m_tableListeners, [key](const auto& entry) { return entry.first == key; });
}

void Document::tableChanged(int row) {
    // A copy: a listener may remove itself (a window closing on the change).
    const auto listeners = m_tableListeners;
    for (const auto& [key, listener] : listeners)
        listener(row);
}

void Document::setUnsaved(bool unsaved) {
    m_unsaved = unsaved;
    m_view->showUnsaved(unsaved);
}

// ---- the undo history

Document::StepScope::StepScope(Document& document, const QString& name, int row)
    : Command(document), m_document(document) {
    document.m_history.begin(document.table(), name, row);
}

Document::StepScope::~StepScope() {
    try {
        m_document.m_history.end(m_document.table());
    } catch (const std::bad_alloc&) {
        // Without the memory to keep it the step is lost; the table stays as the command left it.
    }
    m_document.m_view->showHistory();
}

void Document::startHistory() {
    // Forgotten with the history: nothing of it is recorded.
    m_history.reset();
    m_typing.reset();
    rememberFilesHold();
    m_view->showHistory();
}

void Document::rememberFilesHold() {
    m_filesHold = table();
    m_filesHoldKnown = true;
}

bool Document::tableMatchesFiles() const {
    const doc::ObjectTable& now = table();
    if (!m_filesHoldKnown || now.lastIndex != m_filesHold.lastIndex)
        return false;
    const auto end = static_cast<std::ptrdiff_t>(now.recordCount());
    return std::equal(now.records.begin(), now.records.begin() + end,
                      m_filesHold.records.begin()) &&
           std::equal(now.names.begin(), now.names.begin() + end, m_filesHold.names.begin());
}

QString Document::undoName() const {
    return m_history.undoName(table());
}

QString Document::redoName() const {
    return m_history.redoName(table());
}

void Document::writePercentages(ScaleFactors percentages) {
    m_settings.writeDamageScale(percentages.damage);
    m_settings.writeSizeScale(percentages.size);
}

void Document::undo() {
    moveThroughHistory(true);
}

void Document::redo() {
    moveThroughHistory(false);
}

void Document::moveThroughHistory(bool back) {
    endTyping();
    const HistoryStep* next = back ? m_history.nextUndo() : m_history.nextRedo();
    if (!next)
        return;
    // The next "Apply" computes from the percentages the table is at again.
    const auto percentages = [back](const HistoryStep& step) {
        return back ? step.percentages->before : step.percentages->after;
    };
    if (next->percentages)
        writePercentages(percentages(*next));
    const HistoryStep& step = back ? m_history.undo(table()) : m_history.redo(table());
    if (step.percentages)
        m_view->showPercentages(percentages(step));
    showHistoryStep(step);
}

void Document::showHistoryStep(const HistoryStep& step) {
    tableChanged(kAllRows);
    setUnsaved(!tableMatchesFiles());
    // An undone "Add Record" takes its record away: the last one is shown instead.
    m_view->refillAndSelect(std::min(step.row, static_cast<int>(table().lastIndex)));
    m_view->showSelectedRecord();
    m_view->showHistory();
}

Document::TypingStep::TypingStep(Document& document, int row, doc::CellPart part, bool goesOn)
    : row(row), part(part), goesOn(goesOn), m_document(document) {
    document.m_history.begin(document.table(), QString::fromStdString(doc::stepName({row, part})),
                             row);
}

Document::TypingStep::~TypingStep() {
    try {
        m_document.m_history.end(m_document.table());
    } catch (const std::bad_alloc&) {
        // As a command's step: without the memory to keep it the step is lost.
    }
    if (m_document.m_view)
        m_document.m_view->showHistory();
}

void Document::typingInto(int row, doc::CellPart part) {
    // Without a row nothing is written; a command's own write-backs are in its step.
    if (row < 0 || (m_history.isOpen() && !m_typing))
        return;
    if (m_typing && m_typing->goesOnWith(row, part))
        return;
    endTyping();
    m_typing.emplace(*this, row, part, true);
}

void Document::toggling(int row, doc::CellPart part) {
    typingInto(row, part);
    if (m_typing && m_typing->row == row && m_typing->part == part)
        m_typing->goesOn = false;
}

void Document::recordShown(int row) {
    if (m_typing && m_typing->row != row)
        endTyping();
}

void Document::applyTable(const doc::ObjectTable& newTable, const QString& name, int row) {
    {
        const StepScope step(*this, name, row);
        table() = newTable;
    }
    tableChanged(kAllRows);
    setUnsaved(true);
    m_view->refillAndSelect(row);
    m_view->showSelectedRecord();
}

void Document::pasteRecords(const QString& text) {
    endTyping();
    const int row = m_view->selectedRow();
    if (row < 0)
        return;
    const tabletext::ImportPlan plan = tabletext::planPaste(table(), row, text.toStdString());
    plan.refusal.throwIfRefused();
    applyTable(plan.result, QStringLiteral("Paste into Record"), row);
}

} // namespace editor

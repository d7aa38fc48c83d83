#pragma once
// The open document and every flow that changes it: open, save, the question
// about unsaved changes, close at exit, the record commands and global scaling.
// It owns the file session and the unsaved-changes state; the editor window
// shows them through DocumentView, and the windows' handlers are one-line
// entries into the operations here.

#include "document/cell.h"
#include "document/file_session.h"
#include "editor/disk_watcher.h"
#include "editor/document_settings.h"
#include "editor/document_view.h"
#include "editor/history.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace editor {

class Document {
public:
    explicit Document(DocumentSettings& settings,
                      doc::FileSystem& fileSystem = doc::FileSystem::real());
    /** The windows it showed may be gone by then: an open typing step goes without a word. */
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    /** The editor window; set once before any flow runs. Not owned. */
    void setView(DocumentView* view) { m_view = view; }

    doc::ObjectTable& table() { return m_session.table(); }
    const doc::ObjectTable& table() const { return m_session.table(); }
    /** Whether a data file and its names file are open. */
    bool isOpen() const { return m_session.isOpen(); }

    /** The settings step (asking for the data folder on the first run, the stored percentages
     * into the spin boxes), the open dialog, and unless it is cancelled: the question about
     * unsaved changes, the start folder remembered, the data file and its names file loaded.
     * Then the document is shown. Throws at the first failing step; a failed load leaves the
     * document that was open as it was. */
    void open();

    /** The open of a data file named at start-up or dropped onto the editor window, with the
     * steps of open() that follow the dialog: the stored percentages into the spin boxes (no
     * folder prompt, no dialog), the question about unsaved changes, the start folder
     * remembered, the file loaded and the document shown. path is absolute, as the dialog gives
     * it. Throws at the first failing step, before the document is shown. */
    void openPath(const QString& path);

    /** The open dialog of "Open" (its filters), titled title and starting in the folder "Open"
     * remembered (the home folder when none), without the settings step: the path confirmed, or
     * an empty text when cancelled. Nothing is loaded. */
    QString chooseDataFile(const QString& title);
    /** What the pair is read through; other files the editor reads go through it too. */
    doc::FileSystem& fileSystem() { return m_fileSystem; }

    /** Told the path of every data file an open loads (the desktop's recent files). */
    void setLoadedListener(std::function<void(const QString& path)> listener) {
        m_loaded = std::move(listener);
    }

    /** Writes every name slot and record in place, clears the unsaved state, refills the list and
     * selects again the row that was selected. Throws when the files cannot be written; the
     * unsaved state then stays. When another program changed the pair since it was read, asks
     * first: "&Overwrite" writes the table all the same, "&Reload" reads the pair again instead
     * (the changes are dropped) and "&Cancel" writes nothing and abandons the command (throws
     * ui::ActionCancelled). */
    void save();

    /** With unsaved changes: asks "Do you wish to save the changes?"; Yes saves. */
    void confirmUnsavedChanges();

    /** Close at exit, first step: with unsaved changes asks whether to save them (Yes: "Saving
     * changes.", then the save). Throws when the save fails, so the program goes on running with
     * its files open. */
    void offerSaveAtExit();
    /** Close at exit, last step: closes both files; throws when a close fails. */
    void closeFiles();

    /** A change reached the table (a field's write-back, a check box). */
    void markUnsaved();

    /** "Add Record": a record with the defaults after the last one, shown in the record view,
     * then the whole table saved and the new row selected. A full table is refused with a notice
     * and nothing changes. Should the save fail, the new row stays in the table and selected and
     * the changes stay unsaved; the file's count names it only after a successful save. */
    void addRecord();
    /** "Clear Record": the selected record back to the defaults, then the whole table saved.
     * Refuses the core objects below 189 (and no selection) with a notice. A failing save leaves
     * the changes unsaved and the row selected. */
    void clearRecord();
    /** "Shape Data to Shadow Data": each shadow size becomes eight times the shape size shown on
     * its row, one write-back per pair; stops at a shape text that does not convert, the pairs
     * before it done. Nothing without a selected row. */
    void shapeToShadow();
    /** "Apply to All Objects": rescales damage and sizes of every record doc::isScaled from the
     * stored percentages to the spin boxes' ones, which are stored first. A stored percentage of
     * 0 or below is refused before anything is written or changed. */
    void scaleAll();

    // ---- the undo history: one per open pair, emptied by every open, without a depth limit.
    // A step is the typing in one field of one record (from its first keystroke until another
    // field takes the keystrokes, another record is shown or a command runs), a check-box toggle,
    // or one command that changed the table or the stored percentages.

    /** What "Undo" would take back ("Damage of record 12", "Apply to All Objects"), or an empty
     * text when there is nothing. */
    QString undoName() const;
    /** What "Redo" would do again, or an empty text. */
    QString redoName() const;
    /** Puts the table back as it was before the last step, bit for bit (and the percentages it
     * stored, into the settings and the spin boxes), refills the list and shows the record the
     * step concerns as a click shows it. "Save" is enabled then, unless the table is again what
     * the files hold. The files are not touched. Nothing when there is nothing to undo; a failing
     * write of the settings throws before the table changes. */
    void undo();
    /** Does the last undone step again, with the same result bit for bit, shown as undo() shows
     * it. */
    void redo();

    /** A keystroke of field (or the name) of record row is about to be written back. */
    void typingInto(int row, doc::CellPart part);
    /** A check box of record row is about to be written back: a step of its own. */
    void toggling(int row, doc::CellPart part);
    /** The record view now shows record row; typing into another record has ended. */
    void recordShown(int row);

    /** One command of the user's, as a scope around it: made before the command acts, it ends
     * the step of the typing so far, whatever the command then does or wherever it stops. Every
     * command outside Document runs inside one (the editor window's "Edit" items all do); no
     * caller ends the typing by hand. */
    class Command {
    public:
        explicit Command(Document& document) { document.endTyping(); }
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;
    };

    /** Puts newTable in place of the table as one step called name about record row (which must
     * exist in newTable), then as after any change: "Save" enabled, the list refilled and record
     * row shown as a click shows it. The next save writes newTable's count. */
    void applyTable(const doc::ObjectTable& newTable, const QString& name, int row);
    /** "Paste into Record": table text (tab- or comma-separated, as "Copy Record" and
     * spreadsheets write it) into the selected record and the ones after it, as one step. Every
     * cell is checked first by the import's rules; a bad one, or a line past the last record,
     * throws doc::Error listing each as the import reports it, and nothing changes. Nothing
     * without a selected row. */
    void pasteRecords(const QString& text);

    // ---- other views of the table (the table view, a comparison) follow it through listeners.
    /** Row of a change that may have touched any record, added or removed some. */
    static constexpr int kAllRows = -1;
    using TableListener = std::function<void(int row)>;
    /** listener is told after every change of the table: the row when only that record (its
     * fields or its name) changed, kAllRows otherwise (an open, a reload, a command, an undo).
     * Returns the key that removes it. */
    int addTableListener(TableListener listener);
    void removeTableListener(int key);
    /** The editor window stored its record view into record row (a keystroke, a toggle). */
    void recordWrittenBack(int row) { tableChanged(row); }

private:
    /** Records one command as a step: begun when made (ending the typing), ended when gone,
     * also when the command throws, so a step holds whatever the command changed. */
    class StepScope : Command {
    public:
        StepScope(Document& document, const QString& name, int row);
        ~StepScope();

    private:
        Document& m_document;
    };
    /** The typing in one field of one record as a step: begun when made, ended when it goes
     * (another field's typing, another record shown, a command, a new history), on every path
     * as a command's step is. A toggle's does not go on with more. */
    class TypingStep {
    public:
        TypingStep(Document& document, int row, doc::CellPart part, bool goesOn);
        ~TypingStep();
        TypingStep(const TypingStep&) = delete;
        TypingStep& operator=(const TypingStep&) = delete;
        /** Whether a keystroke of part of record row goes on with this step. */
        bool goesOnWith(int row, doc::CellPart part) const {
            return goesOn && this->row == row && this->part == part;
        }

        const int row;
        const doc::CellPart part;
        bool goesOn;

    private:
        Document& m_document;
    };
    /** Ends the step of the typing so far; nothing when none is open. */
    void endTyping() { m_typing.reset(); }
    /** An open, or a reload: the history starts afresh, and the table is what the files hold. */
    void startHistory();
    /** The table now matches the files after a successful open or save. */
    void rememberFilesHold();
    /** Whether the table's records, names and count are those the files hold. */
    bool tableMatchesFiles() const;
    void writePercentages(ScaleFactors percentages);
    /** Undo (back) or redo. */
    void moveThroughHistory(bool back);
    /** After an undo or a redo: "Save", the list and the record of step. */
    void showHistoryStep(const HistoryStep& step);

    void setUnsaved(bool unsaved);
    void tableChanged(int row);
    /** The save, then the list refilled with rowToSelect selected (-1: none). */
    void saveSelecting(int rowToSelect);
    /** "Add Record"'s and "Clear Record"'s first step: row of the table back to the record
     * defaults, and the defaults' texts in the record view. */
    void putRecordDefaults(int row);
    /** The save proper, with the question above; false when the pair was read again instead. */
    bool writeTable();
    /** "Reload": the pair read again, the changes dropped, the document shown anew. */
    void reload();
    /** After a change on disk: with no unsaved changes, asks whether to read the pair again. */
    void noticeDiskChange();
    /** What follows every open: the pair watched, and the user told of a save put back. */
    void afterOpen();
    /** The last step of "Add Record" and "Clear Record": the save, after which row is selected
     * whether it succeeded or not. */
    void saveRecordCommand(int row);
    /** The open dialog with the filters of "Open". */
    QString askForDataFile(const QString& title, const QString& startFolder);
    /** The settings step of the open; returns the open dialog's start folder. */
    QString readSettingsStep();
    void showStoredPercentages();
    /** The open of a chosen file: the question about unsaved changes, the start folder
     * remembered, the data file and its names file loaded. */
    void loadChosen(const QString& chosen);

    DocumentSettings& m_settings;
    doc::FileSystem& m_fileSystem;
    doc::FileSession m_session;
    DocumentView* m_view = nullptr;
    bool m_unsaved = false;
    std::function<void(const QString&)> m_loaded;
    /** A save or a question about the files is under way; a change on disk waits. */
    bool m_busy = false;
    DiskWatcher m_watcher;
    /** The files as they were when the user last chose not to reload them. */
    QString m_declinedStamp;

    std::vector<std::pair<int, TableListener>> m_tableListeners;
    int m_nextListenerKey = 0;

    History m_history;
    /** The typing step open, if any. */
    std::optional<TypingStep> m_typing;
    /** The records, names and count the files hold, when known (a failed save leaves it not). */
    doc::ObjectTable m_filesHold;
    bool m_filesHoldKnown = false;
};

} // namespace editor

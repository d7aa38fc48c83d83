#pragma once
// The open document and every flow that changes it: open, save, the question
// about unsaved changes, close at exit, the record commands and global scaling.
// It owns the file session and the unsaved-changes state; the editor window
// shows them through DocumentView, and the windows' handlers are one-line
// entries into the operations here.

#include "document/file_session.h"
#include "editor/disk_watcher.h"
#include "editor/document_settings.h"
#include "editor/document_view.h"

#include <functional>

namespace editor {

class Document {
public:
    explicit Document(DocumentSettings& settings,
                      doc::FileSystem& fileSystem = doc::FileSystem::real());
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    /** The editor window; set once before any flow runs. Not owned. */
    void setView(DocumentView* view) { m_view = view; }

    doc::ObjectTable& table() { return m_session.table(); }
    const doc::ObjectTable& table() const { return m_session.table(); }

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

private:
    void setUnsaved(bool unsaved);
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
    /** The settings step of the open; returns the open dialog's start folder. */
    QString readSettingsStep();
    void showStoredPercentages();
    /** The open of a chosen file: the question about unsaved changes, the start folder
     * remembered, the data file and its names file loaded. */
    void loadChosen(const QString& chosen);

    DocumentSettings& m_settings;
    doc::FileSession m_session;
    DocumentView* m_view = nullptr;
    bool m_unsaved = false;
    std::function<void(const QString&)> m_loaded;
    /** A save or a question about the files is under way; a change on disk waits. */
    bool m_busy = false;
    DiskWatcher m_watcher;
    /** The files as they were when the user last chose not to reload them. */
    QString m_declinedStamp;
};

} // namespace editor

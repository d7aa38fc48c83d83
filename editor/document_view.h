#pragma once
// What the document's flows need from the editor window. The editor window
// implements it; tests may fake it.

class QString;
class QWidget;

namespace editor {

/** The two percentages of "Scale Factors": the spin boxes', or the stored ones. */
struct ScaleFactors {
    int damage;
    int size;
};

class DocumentView {
public:
    virtual ~DocumentView() = default;

    /** The window the flows' dialogs belong to. */
    virtual QWidget* dialogParent() = 0;

    /** Shows the document after an open (confirmed or cancelled): the working layout, the list
     * refilled with no row selected, the caption "Editing " and dataPath. */
    virtual void showDocument(const QString& dataPath) = 0;
    /** Shows whether there are unsaved changes: the "Save" item is enabled exactly then. */
    virtual void showUnsaved(bool unsaved) = 0;
    /** The undo history changed: "Undo" and "Redo" follow what the document says they would do. */
    virtual void showHistory() = 0;

    /** The selected row, or -1. */
    virtual int selectedRow() = 0;
    /** Refills the list from the table and selects row (-1: none) without showing its record
     * again; the record view keeps what it shows. */
    virtual void refillAndSelect(int row) = 0;

    /** Selects row (-1: none) without showing its record. */
    virtual void selectRow(int row) = 0;
    /** Shows the record of the selected row in the record view; with none selected, row 0. */
    virtual void showSelectedRecord() = 0;

    /** Puts the record defaults into the record view, as texts set by the program. */
    virtual void showRecordDefaults() = 0;
    /** The text of the edit that shows field, exactly as shown. */
    virtual QString fieldText(int field) = 0;
    /** Puts text into the edit that shows field and marks it modified, which writes the record
     * view back as a keystroke would. Throws what the write-back throws. */
    virtual void enterFieldText(int field, const QString& text) = 0;

    /** Puts the stored percentages into the spin boxes (clamped there). */
    virtual void showPercentages(ScaleFactors percentages) = 0;
    /** The spin boxes' percentages as they read now. */
    virtual ScaleFactors percentages() = 0;
};

} // namespace editor

#pragma once
// The single-line edits of the record view: integer, decimal, name and
// record-number edits with their own modified flag and events.
//
// Every way the user can change the text (typed keys, Backspace and Delete,
// cut and paste by keyboard, context menu and middle click, input-method
// commits) runs through one editing routine that filters the input, keeps the
// length limit, sets the modified flag and raises the events. The edit's own
// undo and redo and drag and drop are switched off, because they would bypass
// that routine; the undo and redo keys go to the window's shortcuts instead.

#include <QLineEdit>

#include <functional>
#include <memory>

class QMenu;

namespace ui {

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Kind { Integer, Decimal, Name, RecordNumber };

    /** maxLength 0 means no limit. A record-number edit is read-only. */
    FieldEdit(Kind kind, int maxLength, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    int fieldMaxLength() const { return m_maxLength; }

    /** Program change: nothing when equal; otherwise the text cut to the maximum length, caret at
     * the start, then the change event. Never touches the modified flag. */
    void setFieldText(const QString& text);
    QString fieldText() const { return text(); }

    bool modifiedFlag() const { return m_modified; }
    /** Raises the modified event whenever the flag changes, in both directions. */
    void setModifiedFlag(bool value);

    /** Raised on every change of the modified flag; the flag already holds its new value. */
    std::function<void(FieldEdit&)> onModified;
    /** Raised after every user editing action and every program text change. */
    std::function<void(FieldEdit&)> onChange;

    /** Focus moves here when the mouse pointer enters (every edit but the record number). */
    void setFocusOnHover(bool on) { m_focusOnHover = on; }
    bool focusOnHover() const { return m_focusOnHover; }

    /** The context menu: Cut, Copy, Paste, Delete and Select All, each running as a user action
     * through the editing rules. The caller owns the menu. */
    std::unique_ptr<QMenu> createEditMenu();

    /** Replaces the characters [from, to) with text as the user would: one character as typed,
     * more as pasted, none as Delete of the range; so the same filters, length limit, modified
     * flag and events apply. Runs as a user action. Returns false, changing nothing (caret and
     * selection included), where the user's edit would be refused (read-only or disabled edit,
     * refused character) or the range is not in the text; true once the editing steps ran, even if
     * the limit kept the text unchanged. */
    bool userEdit(int from, int to, const QString& text);

protected:
    /** Undo and redo keys are left to the window's shortcuts: the document's history. */
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class Check { Accepted, PasteRules };

    void handleKey(QKeyEvent* event);
    bool acceptsTyped(const QString& typed) const;
    bool acceptsPaste(const QString& pasted, const QString& remaining, int at) const;

    /** The editing steps: replaces [from, to) by insert (after the paste check when asked),
     * keeping the length limit, then sets the flag and raises the change event. */
    void edit(int from, int to, const QString& insert, Check check);
    // Each returns whether the editing steps ran (false: refused, nothing changed).
    bool typeText(const QString& typed);
    bool pasteText(const QString& clipboardText);
    void backspace(bool wholeWord);
    void deleteForward(bool wholeWord);
    void cutSelection();
    bool deleteSelection();

    int caret() const;
    void raiseChange();

    Kind m_kind;
    int m_maxLength;
    bool m_modified = false;
    bool m_focusOnHover = true;
    // A click that brought the focus keeps the whole text selected until the button is released.
    bool m_holdSelectionForClick = false;
    // Set while the focus is away in a menu or another window, to come back unchanged.
    bool m_focusLeftTemporarily = false;
};

} // namespace ui

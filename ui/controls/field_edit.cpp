#include "ui/controls/field_edit.h"

#include "codepage/windows1252.h"
#include "ui/controls/field_edit_accessible.h"
#include "ui/decimal_separator.h"
#include "ui/user_action.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

namespace ui {

namespace {
constexpr QChar kMinus = u'-';

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// What a name may hold: characters of the names file's code page, no controls.
bool isPrintableWindows1252(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return cp1252::isPrintable(c.unicode()); });
}

// A single-line edit takes clipboard text up to the first line break.
QString firstLine(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\r' || text.at(i) == u'\n')
            return text.left(i);
    }
    return text;
}
} // namespace

FieldEdit::FieldEdit(Kind kind, int maxLength, QWidget* parent)
    : QLineEdit(parent), m_kind(kind), m_maxLength(maxLength < 0 ? 0 : maxLength) {
    // Before setReadOnly and the like, which ask for the edit's interface, and Qt keeps the first.
    FieldEditAccessible::installFactory();
    // Our own limit is enforced by the editing steps; QLineEdit's only backs it up.
    QLineEdit::setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
    setReadOnly(kind == Kind::RecordNumber);
    setFocusOnHover(kind != Kind::RecordNumber);
    setDragEnabled(false);
    setAcceptDrops(false);
    // Numbers are typed; an input method has nothing to compose for them.
    setAttribute(Qt::WA_InputMethodEnabled, kind == Kind::Name);
}

void FieldEdit::setFieldText(const QString& newText) {
    if (newText == text())
        return;
    QLineEdit::setText(m_maxLength > 0 ? newText.left(m_maxLength) : newText);
    setCursorPosition(0);
    raiseChange();
}

void FieldEdit::setModifiedFlag(bool value) {
    if (value == m_modified)
        return;
    m_modified = value;
    // A copy, so a handler that replaces onModified does not destroy the running function.
    if (auto handler = onModified)
        handler(*this);
}

void FieldEdit::raiseChange() {
    if (auto handler = onChange)
        handler(*this);
}

int FieldEdit::caret() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

// ---- filters

bool FieldEdit::acceptsTyped(const QString& typed) const {
    if (typed.isEmpty())
        return false;
    if (m_kind == Kind::Name)
        return isPrintableWindows1252(typed);
    if (m_kind == Kind::RecordNumber)
        return false;

    const QString current = text();
    const int at = caret();
    const bool minusAfterCaret = at < current.size() && current.at(at) == kMinus;
    if (typed.size() == 1 && isAsciiDigit(typed.at(0)))
        return !minusAfterCaret;
    if (typed == QStringView(u"-")) {
        const bool atStartWithoutMinus = at == 0 && !current.contains(kMinus);
        if (m_kind == Kind::Integer)
            return atStartWithoutMinus || (hasSelectedText() && selectionStart() == 0);
        return atStartWithoutMinus;
    }
    if (m_kind == Kind::Decimal && typed == decimalSeparator()) {
        if (current.contains(typed))
            return false;
        const qsizetype lastMinus = current.lastIndexOf(kMinus);
        return lastMinus < at;
    }
    return false;
}

bool FieldEdit::acceptsPaste(const QString& pasted, const QString& remaining, int at) const {
    if (m_kind == Kind::Name)
        return isPrintableWindows1252(pasted);
    if (m_kind == Kind::RecordNumber)
        return false;

    const QString separator = m_kind == Kind::Decimal ? decimalSeparator() : QString();
    // The pasted text alone: digits, at most one leading "-", at most one separator.
    int separators = 0;
    for (qsizetype i = 0; i < pasted.size();) {
        const QChar c = pasted.at(i);
        if (isAsciiDigit(c)) {
            ++i;
        } else if (c == kMinus && i == 0) {
            ++i;
        } else if (!separator.isEmpty() && QStringView(pasted).mid(i).startsWith(separator)) {
            ++separators;
            i += separator.size();
        } else {
            return false;
        }
    }
    if (separators > 1)
        return false;

    // The text it would make: at most one "-", standing first, and at most one separator.
    const QString result = QString(remaining).insert(at, pasted);
    if (result.count(kMinus) > 1 || (result.contains(kMinus) && !result.startsWith(kMinus)))
        return false;
    return separator.isEmpty() || result.count(separator) <= 1;
}

// ---- editing steps

void FieldEdit::edit(int from, int to, const QString& insert, Check check) {
    if (isReadOnly())
        return;
    QString result = text();
    result.remove(from, to - from);
    QString inserted = insert;
    if (check == Check::PasteRules && !acceptsPaste(inserted, result, from))
        inserted.clear();
    if (m_maxLength > 0 && result.size() + inserted.size() > m_maxLength)
        inserted.clear();
    result.insert(from, inserted);

    if (result != text())
        QLineEdit::setText(result);
    setCursorPosition(from + static_cast<int>(inserted.size()));

    setModifiedFlag(true);
    raiseChange();
}

bool FieldEdit::typeText(const QString& typed) {
    if (isReadOnly() || !acceptsTyped(typed))
        return false;
    const int from = caret();
    edit(from, from + static_cast<int>(selectedText().size()), typed, Check::Accepted);
    return true;
}

bool FieldEdit::pasteText(const QString& clipboardText) {
    const QString pasted = firstLine(clipboardText);
    if (isReadOnly() || pasted.isEmpty())
        return false;
    const int from = caret();
    edit(from, from + static_cast<int>(selectedText().size()), pasted, Check::PasteRules);
    return true;
}

bool FieldEdit::deleteSelection() {
    if (isReadOnly() || !hasSelectedText())
        return false;
    const int from = selectionStart();
    edit(from, from + static_cast<int>(selectedText().size()), QString(), Check::Accepted);
    return true;
}

bool FieldEdit::userEdit(int from, int to, const QString& replacement) {
    if (isReadOnly() || !isEnabled() || from < 0 || from > to || to > text().size())
        return false;
    const int cursor = cursorPosition();
    int anchor = cursor;
    if (hasSelectedText())
        anchor = cursor == selectionStart() ? selectionEnd() : selectionStart();
    bool ran = false;
    const bool completed = runUserAction([&] {
        // The range is placed as the user would select it, so the filters see the same caret
        // and selection as for a key or a paste.
        if (to > from)
            setSelection(from, to - from);
        else
            setCursorPosition(from);
        if (replacement.isEmpty())
            ran = deleteSelection();
        else if (replacement.size() == 1)
            ran = typeText(replacement);
        else
            ran = pasteText(replacement);
    });
    // Only the handlers of the events throw, so an error means the steps ran.
    if (completed && !ran)
        setSelection(anchor, cursor - anchor);
    return ran || !completed;
}

void FieldEdit::cutSelection() {
    if (isReadOnly() || !hasSelectedText() || echoMode() != Normal)
        return;
    QGuiApplication::clipboard()->setText(selectedText());
    deleteSelection();
}

void FieldEdit::backspace(bool wholeWord) {
    if (hasSelectedText()) {
        deleteSelection();
        return;
    }
    const int end = cursorPosition();
    if (end == 0 || isReadOnly())
        return;
    int start = end - 1;
    if (wholeWord) {
        cursorWordBackward(false);
        start = cursorPosition();
        setCursorPosition(end);
    }
    edit(start, end, QString(), Check::Accepted);
}

void FieldEdit::deleteForward(bool wholeWord) {
    if (hasSelectedText()) {
        deleteSelection();
        return;
    }
    if (text().isEmpty() || isReadOnly())
        return;
    const int start = cursorPosition();
    int end = std::min(start + 1, static_cast<int>(text().size()));
    if (wholeWord) {
        cursorWordForward(false);
        end = cursorPosition();
        setCursorPosition(start);
    }
    edit(start, end, QString(), Check::Accepted);
}

// ---- user input

bool FieldEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y)) {
            event->ignore();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
    runUserAction([this, event] { handleKey(event); });
}

void FieldEdit::handleKey(QKeyEvent* event) {
    event->accept();
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        return;
    }
    if (event->matches(QKeySequence::DeleteStartOfWord)) {
        backspace(true);
        return;
    }
    if (event->matches(QKeySequence::DeleteEndOfWord)) {
        deleteForward(true);
        return;
    }
    // Undo and redo would restore text behind the editing steps; line-wide deletions are not
    // offered either.
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
        event->matches(QKeySequence::DeleteEndOfLine) ||
        event->matches(QKeySequence::DeleteCompleteLine))
        return;

    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    if (event->key() == Qt::Key_Backspace && !control) {
        backspace(false);
        return;
    }
    if (event->key() == Qt::Key_Delete && !control && !modifiers.testFlag(Qt::ShiftModifier)) {
        deleteForward(false);
        return;
    }

    const QString typed = event->text();
    // Control with Alt is AltGr on some keyboards and types characters.
    const bool typesText = !typed.isEmpty() && typed.at(0).unicode() >= 0x20 &&
                           (!control || modifiers.testFlag(Qt::AltModifier));
    if (typesText) {
        typeText(typed);
        return;
    }

    // Everything else moves the caret, selects, copies or is ignored; should QLineEdit change
    // the text on such a key all the same, the change is taken back.
    const QString before = text();
    const int beforeCursor = cursorPosition();
    QLineEdit::keyPressEvent(event);
    if (text() != before) {
        QLineEdit::setText(before);
        setCursorPosition(beforeCursor);
    }
}

void FieldEdit::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
    const QString commit = event->commitString();
    if (commit.isEmpty())
        return;
    runUserAction([this, commit] {
        if (commit.size() == 1)
            typeText(commit);
        else
            pasteText(commit);
    });
}

std::unique_ptr<QMenu> FieldEdit::createEditMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const bool writable = !isReadOnly();
    const bool selected = hasSelectedText();
    const bool canCopy = selected && echoMode() == Normal;

    auto add = [&](const QString& name, const QString& caption, const QKeySequence& keys,
                   bool enabled, std::function<void()> step) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setEnabled(enabled);
        bindUserAction(action, &QAction::triggered, this, std::move(step));
    };
    add(QStringLiteral("cut"), tr("Cu&t"), QKeySequence::Cut, writable && canCopy,
        [this] { cutSelection(); });
    add(QStringLiteral("copy"), tr("&Copy"), QKeySequence::Copy, canCopy, [this] { copy(); });
    add(QStringLiteral("paste"), tr("&Paste"), QKeySequence::Paste,
        writable && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { pasteText(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
    add(QStringLiteral("delete"), tr("Delete"), QKeySequence(), writable && selected,
        [this] { deleteSelection(); });
    menu->addSeparator();
    add(QStringLiteral("selectAll"), tr("Select All"), QKeySequence::SelectAll, !text().isEmpty(),
        [this] { selectAll(); });
    return menu;
}

void FieldEdit::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = createEditMenu();
    menu->exec(event->globalPos());
    event->accept();
}

namespace {
bool isTemporaryFocusMove(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}
} // namespace

void FieldEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // The focus coming back from a menu or another window is no new arrival: the user's
    // selection stays as it was.
    const bool returning = m_focusLeftTemporarily && isTemporaryFocusMove(event->reason());
    m_focusLeftTemporarily = false;
    if (returning)
        return;
    selectAll();
    m_holdSelectionForClick = event->reason() == Qt::MouseFocusReason;
}

void FieldEdit::focusOutEvent(QFocusEvent* event) {
    m_focusLeftTemporarily = isTemporaryFocusMove(event->reason());
    m_holdSelectionForClick = false;
    QLineEdit::focusOutEvent(event);
}

void FieldEdit::mousePressEvent(QMouseEvent* event) {
    if (m_holdSelectionForClick && event->button() == Qt::LeftButton) {
        event->accept();
        return;
    }
    m_holdSelectionForClick = false;
    if (event->button() == Qt::MiddleButton) {
        // Middle-click paste lands where the user clicked.
        if (!isReadOnly())
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void FieldEdit::mouseMoveEvent(QMouseEvent* event) {
    if (m_holdSelectionForClick) {
        event->accept();
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void FieldEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (m_holdSelectionForClick) {
        m_holdSelectionForClick = false;
        event->accept();
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard->supportsSelection()) {
            const QString pasted = clipboard->text(QClipboard::Selection);
            runUserAction([this, pasted] { pasteText(pasted); });
        }
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FieldEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    m_holdSelectionForClick = false;
    QLineEdit::mouseDoubleClickEvent(event);
}

void FieldEdit::enterEvent(QEnterEvent* event) {
    QLineEdit::enterEvent(event);
    if (m_focusOnHover && isEnabled() && !hasFocus())
        setFocus(Qt::OtherFocusReason);
}

void FieldEdit::dragEnterEvent(QDragEnterEvent* event) {
    event->ignore();
}
void FieldEdit::dragMoveEvent(QDragMoveEvent* event) {
    event->ignore();
}
void FieldEdit::dropEvent(QDropEvent* event) {
    event->ignore();
}

} // namespace ui

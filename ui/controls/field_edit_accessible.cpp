#include "ui/controls/field_edit_accessible.h"

#include "ui/controls/field_edit.h"

#include <QFontMetrics>

namespace ui {

namespace {
QAccessibleInterface* createForFieldEdit(const QString&, QObject* object) {
    if (auto* edit = qobject_cast<FieldEdit*>(object))
        return new FieldEditAccessible(edit);
    return nullptr;
}
} // namespace

FieldEditAccessible::FieldEditAccessible(FieldEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

void FieldEditAccessible::installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&createForFieldEdit);
        return true;
    }();
    Q_UNUSED(installed);
}

FieldEdit* FieldEditAccessible::edit() const {
    return static_cast<FieldEdit*>(widget());
}

void* FieldEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString FieldEditAccessible::text(QAccessible::Text type) const {
    if (type == QAccessible::Value)
        return edit()->text();
    return QAccessibleWidget::text(type);
}

void FieldEditAccessible::setText(QAccessible::Text type, const QString& text) {
    if (type == QAccessible::Value)
        edit()->userEdit(0, characterCount(), text);
}

QAccessible::State FieldEditAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = edit()->isReadOnly();
    state.editable = !state.readOnly;
    state.selectableText = true;
    return state;
}

void FieldEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && edit()->hasSelectedText()) {
        *startOffset = edit()->selectionStart();
        *endOffset = edit()->selectionEnd();
    }
}

int FieldEditAccessible::selectionCount() const {
    return edit()->hasSelectedText() ? 1 : 0;
}

void FieldEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void FieldEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        edit()->deselect();
}

void FieldEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        edit()->setSelection(startOffset, endOffset - startOffset);
}

int FieldEditAccessible::cursorPosition() const {
    return edit()->cursorPosition();
}

void FieldEditAccessible::setCursorPosition(int position) {
    edit()->setCursorPosition(position);
}

QString FieldEditAccessible::text(int startOffset, int endOffset) const {
    if (startOffset < 0 || endOffset < startOffset)
        return {};
    return edit()->text().mid(startOffset, endOffset - startOffset);
}

int FieldEditAccessible::characterCount() const {
    return static_cast<int>(edit()->text().size());
}

QRect FieldEditAccessible::characterRect(int offset) const {
    const QString shown = edit()->text();
    if (offset < 0 || offset >= shown.size())
        return {};
    // Qt tells where the caret stands, scrolling included; the other characters lie at their
    // advance from it.
    const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QFontMetrics metrics = edit()->fontMetrics();
    const int caretX = caret.center().x();
    const int x = caretX + metrics.horizontalAdvance(shown.left(offset)) -
                  metrics.horizontalAdvance(shown.left(edit()->cursorPosition()));
    const QRect local(x, caret.top(), metrics.horizontalAdvance(shown.at(offset)), caret.height());
    return {edit()->mapToGlobal(local.topLeft()), local.size()};
}

int FieldEditAccessible::offsetAtPoint(const QPoint& point) const {
    return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
}

void FieldEditAccessible::scrollToSubstring(int, int endIndex) {
    edit()->setCursorPosition(endIndex);
}

QString FieldEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // Plain text: no attributes anywhere.
    *startOffset = *endOffset = offset;
    return {};
}

void FieldEditAccessible::deleteText(int startOffset, int endOffset) {
    edit()->userEdit(startOffset, endOffset, QString());
}

void FieldEditAccessible::insertText(int offset, const QString& text) {
    edit()->userEdit(offset, offset, text);
}

void FieldEditAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    edit()->userEdit(startOffset, endOffset, text);
}

} // namespace ui

#pragma once
// What assistive technology reads and changes of a field edit. Qt's own line
// edit interface would write with setText, past the filters and the modified
// flag; here every change goes through the edit's user-editing steps, so a
// client may change a field exactly where, and as, the user may type.

#include <QAccessibleWidget>

namespace ui {

class FieldEdit;

class FieldEditAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
public:
    explicit FieldEditAccessible(FieldEdit* edit);

    /** Makes every FieldEdit answer with this interface; later calls do nothing. */
    static void installFactory();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text type) const override;
    /** The value is replaced as a user edit of the whole text. */
    void setText(QAccessible::Text type, const QString& text) override;
    QAccessible::State state() const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    FieldEdit* edit() const;
};

} // namespace ui

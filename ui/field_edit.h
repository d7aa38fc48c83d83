#pragma once
// The single-line edits of the record view: integer, decimal, name and
// record-number edits with their own modified flag and events.

#include <QLineEdit>

#include <functional>

namespace ui {

class FieldEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Kind { Integer, Decimal, Name, RecordNumber };

    FieldEdit(Kind kind, int maxLength, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }

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

    // ... event overrides implementing the user-editing steps and input filters

private:
    Kind m_kind;
    bool m_modified = false;
    bool m_focusOnHover = true;
};

} // namespace ui

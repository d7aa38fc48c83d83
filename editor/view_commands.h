#pragma once
// The windows beside the editor (views/) that the editor window's "Edit" menu opens. The editor
// knows them only through this seam, so views/ depends on editor/ and never the other way.

class QString;
class QWidget;

namespace editor {

class ViewCommands {
public:
    virtual ~ViewCommands() = default;
    /** "Table View": opens the table window over owner, or brings it to the front. */
    virtual void showTable(QWidget* owner) = 0;
    /** "Compare With...": the table against the pair at path, in a window of owner's own. Throws
     * doc::Error when the pair cannot be read. */
    virtual void compareWith(const QString& path, QWidget* owner) = 0;
};

} // namespace editor

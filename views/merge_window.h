#pragma once
// The merge window: the open document's table (MINE) and another modified copy (THEIRS) merged
// against their common original (BASE), or a patch applied as such a merge. Every change of
// either side is listed with its state and its choice; "Apply Merge" brings the chosen values
// into the table as one step of the document's history through Document::applyTable. The list
// follows every change of the table through the document's listeners, and the choices made
// stay with their cells.

#include "document/three_way_merge.h"
#include "ui/forms/merge_form.h"
#include "views/merge_model.h"

#include <functional>
#include <map>
#include <utility>

namespace editor {
class Document;
}

namespace views {

class MergeWindow : public ui::MergeForm {
    Q_OBJECT
public:
    /** "Merge With...": reads the pairs at basePath and theirsPath (neither written, locked for
     * writing or created; a journal of a cut-off save beside either refused) and shows their
     * merge with document's table in a window of parent's own, titled after theirsPath, which
     * deletes itself when closed. Throws doc::Error when a pair cannot be read or the merge is
     * refused, and no window is made. */
    static MergeWindow* open(editor::Document& document, const QString& basePath,
                             const QString& theirsPath, QWidget* parent);
    /** "Apply Patch...": the patch file at path as a merge whose BASE is the table with the
     * patch's "before" values and whose THEIRS is the table with its "after" values. Throws
     * doc::Error when the file cannot be read or is not a patch. */
    static MergeWindow* openPatch(editor::Document& document, const QString& path, QWidget* parent);
    ~MergeWindow() override;

    const MergeModel& model() const { return m_model; }

    /** Sets the choice of every selected row whose change allows it. */
    void chooseSelected(doc::MergeChoice choice);
    /** The chosen values into the table, one step; refused (doc::Error naming the first) while a
     * conflict has no choice, and while the table holds fewer records than BASE. */
    void applyChosen();

private:
    /** BASE and THEIRS laid beside MINE, the table as it is now. */
    using Planner = std::function<doc::MergePlan(const doc::ObjectTable& mine)>;

    MergeWindow(editor::Document& document, const QString& title, Planner planner,
                doc::MergePlan plan, QWidget* parent);
    /** The first plan, then the window with it, shown: throws, making no window, when the
     * planner does. */
    static MergeWindow* makeShown(editor::Document& document, const QString& title, Planner planner,
                                  QWidget* parent);

    void useMineClicked() override { chooseSelected(doc::MergeChoice::Mine); }
    void useTheirsClicked() override { chooseSelected(doc::MergeChoice::Theirs); }
    void keepBothClicked() override { chooseSelected(doc::MergeChoice::KeepBoth); }
    void applyMergeClicked() override { applyChosen(); }

    /** After a change of the table: the changes planned again, the choices made kept. */
    void mergeAgain();
    void syncControls();

    editor::Document& m_document;
    Planner m_planner;
    MergeModel m_model;
    /** The choices made in this window, by record and the code of the cell's part. */
    std::map<std::pair<int, int>, doc::MergeChoice> m_chosen;
    /** Why nothing is listed: the table now holds fewer records than BASE. */
    QString m_refusal;
    int m_listener = -1;
};

} // namespace views

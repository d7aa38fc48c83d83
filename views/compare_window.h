#pragma once
// The comparison window: the open document's table as it is now against
// another data file and its names file, read only, and the takes of the other
// file's values into the document. Each take is one step of the document's
// history through Document::applyTable; the list follows every change of the
// table through the document's listeners.

#include "document/document_reader.h"
#include "document/take_plan.h"
#include "ui/forms/compare_form.h"
#include "views/comparison_model.h"

#include <functional>
#include <vector>

namespace editor {
class Document;
}

namespace views {

class CompareWindow : public ui::CompareForm {
    Q_OBJECT
public:
    /** Reads the pair at path (never written, locked for writing or created; a missing names file
     * reads as empty names; a journal of a cut-off save beside it is refused with its error, not
     * applied) and shows its comparison with document's table in a window of parent's own, which
     * deletes itself when closed. Throws doc::Error when the pair cannot be read, and no window
     * is made. */
    static CompareWindow* open(editor::Document& document, const QString& path, QWidget* parent);
    ~CompareWindow() override;

    const ComparisonModel& model() const { return m_model; }

    /** The other file's value of the current row's cell; a record only the other file has is
     * appended, with every such record before it. Nothing for a record only this file has. */
    void takeCurrentCell();
    /** Every selected row's cell, as one step. */
    void takeSelectedCells();
    /** Every differing cell of the current row's record, or the record appended. */
    void takeCurrentRecord();
    /** Every difference: each cell that differs, every record only the other file has appended. */
    void takeEveryDifference();
    /** Reads the other pair again; when that fails, the comparison stays as it was. */
    void reloadOther();

private:
    void takeCellClicked() override { takeCurrentCell(); }
    void takeSelectedClicked() override { takeSelectedCells(); }
    void takeRecordClicked() override { takeCurrentRecord(); }
    void takeAllClicked() override { takeEveryDifference(); }
    void reloadClicked() override { reloadOther(); }
    void showAllToggled() override;

    CompareWindow(editor::Document& document, const QString& path, doc::StoredDocument other,
                  QWidget* parent);
    doc::TableRows otherRows() const { return {m_other.records, m_other.names}; }
    /** The take planned on the table as it is now: refused (thrown, shown as every refusal)
     * beyond the table's capacity, nothing when nothing changes, else one step called name.
     * A row takes its cell, or the whole record for a record one file has. */
    void take(const std::vector<doc::Cell>& items, const QString& name);
    bool takes(int row) const;
    /** After a change of either table: the rows again, the current cell kept where it stays. */
    void compareAgain();
    /** Runs change of the rows; the current cell stays current where it is still listed, else the
     * row in its place does. */
    void keepingCurrentCell(const std::function<void()>& change);
    void syncControls();

    editor::Document& m_document;
    std::string m_path;
    doc::StoredDocument m_other;
    ComparisonModel m_model;
    int m_listener = -1;
};

} // namespace views

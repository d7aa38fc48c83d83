#pragma once
// The undo history of the open document: each step what one change did to the
// object table, kept as the entries it changed, before and after, bit for bit,
// and the scale percentages it stored. A step is recorded after the fact: the
// table is kept as it was when the step began and compared when it ends, so
// whatever a flow changed, even one that stopped half-way, is in its step.

#include "document/object_table.h"
#include "editor/document_view.h"

#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace editor {

/** What one change did to a table: each entry (record and name slot, at any index, also above
 * the last one) that differs, and the last index, before and after. */
class TableChange {
public:
    /** Compares every entry of the two tables. */
    static TableChange between(const doc::ObjectTable& before, const doc::ObjectTable& after);

    bool isEmpty() const;
    /** Puts the state before the change into every entry it changed, and the last index. */
    void undo(doc::ObjectTable& table) const;
    /** Puts the state after the change into every entry it changed, and the last index. */
    void redo(doc::ObjectTable& table) const;

private:
    struct Entry {
        std::uint16_t index;
        doc::ObjectRecord record[2]; // before, after
        doc::NameSlot name[2];
    };
    std::vector<Entry> m_entries;
    std::uint16_t m_lastIndex[2] = {0, 0};
};

/** The stored percentages before and after a step that applied new ones. */
struct PercentageChange {
    ScaleFactors before;
    ScaleFactors after;
};

struct HistoryStep {
    QString name; // what the menu calls it: "Damage of record 12", "Apply to All Objects"
    int row;      // the record it concerns, shown when it is undone or redone
    TableChange table;
    std::optional<PercentageChange> percentages;
};

class History {
public:
    /** Forgets every step. */
    void reset();

    /** Starts recording a step named name about record row; one still open is ended first. */
    void begin(const doc::ObjectTable& table, const QString& name, int row);
    /** The percentages the open step stored. */
    void setPercentages(const PercentageChange& percentages);
    /** Ends the open step: what changed since it began becomes it, and the steps that were
     * undone are dropped; a step that changed nothing is dropped itself. */
    void end(const doc::ObjectTable& table);
    bool isOpen() const { return m_open.has_value(); }

    /** The name of the step Undo would take back, the open one once it changed table; empty when
     * there is none. */
    QString undoName(const doc::ObjectTable& table) const;
    /** The name of the step Redo would do again; empty when none, or once the open step changed
     * table (ending it drops them). */
    QString redoName(const doc::ObjectTable& table) const;

    /** The step Undo takes back, or nullptr; no step may be open. */
    const HistoryStep* nextUndo() const;
    const HistoryStep* nextRedo() const;
    /** Puts table back to what it was before that step, and returns the step. */
    const HistoryStep& undo(doc::ObjectTable& table);
    /** Does that step again on table, and returns it. */
    const HistoryStep& redo(doc::ObjectTable& table);

private:
    bool openStepChanged(const doc::ObjectTable& table) const;

    // Deques: a long history grows without moving every step it holds.
    std::deque<HistoryStep> m_done;
    std::deque<HistoryStep> m_undone; // the last undone at the back
    std::optional<HistoryStep> m_open;
    /** The table as it was when the open step began. */
    doc::ObjectTable m_base;
};

} // namespace editor

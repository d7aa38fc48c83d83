#pragma once
// The merge of two modified copies of one original table (BASE): MINE and THEIRS. Every field of
// every record, and every name, is unchanged on both sides, changed on one side only (that side's
// value is taken), changed on both sides to the same value (taken once) or changed on both sides
// differently (a conflict, which waits for a choice). Fields compare by their bits (-0.0 and 0.0
// differ, as do two NaN payloads); names compare as text, and the side whose text is taken keeps
// its bytes after the terminator (MINE's when both sides wrote the same text). Records after
// BASE's last that only one side has are appended; the same index appended on both sides is one
// record when the two are equal and a conflict of whole records otherwise, settled by MINE, by
// THEIRS or by keeping both (THEIRS's record then goes after every other). Records are never
// removed: a side with fewer records than BASE is refused. The editor's merge window and
// `cvnobj merge` and `apply` share this engine.

#include "document/cell.h"
#include "document/object_table.h"
#include "document/table_comparison.h"
#include "document/take_plan.h"

#include <array>
#include <string>
#include <vector>

namespace doc {

/** Which side changed a cell. */
enum class MergeState { Mine, Theirs, Both, Conflict };
/** What the merged table takes for a change; None only for a conflict not yet settled. KeepBoth
 * only for a conflict of appended records. */
enum class MergeChoice { None, Mine, Theirs, KeepBoth };

/** The three tables' sides, in the order of a change's values. */
inline constexpr int kBase = 0;
inline constexpr int kMine = 1;
inline constexpr int kTheirs = 2;

/** One cell that either side changed. */
struct MergeChange {
    /** A field or the name of a record, or the record whole: a record after BASE's last. */
    Cell cell;
    MergeState state = MergeState::Conflict;
    /** Proposed: the changing side's (MINE's for Both); None for a conflict. */
    MergeChoice choice = MergeChoice::None;
    /** A field's bits on each side (kBase, kMine, kTheirs). */
    std::array<std::uint32_t, 3> bits{};
    /** A name's slot on each side; of a whole record, its name's slot where the side has it. */
    std::array<NameSlot, 3> names{};
    /** Of a whole record: whether each side has it (BASE never does); the records themselves
     * are the plan's mine and theirs at the same index. */
    std::array<bool, 3> has{};
};

struct MergePlan {
    /** Every change, by record, then the name, the fields in order, a whole record last. */
    std::vector<MergeChange> changes;
    /** The table the merge starts from and keeps every byte of that no change names. */
    ObjectTable mine;
    /** THEIRS, records 0 to its last (what appended records are taken from). */
    ObjectTable theirs;
    int baseCount = 0;
};

/** Throws Error when side holds fewer records than base: a merge never removes records. */
void requireEveryRecordOf(const TableRows& base, const TableRows& side);

/** Every change of MINE or THEIRS against BASE, each with its proposed choice. Throws Error
 * (requireEveryRecordOf) when MINE or THEIRS holds fewer records than BASE. */
MergePlan planMerge(const TableRows& base, const ObjectTable& mine, const TableRows& theirs);

/** Every conflict still without a choice settled by prefer (Mine or Theirs): a conflict of
 * appended records takes the preferred side's record. Returns how many it settled. */
int settleConflicts(MergePlan& plan, MergeChoice prefer);

/** How many changes are conflicts without a choice. */
int unsettledConflicts(const MergePlan& plan);

/** "record 12 damage", "record 12 name", "record 300": a change's cell as messages name it. */
std::string cellLabel(const MergeChange& change);

/** The merged table from the plan's choices, as a take plans it: the result, or MINE unchanged
 * and the refusal (the first conflict without a choice, an appended record left out while one
 * after it is kept, a table beyond kTableCapacity with "Add Record"'s message). */
TakePlan buildMerged(const MergePlan& plan);

} // namespace doc

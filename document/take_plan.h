#pragma once
// Taking values of another table into this one: cells, whole records or every
// difference the comparison lists, planned as the table that results. Records
// only the other table has are appended, each with every such record before
// it, so the indices stay those of the other table; records only this table
// has are never removed. Only what the comparison lists changes: a name equal
// as text keeps its bytes.

#include "document/cell.h"
#include "document/object_table.h"
#include "document/refusal.h"
#include "document/table_comparison.h"

#include <span>
#include <vector>

namespace doc {

struct TakePlan {
    /** The table after the take; this table unchanged when refused. */
    ObjectTable result;
    /** Why nothing is taken: a take that would go beyond kTableCapacity. */
    Refusal refusal;
    /** The lowest record the take changed or appended; -1 when it changes nothing. */
    int firstChanged = -1;
};

/** Takes each cell of items: a field, the name, or every cell of the record whole. Any cell of
 * a record only the other table has takes the record whole. */
TakePlan planTake(const ObjectTable& mine, const TableRows& other, std::span<const Cell> items);

/** Every record of the other table, whole: what "take every difference" takes. */
std::vector<Cell> everyRecordOf(const TableRows& other);

} // namespace doc

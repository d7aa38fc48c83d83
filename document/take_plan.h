#pragma once
// Taking values of another table into this one: cells, whole records or every
// difference the comparison lists, planned as the table that results. Records
// only the other table has are appended, each with every such record before
// it, so the indices stay those of the other table; records only this table
// has are never removed. Only what the comparison lists changes: a name equal
// as text keeps its bytes.

#include "document/object_table.h"
#include "document/table_comparison.h"

#include <span>
#include <string>
#include <vector>

namespace doc {

/** Where a field index is expected: the record's name, or every cell of the record. */
inline constexpr int kNameCell = -1;
inline constexpr int kWholeRecord = -2;

/** One thing to take: field cell (0 to kFieldCount - 1), kNameCell or kWholeRecord of record.
 * Any cell of a record only the other table has takes the record whole. */
struct TakeItem {
    int record = 0;
    int cell = kWholeRecord;
};

struct TakePlan {
    /** The table after the take; this table unchanged when refused. */
    ObjectTable result;
    /** Empty, or the refusal (nothing taken) of a take that would go beyond kTableCapacity. */
    std::string refusal;
    /** The lowest record the take changed or appended; -1 when it changes nothing. */
    int firstChanged = -1;
};

TakePlan planTake(const ObjectTable& mine, const TableRows& other, std::span<const TakeItem> items);

/** Every record of the other table, whole: what "take every difference" takes. */
std::vector<TakeItem> everyRecordOf(const TableRows& other);

} // namespace doc

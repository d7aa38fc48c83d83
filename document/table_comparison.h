#pragma once
// The comparison of two tables of records and names, field by field: what
// `cvnobj diff` lists and the editor's comparison window shows. Fields compare
// by their bits (so -0.0 and 0.0 differ, as do two NaN payloads); names compare
// as text, so the bytes after a name's terminator do not count.

#include "document/object_table.h"

#include <array>
#include <span>
#include <vector>

namespace doc {

/** The records and name slots of one table, one slot per record. */
struct TableRows {
    std::span<const ObjectRecord> records;
    std::span<const NameSlot> names;

    int count() const { return static_cast<int>(records.size()); }
    /** Records 0 to the last index of an object table. */
    static TableRows of(const ObjectTable& table);
};

/** How record index of the two tables compares. */
struct RecordComparison {
    int index = 0;
    bool inFirst = false;
    bool inSecond = false;
    /** Of a record both tables have. */
    bool nameDiffers = false;
    std::array<bool, kFieldCount> fieldDiffers{};

    bool inBoth() const { return inFirst && inSecond; }
    /** Only one table has the record, or its name or a field differs. */
    bool differs() const;
};

/** Every record index either table has, ascending: records 0 to the larger count - 1. */
std::vector<RecordComparison> compareTables(const TableRows& first, const TableRows& second);

} // namespace doc

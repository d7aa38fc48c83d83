#pragma once
// A cell of the object table: a record, and which part of it. Every table of
// cells (the record view's controls, the grid's columns, the import's columns,
// the comparison's rows and its takes) names a cell by this one pair.

#include "document/file_layout.h"

#include <compare>

namespace doc {

/** One of a record's 25 fields, its name, or the record as a whole: its index where a table
 * shows one (the record number, the grid's and the import's "index" column), every cell of it
 * where a take takes it. */
class CellPart {
public:
    /** How many parts there are; code() numbers them 0 to kCount - 1. */
    static constexpr int kCount = kFieldCount + 2;

    static constexpr CellPart field(int k) { return CellPart(k); }
    static constexpr CellPart wholeRecord() { return CellPart(kFieldCount); }
    static constexpr CellPart name() { return CellPart(kFieldCount + 1); }
    /** The part of that code(). */
    static constexpr CellPart ofCode(int code) { return CellPart(code); }

    constexpr bool isField() const { return m_code >= 0 && m_code < kFieldCount; }
    constexpr bool isName() const { return *this == name(); }
    constexpr bool isWholeRecord() const { return *this == wholeRecord(); }
    /** The field's index, 0 to kFieldCount - 1; meaningful only for a field. */
    constexpr int field() const { return m_code; }
    /** The fields first, in record order, then the whole record, then the name: for arrays
     * kept per part. */
    constexpr int code() const { return m_code; }

    constexpr auto operator<=>(const CellPart&) const = default;

private:
    explicit constexpr CellPart(int code) : m_code(code) {}

    int m_code;
};

struct Cell {
    int record = 0;
    CellPart part = CellPart::wholeRecord();

    constexpr bool operator==(const Cell&) const = default;
};

} // namespace doc

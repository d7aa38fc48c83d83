#pragma once
// The object table as modders keep it outside the game's files: export to CSV or JSON, and the
// import of such a file, checked cell by cell against the stored table before anything changes.

#include "document/object_table.h"
#include "document/refusal.h"
#include "tabletext/source_rows.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tabletext {

/** Columns of the export, in order: "index", "name", then the fields' short names. */
std::vector<std::string> exportColumns();
/** The export's cells of record r, in the order of exportColumns. */
std::vector<std::string> exportRow(const doc::ObjectTable& table, int r);

/** Every record 0 to the last index with its name, as RFC 4180 CSV (UTF-8, CRLF). */
std::string exportCsv(const doc::ObjectTable& table);
/** The same as a JSON object: "count" and a "records" array of objects keyed by the columns. */
std::string exportJson(const doc::ObjectTable& table);

/** What an import would do to a table. */
struct ImportPlan {
    /** "row N, column NAME: reason" for every bad cell (rows count from 1, the CSV header not
     * counted), "header, column NAME: reason" for a CSV header's column, or one line for a source
     * that cannot be read at all: the first MessageList::kListed of them in row order, a source
     * of any size giving a bounded list, and the count of them all. Nothing is made when any. */
    doc::Refusal refusal;
    /** "row N, column NAME: problem" for each value the import writes that check reports (a
     * flag other than 0 and 1, a float that is not finite): written all the same, since the
     * files hold such values, but listed. The first MessageList::kListed, as errors. */
    std::vector<std::string> warnings;
    std::size_t warningCount = 0;
    /** One line per changed field or name ("record 12 damage: 40 -> 50"), and one per record
     * added ("record 200 added"). */
    std::vector<std::string> changes;
    /** The table with every change made; meaningful only without errors. */
    doc::ObjectTable result;
    int added = 0;
};

/** Reads a CSV or a JSON export (told apart by content; a UTF-8 byte-order mark is skipped) and
 * checks each row against table, row by row as it is read: what it holds beside the source and
 * the table is bounded by the longest row, whatever the source's shape. Rows name their record by
 * "index"; the index one past the last adds a record (up to 512), whose missing columns take the
 * record defaults and missing name "Empty Object Slot". Columns may come in any order; a missing
 * column keeps the stored value; a name equal to the stored one leaves its slot untouched. */
ImportPlan planImport(const doc::ObjectTable& table, std::string_view source);
/** Reads rows into the handler, and errors of the source itself (its form, its header) into the
 * list, as a reader of a CSV or JSON source does. */
using RowReader = std::function<void(const RowHandler& onRow, MessageList& errors)>;
/** What a refused paste of table text leaves undone, in its refusal's last line. */
inline constexpr std::string_view kNothingPasted = "nothing pasted";

/** planImport's check of the rows a reader gives: every cell, the index, the name, whether a
 * record is given twice, row by row as they are read; undone says what a refusal leaves undone
 * ("nothing pasted"). */
ImportPlan planRows(const doc::ObjectTable& table, std::string_view undone,
                    const RowReader& readRows);

/** The line diff and the import print for a changed field: "record 12 damage: 40 -> 50". */
std::string fieldChangeLine(int record, int field, std::uint32_t before, std::uint32_t after);
/** The same for a name, quoted and escaped for a terminal. */
std::string nameChangeLine(int record, const std::u32string& before, const std::u32string& after);

} // namespace tabletext

#pragma once
// Edits of a grid's cells (doc::Cell: a record and a column each; the record whole is its
// index column), planned against the table before
// anything changes, all or nothing: one cell's text, "Set to", "Multiply by" and "Add" over a
// selection, and tab-separated text pasted into the rows and columns a view shows. Texts are
// read by the import's rules and refused with its reasons.

#include "document/cell.h"
#include "document/object_table.h"
#include "document/refusal.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabletext {

enum class BulkEdit { Set, Multiply, Add };

/** The table with the edit made, or why it is refused (result is then the table as it was). */
struct CellEditPlan {
    doc::ObjectTable result;
    doc::Refusal refusal;
};

/** One cell's text read as the import reads that column ("column damage: '-1' is not a whole
 * number from 0 to 4294967295"); the index column is read-only. */
CellEditPlan planCellText(const doc::ObjectTable& table, doc::Cell cell, std::string_view text);

/** edit with operand applied to every cell (the index column's are passed over: it is
 * read-only). Set reads the operand as the import reads each column, flags only 0 or 1;
 * Multiply and Add take an exact decimal (doc::DecimalOperation) and numbers only: a selected
 * name or flag refuses them. Each column that cannot take the edit is named once. */
CellEditPlan planBulkEdit(const doc::ObjectTable& table, std::span<const doc::Cell> cells,
                          BulkEdit edit, std::string_view operand);

/** Tab-separated text (as spreadsheets and copiedCells write it) into records[i], columns[j]
 * for its line i and cell j: the rows and columns from the current cell on, as a view shows
 * them. A line beyond the rows or a cell beyond the columns is refused; cells on the index
 * column are passed over, as a record paste passes it over. Every cell is checked as the import
 * checks it and reported the same way ("row N, column NAME: reason"). */
CellEditPlan planGridPaste(const doc::ObjectTable& table, std::span<const int> records,
                           std::span<const doc::CellPart> columns, std::string_view text);

/** The cells of records × columns as the export writes them, tab-separated, a line per record. */
std::string copiedCells(const doc::ObjectTable& table, std::span<const int> records,
                        std::span<const doc::CellPart> columns);

/** A cell as the export writes it (the index, the name as UTF-8, a field's value text). */
std::string cellText(const doc::ObjectTable& table, doc::Cell cell);

} // namespace tabletext

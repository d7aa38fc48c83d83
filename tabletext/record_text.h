#pragma once
// Records as the clipboard carries them between the editor and spreadsheets: tab-separated lines
// with the export's columns and value forms, read back by the import's rules.

#include "document/object_table.h"
#include "tabletext/table_io.h"

#include <string>
#include <string_view>

namespace tabletext {

/** The header line of the export's columns, then one line per record first to last, tab-separated
 * with the export's value forms (floats keep their bits), lines ended by "\n". */
std::string recordsText(const doc::ObjectTable& table, int first, int last);

/** Table text written into the records from first on, one record per line: tab- or
 * comma-separated (parseCsv's rule), a first line naming any column is a header and the columns it
 * leaves out keep their values; without one, each line holds the export's columns in order. The
 * index column is ignored. Every cell is checked as planImport checks it and reported the same way
 * ("row N, column NAME: reason", the header not counted); a line past the last record is refused,
 * never appended. plan.result is meaningful only without errors; nothing is ever added. */
ImportPlan planPaste(const doc::ObjectTable& table, int first, std::string_view text);

} // namespace tabletext

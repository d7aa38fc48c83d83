#pragma once
// Comma-separated values as RFC 4180 has them: fields quoted when they hold the separator, a
// quote or a line end, quotes doubled inside, lines ended by CRLF. The reader also takes what
// spreadsheets write back or copy: LF line ends, a ";" or a tab separator, quoted or unquoted
// fields.

#include <string>
#include <string_view>
#include <vector>

namespace tabletext {

using CsvRow = std::vector<std::string>;

/** One line of fields, ended by "\r\n". */
std::string csvLine(const CsvRow& fields);
/** One line of tab-separated fields as spreadsheets copy a row: quoted by the same rule (a tab
 * for the separator), ended by "\n". */
std::string tsvLine(const CsvRow& fields);

struct CsvTable {
    std::vector<CsvRow> rows; // the header first; blank lines left out
    std::string error;        // empty when the whole text was read
};

/** Reads every line. The separator is a tab when the first line holds one; otherwise "," unless
 * the first line holds ";" and no ",". */
CsvTable parseCsv(std::string_view text);

} // namespace tabletext

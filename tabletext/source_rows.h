#pragma once
// An import source read into rows of cells, whatever its form (CSV or JSON), before any cell is
// checked against the table.

#include <string>
#include <utility>
#include <vector>

namespace tabletext {

/** One row: its number for messages (from 1) and its cells as (column, text). */
struct SourceRow {
    int number = 0;
    std::vector<std::pair<std::string, std::string>> cells;
};

/** Errors with the row they belong to (0 for the source as a whole), reported in row order. */
using RowErrors = std::vector<std::pair<int, std::string>>;

struct Source {
    std::vector<SourceRow> rows;
    RowErrors errors;
};

} // namespace tabletext

#include "tabletext/record_text.h"

#include "tabletext/csv.h"
#include "tabletext/source_rows.h"
#include "tabletext/value_text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tabletext {

namespace {

ImportPlan refused(const doc::ObjectTable& table, std::string reason) {
    ImportPlan plan;
    plan.result = table;
    plan.errors.push_back(std::move(reason));
    plan.errorCount = 1;
    return plan;
}

} // namespace

std::string recordsText(const doc::ObjectTable& table, int first, int last) {
    std::string text = tsvLine(exportColumns());
    for (int r = first; r <= last; ++r)
        text += tsvLine(exportRow(table, r));
    return text;
}

ImportPlan planPaste(const doc::ObjectTable& table, int first, std::string_view text) {
    text = withoutByteOrderMark(text);
    CsvLines pasted;
    if (std::string error = readCsv(text, pasted); !error.empty())
        return refused(table, std::move(error));
    std::vector<CsvRow>& lines = pasted.lines;

    // The export's columns in order, unless the first line names any column: then it is a
    // header, and its names (the unknown ones refused) say which column each field is.
    std::vector<int> columns;
    for (int c = 0; c < kColumnCount; ++c)
        columns.push_back(columnNamed(exportColumns()[static_cast<std::size_t>(c)]));
    std::size_t start = 0;
    std::vector<std::string> headerErrors;
    if (!lines.empty() &&
        std::any_of(lines.front().begin(), lines.front().end(),
                    [](const std::string& cell) { return columnNamed(cell) >= 0; })) {
        columns.clear();
        std::array<bool, kColumnCount> seen{};
        for (const std::string& name : lines.front()) {
            int column = columnNamed(name);
            if (column < 0) {
                headerErrors.push_back("header, column " + excerpt(name) + ": no such column");
            } else if (seen[static_cast<std::size_t>(column)]) {
                headerErrors.push_back("header, column " + excerpt(name) +
                                       ": the column appears twice");
                column = -1; // its cells are left out, as the import leaves them out
            } else {
                seen[static_cast<std::size_t>(column)] = true;
            }
            columns.push_back(column);
        }
        start = 1;
    }
    if (start >= lines.size())
        return refused(table, "the text holds no record to paste");

    return planRows(table, [&](const RowHandler& takeRow, MessageList& errors) {
        for (std::string& error : headerErrors)
            errors.add(0, [&] { return error; });
        for (std::size_t i = start; i < lines.size(); ++i) {
            const int number = static_cast<int>(i - start + 1);
            const std::string where = "row " + std::to_string(number) + ": ";
            const CsvRow& cells = lines[i];
            if (cells.size() != columns.size()) {
                errors.add(number, [&] {
                    return where + std::to_string(cells.size()) + " fields, but " +
                           (start == 1 ? "the header names " : "a record has ") +
                           std::to_string(columns.size());
                });
                continue;
            }
            const int record = first + number - 1;
            if (record > table.lastIndex) {
                errors.add(number, [&] {
                    return where + "record " + std::to_string(record) +
                           " is past the last record, " + std::to_string(table.lastIndex) +
                           "; a paste adds no records";
                });
                continue;
            }
            // The index column is ignored: the line's place says which record it is.
            SourceRow row{number, {}};
            for (std::size_t c = 0; c < cells.size(); ++c)
                if (columns[c] >= 0 && columns[c] != kIndexColumn)
                    row.cells.emplace_back(columns[c], cells[c]);
            row.cells.emplace_back(kIndexColumn, std::to_string(record));
            takeRow(row);
        }
    });
}

} // namespace tabletext

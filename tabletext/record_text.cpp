#include "tabletext/record_text.h"

#include "document/field_table.h"
#include "tabletext/csv.h"
#include "tabletext/source_rows.h"
#include "tabletext/value_text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace tabletext {

namespace {

ImportPlan refused(const doc::ObjectTable& table, std::string reason) {
    ImportPlan plan;
    plan.result = table;
    plan.refusal = doc::Refusal(std::move(reason), kNothingPasted);
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
    std::vector<std::optional<doc::CellPart>> columns;
    for (const std::string& name : exportColumns())
        columns.push_back(doc::partNamed(name));
    std::size_t start = 0;
    std::vector<std::string> headerErrors;
    if (!lines.empty() &&
        std::any_of(lines.front().begin(), lines.front().end(),
                    [](const std::string& cell) { return doc::partNamed(cell).has_value(); })) {
        columns.clear();
        std::array<bool, doc::CellPart::kCount> seen{};
        for (const std::string& name : lines.front()) {
            std::optional<doc::CellPart> column = doc::partNamed(name);
            if (!column) {
                headerErrors.push_back("header, column " + excerpt(name) + ": no such column");
            } else if (seen[static_cast<std::size_t>(column->code())]) {
                headerErrors.push_back("header, column " + excerpt(name) +
                                       ": the column appears twice");
                column.reset(); // its cells are left out, as the import leaves them out
            } else {
                seen[static_cast<std::size_t>(column->code())] = true;
            }
            columns.push_back(column);
        }
        start = 1;
    }
    if (start >= lines.size())
        return refused(table, "the text holds no record to paste");

    return planRows(table, kNothingPasted, [&](const RowHandler& takeRow, MessageList& errors) {
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
                if (columns[c] && !columns[c]->isWholeRecord())
                    row.cells.emplace_back(*columns[c], cells[c]);
            row.cells.emplace_back(doc::CellPart::wholeRecord(), std::to_string(record));
            takeRow(row);
        }
    });
}

} // namespace tabletext

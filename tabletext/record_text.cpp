#include "tabletext/record_text.h"

#include "tabletext/csv.h"

#include <algorithm>

namespace tabletext {

namespace {

constexpr std::string_view kIndex = "index";

bool isColumn(const std::vector<std::string>& columns, const std::string& cell) {
    return std::find(columns.begin(), columns.end(), cell) != columns.end();
}

ImportPlan refused(const doc::ObjectTable& table, std::string reason) {
    ImportPlan plan;
    plan.result = table;
    plan.errors.push_back(std::move(reason));
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
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    CsvTable lines = parseCsv(text);
    if (!lines.error.empty())
        return refused(table, lines.error);

    const std::vector<std::string> known = exportColumns();
    std::vector<std::string> columns = known;
    std::size_t start = 0;
    if (!lines.rows.empty() &&
        std::any_of(lines.rows.front().begin(), lines.rows.front().end(),
                    [&](const std::string& cell) { return isColumn(known, cell); })) {
        columns = lines.rows.front();
        start = 1;
    }
    if (start >= lines.rows.size())
        return refused(table, "the text holds no record to paste");

    Source source;
    for (std::size_t i = start; i < lines.rows.size(); ++i) {
        const int number = static_cast<int>(i - start + 1);
        const std::string where = "row " + std::to_string(number);
        CsvRow& cells = lines.rows[i];
        if (cells.size() != columns.size()) {
            source.errors.emplace_back(
                number, where + ": " + std::to_string(cells.size()) + " fields, but " +
                            (start == 1 ? "the header names " : "a record has ") +
                            std::to_string(columns.size()));
            continue;
        }
        const int record = first + number - 1;
        if (record > table.lastIndex) {
            source.errors.emplace_back(number, where + ": record " + std::to_string(record) +
                                                   " is past the last record, " +
                                                   std::to_string(table.lastIndex) +
                                                   "; a paste adds no records");
            continue;
        }
        SourceRow row{number, {}};
        for (std::size_t c = 0; c < cells.size(); ++c)
            if (columns[c] != kIndex)
                row.cells.emplace_back(columns[c], std::move(cells[c]));
        row.cells.emplace_back(std::string(kIndex), std::to_string(record));
        source.rows.push_back(std::move(row));
    }
    return planRows(table, std::move(source));
}

} // namespace tabletext

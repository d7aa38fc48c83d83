#include "tabletext/table_io.h"

#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/name_codec.h"
#include "tabletext/csv.h"
#include "tabletext/json_source.h"
#include "tabletext/source_rows.h"
#include "tabletext/value_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

namespace tabletext {

namespace {

using Json = nlohmann::ordered_json;

std::u32string nameOf(const doc::ObjectTable& table, int r) {
    return doc::readNameSlot(table.names[static_cast<std::size_t>(r)]);
}

/** A finite float as a JSON number that prints as its shortest text: the double nearest to it. */
Json floatNumber(const std::string& shortest) {
    double value = 0;
    std::from_chars(shortest.data(), shortest.data() + shortest.size(), value);
    return value;
}

/** A CSV source's rows, handed on line by line. The header's columns are looked up once: a
 * header column that is no column or is given twice is an error of the header, and its cells
 * are left out of every row. */
class CsvRows final : public CsvSink {
public:
    CsvRows(const RowHandler& onRow, MessageList& errors) : m_onRow(onRow), m_errors(errors) {}

    void field(std::string_view text) override {
        if (m_inHeader) {
            std::optional<doc::CellPart> column = doc::partNamed(text);
            if (!column) {
                m_errors.add(0, [&] { return header(text) + "no such column"; });
            } else if (m_seen[static_cast<std::size_t>(column->code())]) {
                m_errors.add(0, [&] { return header(text) + "the column appears twice"; });
                column.reset();
            } else {
                m_seen[static_cast<std::size_t>(column->code())] = true;
            }
            m_columns.push_back(column ? static_cast<std::int8_t>(column->code())
                                       : std::int8_t{-1});
            return;
        }
        if (m_field < m_columns.size() && m_columns[m_field] >= 0)
            m_row.cells.emplace_back(doc::CellPart::ofCode(m_columns[m_field]), std::string(text));
        ++m_field;
    }
    void endLine() override {
        if (m_inHeader) {
            m_inHeader = false;
            if (!m_seen[static_cast<std::size_t>(doc::CellPart::wholeRecord().code())])
                m_errors.add(0, [] {
                    return std::string("header: no column index; every row names its record");
                });
        } else {
            ++m_row.number;
            if (m_field != m_columns.size())
                m_errors.add(m_row.number, [&] {
                    return "row " + std::to_string(m_row.number) + ": " + std::to_string(m_field) +
                           " fields, but the header names " + std::to_string(m_columns.size());
                });
            else
                m_onRow(m_row);
        }
        m_row.cells.clear();
        m_field = 0;
    }
    bool sawHeader() const { return !m_inHeader; }

private:
    static std::string header(std::string_view column) {
        std::string text = "header, column ";
        text += excerpt(column);
        text += ": ";
        return text;
    }

    const RowHandler& m_onRow;
    MessageList& m_errors;
    bool m_inHeader = true;
    // Each header column's doc::CellPart::code(), -1 for none: a byte each, since a header may
    // be a 16 MB line of empty columns.
    std::vector<std::int8_t> m_columns;
    std::array<bool, doc::CellPart::kCount> m_seen{};
    SourceRow m_row;
    std::size_t m_field = 0; // fields read of the current line
};

void readCsvSource(std::string_view text, const RowHandler& onRow, MessageList& errors) {
    CsvRows rows(onRow, errors);
    const std::string error = readCsv(text, rows);
    if (!error.empty())
        errors.add(0, [&] { return error; });
    else if (!rows.sawHeader())
        errors.add(0, [] { return std::string("the source holds no header line"); });
}

/** What one row asks for, from the cells that could be read. */
struct RowRequest {
    int index = -1;
    std::optional<std::u32string> name;
    std::array<std::optional<std::uint32_t>, doc::kFieldCount> fields;
};

std::string rowColumn(int row, std::string_view column) {
    std::string text = "row " + std::to_string(row) + ", column ";
    text += column;
    text += ": ";
    return text;
}

std::string longName() {
    return "longer than " + std::to_string(doc::kMaxNameLength) + " characters";
}

RowRequest readRow(const SourceRow& row, MessageList& errors) {
    RowRequest request;
    const auto fail = [&](doc::CellPart column, const std::string& reason) {
        errors.add(row.number,
                   [&] { return rowColumn(row.number, doc::columnName(column)) + reason; });
    };
    for (const auto& [column, text] : row.cells) {
        if (column.isWholeRecord()) {
            int index = -1;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
            if (ec != std::errc{} || end != text.data() + text.size() || index < 0) {
                std::string reason(1, '\'');
                reason += excerpt(text);
                reason += "' is not a record number";
                fail(column, reason);
            } else {
                request.index = index;
            }
        } else if (column.isName()) {
            // A name is read into characters only when it may fit: at most 4 bytes each.
            std::optional<std::u32string> name;
            if (text.size() > 4 * static_cast<std::size_t>(doc::kMaxNameLength))
                fail(column, longName());
            else if (!(name = fromUtf8(text)))
                fail(column, "not valid UTF-8");
            else
                request.name = std::move(*name);
        } else {
            const ParsedValue value =
                parseValueText(doc::kFields[static_cast<std::size_t>(column.field())].type, text);
            if (!value.error.empty())
                fail(column, value.error);
            else
                request.fields[static_cast<std::size_t>(column.field())] = value.bits;
        }
    }
    return request;
}

} // namespace

std::vector<std::string> exportColumns() {
    std::vector<std::string> columns{std::string(doc::columnName(doc::CellPart::wholeRecord())),
                                     std::string(doc::columnName(doc::CellPart::name()))};
    for (const doc::FieldInfo& field : doc::kFields)
        columns.emplace_back(field.shortName);
    return columns;
}

std::vector<std::string> exportRow(const doc::ObjectTable& table, int r) {
    std::vector<std::string> row{std::to_string(r), toUtf8(nameOf(table, r))};
    for (const doc::FieldInfo& field : doc::kFields)
        row.push_back(valueText(field.type, table.records[static_cast<std::size_t>(r)]
                                                .fields[static_cast<std::size_t>(field.index)]));
    return row;
}

std::string exportCsv(const doc::ObjectTable& table) {
    std::string out = csvLine(exportColumns());
    for (int r = 0; r < table.recordCount(); ++r)
        out += csvLine(exportRow(table, r));
    return out;
}

std::string exportJson(const doc::ObjectTable& table) {
    Json records = Json::array();
    for (int r = 0; r < table.recordCount(); ++r) {
        Json record;
        record[std::string(doc::columnName(doc::CellPart::wholeRecord()))] = r;
        record[std::string(doc::columnName(doc::CellPart::name()))] = toUtf8(nameOf(table, r));
        for (const doc::FieldInfo& field : doc::kFields) {
            const std::uint32_t bits = table.records[static_cast<std::size_t>(r)]
                                           .fields[static_cast<std::size_t>(field.index)];
            const std::string text = valueText(field.type, bits);
            const std::string key(field.shortName);
            if (field.type != doc::FieldType::Float)
                record[key] = bits;
            else if (isWrittenAsNumber(field.type, bits))
                record[key] = floatNumber(text);
            else
                record[key] = text;
        }
        records.push_back(std::move(record));
    }
    Json document;
    document["count"] = table.recordCount();
    document["records"] = std::move(records);
    return document.dump(1) + "\n";
}

std::string fieldChangeLine(int record, int field, std::uint32_t before, std::uint32_t after) {
    const doc::FieldInfo& info = doc::kFields[static_cast<std::size_t>(field)];
    return "record " + std::to_string(record) + " " + std::string(info.shortName) + ": " +
           valueText(info.type, before) + " -> " + valueText(info.type, after);
}

std::string nameChangeLine(int record, const std::u32string& before, const std::u32string& after) {
    return "record " + std::to_string(record) + " name: \"" + escapedForTerminal(before) +
           "\" -> \"" + escapedForTerminal(after) + "\"";
}

ImportPlan planImport(const doc::ObjectTable& table, std::string_view source) {
    source = withoutByteOrderMark(source);
    const std::size_t first = source.find_first_not_of(" \t\r\n");
    const bool isJson = first != std::string_view::npos && source[first] == '{';
    return planRows(table, "nothing written", [&](const RowHandler& takeRow, MessageList& errors) {
        if (isJson)
            readJsonSource(source, takeRow, errors);
        else
            readCsvSource(source, takeRow, errors);
    });
}

ImportPlan planRows(const doc::ObjectTable& table, std::string_view undone,
                    const RowReader& readRows) {
    ImportPlan plan;
    plan.result = table;
    MessageList errors, warnings;

    doc::ObjectTable& result = plan.result;
    std::vector<int> rowOfIndex(doc::kTableCapacity, 0); // the row giving each record, 0 for none
    const RowHandler takeRow = [&](const SourceRow& row) {
        // A row with a bad cell is still checked for what else is wrong with it.
        const RowRequest request = readRow(row, errors);
        if (request.index < 0)
            return;
        // The reason is made only when the error is listed.
        const auto fail = [&](doc::CellPart column, const auto& reason) {
            errors.add(row.number,
                       [&] { return rowColumn(row.number, doc::columnName(column)) + reason(); });
        };
        const int index = request.index;
        const int count = result.recordCount();
        const bool adds = index == count && index < doc::kTableCapacity;
        if (index > count - 1 && !adds) {
            fail(doc::CellPart::wholeRecord(), [&] {
                return "record " + std::to_string(index) + " is beyond the table (records 0 to " +
                       std::to_string(count - 1) +
                       (count < doc::kTableCapacity
                            ? ", or " + std::to_string(count) + " to add one)"
                            : "; the table is full)");
            });
            return;
        }
        if (const int earlier = rowOfIndex[static_cast<std::size_t>(index)]; earlier != 0) {
            fail(doc::CellPart::wholeRecord(), [&] {
                return "record " + std::to_string(index) + " is already given in row " +
                       std::to_string(earlier);
            });
            return;
        }
        rowOfIndex[static_cast<std::size_t>(index)] = row.number;
        auto& record = result.records[static_cast<std::size_t>(index)];
        auto& slot = result.names[static_cast<std::size_t>(index)];
        const doc::ObjectRecord before = record;
        const std::u32string nameBefore = adds ? std::u32string() : doc::readNameSlot(slot);
        if (adds) {
            ++result.lastIndex;
            ++plan.added;
            record = doc::defaultRecord();
            plan.changes.push_back("record " + std::to_string(index) + " added");
        }
        for (const doc::FieldInfo& field : doc::kFields) {
            const auto k = static_cast<std::size_t>(field.index);
            if (!request.fields[k])
                continue;
            record.fields[k] = *request.fields[k];
            // A value check would report is written, since the files hold such values, but
            // listed, once it changes what is stored.
            if (!adds && record.fields[k] == before.fields[k])
                continue;
            if (std::string problem = valueProblem(field.type, record.fields[k]); !problem.empty())
                warnings.add(row.number,
                             [&] { return rowColumn(row.number, field.shortName) + problem; });
        }
        std::u32string name = request.name.value_or(
            adds ? std::u32string(doc::kDefaultObjectName.begin(), doc::kDefaultObjectName.end())
                 : nameBefore);
        if (adds || name != nameBefore) {
            if (name.size() > static_cast<std::size_t>(doc::kMaxNameLength)) {
                fail(doc::CellPart::name(), [] { return longName(); });
            } else if (!doc::writeNameSlot(slot, name)) {
                fail(doc::CellPart::name(),
                     [] { return std::string("holds a character Windows-1252 cannot hold"); });
            } else if (!adds) {
                plan.changes.push_back(nameChangeLine(index, nameBefore, name));
            }
        }
        if (!adds)
            for (int k = 0; k < doc::kFieldCount; ++k)
                if (record.fields[static_cast<std::size_t>(k)] !=
                    before.fields[static_cast<std::size_t>(k)])
                    plan.changes.push_back(
                        fieldChangeLine(index, k, before.fields[static_cast<std::size_t>(k)],
                                        record.fields[static_cast<std::size_t>(k)]));
    };
    readRows(takeRow, errors);
    if (errors.count() > 0)
        plan.refusal = doc::Refusal(errors.listed(), errors.count(), undone);
    plan.warnings = warnings.listed();
    plan.warningCount = warnings.count();
    return plan;
}

} // namespace tabletext

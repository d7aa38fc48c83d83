#include "tabletext/table_io.h"

#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/name_codec.h"
#include "tabletext/csv.h"
#include "tabletext/json_source.h"
#include "tabletext/value_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace tabletext {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kIndex = "index";
constexpr std::string_view kName = "name";

std::u32string nameOf(const doc::ObjectTable& table, int r) {
    return doc::readNameSlot(table.names[static_cast<std::size_t>(r)]);
}

/** A finite float as a JSON number that prints as its shortest text: the double nearest to it. */
Json floatNumber(const std::string& shortest) {
    double value = 0;
    std::from_chars(shortest.data(), shortest.data() + shortest.size(), value);
    return value;
}

Source readCsvSource(std::string_view text) {
    Source source;
    CsvTable csv = parseCsv(text);
    if (!csv.error.empty()) {
        source.errors.emplace_back(0, csv.error);
        return source;
    }
    if (csv.rows.empty()) {
        source.errors.emplace_back(0, "the source holds no header line");
        return source;
    }
    const CsvRow& header = csv.rows.front();
    for (std::size_t r = 1; r < csv.rows.size(); ++r) {
        CsvRow& fields = csv.rows[r];
        SourceRow row{static_cast<int>(r), {}};
        if (fields.size() != header.size()) {
            source.errors.emplace_back(static_cast<int>(r), "row " + std::to_string(r) + ": " +
                                                                std::to_string(fields.size()) +
                                                                " fields, but the header names " +
                                                                std::to_string(header.size()));
            continue;
        }
        for (std::size_t c = 0; c < fields.size(); ++c)
            row.cells.emplace_back(header[c], std::move(fields[c]));
        source.rows.push_back(std::move(row));
    }
    return source;
}

const doc::FieldInfo* fieldNamed(std::string_view column) {
    for (const doc::FieldInfo& field : doc::kFields)
        if (field.shortName == column)
            return &field;
    return nullptr;
}

/** What one row asks for, its cells read; ok when every cell could be read. */
struct RowRequest {
    int index = -1;
    std::optional<std::u32string> name;
    std::array<std::optional<std::uint32_t>, doc::kFieldCount> fields;
    bool ok = true;
};

RowRequest readRow(const SourceRow& row, RowErrors& errors) {
    RowRequest request;
    // Known columns by position: the fields, then the index and the name.
    constexpr std::size_t kIndexColumn = doc::kFieldCount, kNameColumn = doc::kFieldCount + 1;
    std::array<bool, doc::kFieldCount + 2> seen{};
    const auto fail = [&](const std::string& column, const std::string& reason) {
        errors.emplace_back(row.number, "row " + std::to_string(row.number) + ", column " + column +
                                            ": " + reason);
        request.ok = false;
    };
    for (const auto& [column, text] : row.cells) {
        const doc::FieldInfo* field = fieldNamed(column);
        const std::size_t position = field              ? static_cast<std::size_t>(field->index)
                                     : column == kIndex ? kIndexColumn
                                     : column == kName  ? kNameColumn
                                                        : seen.size();
        if (position == seen.size()) {
            fail(column, "no such column");
            continue;
        }
        if (seen[position]) {
            fail(column, "the column appears twice");
            continue;
        }
        seen[position] = true;
        if (position == kIndexColumn) {
            int index = -1;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
            if (ec != std::errc{} || end != text.data() + text.size() || index < 0)
                fail(column, "'" + text + "' is not a record number");
            else
                request.index = index;
        } else if (position == kNameColumn) {
            std::optional<std::u32string> name = fromUtf8(text);
            if (!name)
                fail(column, "not valid UTF-8");
            else
                request.name = std::move(*name);
        } else {
            const ParsedValue value = parseValueText(field->type, text);
            if (!value.error.empty())
                fail(column, value.error);
            else
                request.fields[position] = value.bits;
        }
    }
    if (!seen[kIndexColumn])
        fail(std::string(kIndex), "missing; every row names its record");
    return request;
}

} // namespace

std::vector<std::string> exportColumns() {
    std::vector<std::string> columns{std::string(kIndex), std::string(kName)};
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
        record[std::string(kIndex)] = r;
        record[std::string(kName)] = toUtf8(nameOf(table, r));
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
    if (source.starts_with("\xEF\xBB\xBF"))
        source.remove_prefix(3);
    const std::size_t first = source.find_first_not_of(" \t\r\n");
    const bool isJson = first != std::string_view::npos && source[first] == '{';
    return planRows(table, isJson ? readJsonSource(source) : readCsvSource(source));
}

ImportPlan planRows(const doc::ObjectTable& table, Source rows) {
    ImportPlan plan;
    plan.result = table;
    RowErrors errors = std::move(rows.errors);

    doc::ObjectTable& result = plan.result;
    std::vector<int> rowOfIndex(doc::kTableCapacity, 0); // the row giving each record, 0 for none
    for (const SourceRow& row : rows.rows) {
        // A row with a bad cell is still checked for what else is wrong with it.
        const RowRequest request = readRow(row, errors);
        if (request.index < 0)
            continue;
        const auto fail = [&](std::string_view column, const std::string& reason) {
            errors.emplace_back(row.number, "row " + std::to_string(row.number) + ", column " +
                                                std::string(column) + ": " + reason);
        };
        const int index = request.index;
        const bool adds = index == result.recordCount() && index < doc::kTableCapacity;
        if (index > result.recordCount() - 1 && !adds) {
            fail(kIndex, "record " + std::to_string(index) + " is beyond the table (records 0 to " +
                             std::to_string(result.recordCount() - 1) +
                             (result.recordCount() < doc::kTableCapacity
                                  ? ", or " + std::to_string(result.recordCount()) + " to add one)"
                                  : "; the table is full)"));
            continue;
        }
        if (const int earlier = rowOfIndex[static_cast<std::size_t>(index)]; earlier != 0) {
            fail(kIndex, "record " + std::to_string(index) + " is already given in row " +
                             std::to_string(earlier));
            continue;
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
        for (std::size_t k = 0; k < request.fields.size(); ++k)
            if (request.fields[k])
                record.fields[k] = *request.fields[k];
        std::u32string name = request.name.value_or(
            adds ? std::u32string(doc::kDefaultObjectName.begin(), doc::kDefaultObjectName.end())
                 : nameBefore);
        if (adds || name != nameBefore) {
            if (name.size() > static_cast<std::size_t>(doc::kMaxNameLength)) {
                fail(kName, "longer than " + std::to_string(doc::kMaxNameLength) + " characters");
            } else if (!doc::writeNameSlot(slot, name)) {
                fail(kName, "holds a character Windows-1252 cannot hold");
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
    }
    std::stable_sort(errors.begin(), errors.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& error : errors)
        plan.errors.push_back(std::move(error.second));
    return plan;
}

} // namespace tabletext

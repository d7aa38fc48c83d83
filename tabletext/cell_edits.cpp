#include "tabletext/cell_edits.h"

#include "document/cell_arithmetic.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "tabletext/csv.h"
#include "tabletext/source_rows.h"
#include "tabletext/table_io.h"
#include "tabletext/value_text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace tabletext {

namespace {

std::string columnPrefix(doc::CellPart column) {
    std::string text = "column ";
    text += doc::columnName(column);
    text += ": ";
    return text;
}

doc::FieldType typeOf(doc::CellPart column) {
    return doc::kFields[static_cast<std::size_t>(column.field())].type;
}

/** What a text puts into a column: a field's bits or a name, or the import's reason it puts
 * nothing. Flags take any whole number as the import takes it, or only 0 and 1. */
struct CellValue {
    std::uint32_t bits = 0;
    std::u32string name;
    std::string error;
};

CellValue readCell(doc::CellPart column, std::string_view text, bool flagZeroOrOne) {
    CellValue value;
    if (column.isWholeRecord()) {
        value.error = "the index is read-only";
    } else if (column.isName()) {
        doc::NameSlot probe{};
        std::optional<std::u32string> name = fromUtf8(text);
        if (!name)
            value.error = "not valid UTF-8";
        else if (name->size() > static_cast<std::size_t>(doc::kMaxNameLength))
            value.error = "longer than " + std::to_string(doc::kMaxNameLength) + " characters";
        else if (!doc::writeNameSlot(probe, *name))
            value.error = "holds a character Windows-1252 cannot hold";
        else
            value.name = std::move(*name);
    } else {
        ParsedValue parsed = parseValueText(typeOf(column), text);
        if (parsed.error.empty() && flagZeroOrOne && typeOf(column) == doc::FieldType::Flag &&
            parsed.bits > 1)
            parsed.error = valueProblem(doc::FieldType::Flag, parsed.bits);
        value.bits = parsed.bits;
        value.error = std::move(parsed.error);
    }
    return value;
}

/** The value into the table's cell; a name equal to the stored one leaves its slot untouched. */
void putCell(doc::ObjectTable& table, doc::Cell cell, const CellValue& value) {
    const auto at = static_cast<std::size_t>(cell.record);
    if (cell.part.isName()) {
        if (doc::readNameSlot(table.names[at]) != value.name)
            doc::writeNameSlot(table.names[at], value.name);
    } else {
        table.records[at].fields[static_cast<std::size_t>(cell.part.field())] = value.bits;
    }
}
constexpr std::string_view kNothingChanged = "nothing changed";

CellEditPlan refused(const doc::ObjectTable& table, std::vector<std::string> errors,
                     std::string_view undone) {
    const std::size_t count = errors.size();
    return {table, doc::Refusal(std::move(errors), count, undone)};
}

} // namespace

std::string cellText(const doc::ObjectTable& table, doc::Cell cell) {
    const auto at = static_cast<std::size_t>(cell.record);
    if (cell.part.isWholeRecord())
        return std::to_string(cell.record);
    if (cell.part.isName())
        return toUtf8(doc::readNameSlot(table.names[at]));
    return fieldValueText(cell.part.field(),
                          table.records[at].fields[static_cast<std::size_t>(cell.part.field())]);
}

CellEditPlan planCellText(const doc::ObjectTable& table, doc::Cell cell, std::string_view text) {
    const CellValue value = readCell(cell.part, text, false);
    if (!value.error.empty())
        return refused(table, {columnPrefix(cell.part) + value.error}, kNothingChanged);
    CellEditPlan plan{table, {}};
    putCell(plan.result, cell, value);
    return plan;
}

CellEditPlan planBulkEdit(const doc::ObjectTable& table, std::span<const doc::Cell> cells,
                          BulkEdit edit, std::string_view operand) {
    std::array<bool, doc::CellPart::kCount> selected{};
    for (const doc::Cell& cell : cells)
        if (!cell.part.isWholeRecord())
            selected[static_cast<std::size_t>(cell.part.code())] = true;
    if (std::none_of(selected.begin(), selected.end(), [](bool s) { return s; }))
        return refused(table, {"no cell that can be edited is selected (the index is read-only)"},
                       kNothingChanged);

    // Every selected column is checked before any cell changes.
    std::vector<std::string> errors;
    std::array<CellValue, doc::CellPart::kCount> values;
    std::optional<doc::DecimalOperation> operation;
    if (edit != BulkEdit::Set) {
        try {
            operation.emplace(edit == BulkEdit::Multiply ? doc::CellArithmetic::Multiply
                                                         : doc::CellArithmetic::Add,
                              operand);
        } catch (const doc::Error& error) {
            errors.emplace_back(error.what());
        }
    }
    // The name column first, then the fields, as a row shows them.
    std::vector<doc::CellPart> order{doc::CellPart::name()};
    for (int k = 0; k < doc::kFieldCount; ++k)
        order.push_back(doc::CellPart::field(k));
    for (const doc::CellPart column : order) {
        const auto at = static_cast<std::size_t>(column.code());
        if (!selected[at])
            continue;
        if (edit == BulkEdit::Set) {
            values[at] = readCell(column, operand, true);
            if (const std::string& error = values[at].error; !error.empty())
                errors.push_back(columnPrefix(column) + error);
        } else if (column.isName()) {
            errors.push_back(columnPrefix(column) + "a name can only be set");
        } else if (typeOf(column) == doc::FieldType::Flag) {
            errors.push_back(columnPrefix(column) + "a flag can only be set to 0 or 1");
        }
    }
    if (!errors.empty())
        return refused(table, std::move(errors), kNothingChanged);

    CellEditPlan plan{table, {}};
    for (const doc::Cell& cell : cells) {
        if (cell.part.isWholeRecord())
            continue;
        if (edit == BulkEdit::Set) {
            putCell(plan.result, cell, values[static_cast<std::size_t>(cell.part.code())]);
            continue;
        }
        auto& bits = plan.result.records[static_cast<std::size_t>(cell.record)]
                         .fields[static_cast<std::size_t>(cell.part.field())];
        bits = typeOf(cell.part) == doc::FieldType::Float ? operation->applyToSingle(bits)
                                                          : operation->applyToUnsigned(bits);
    }
    return plan;
}

CellEditPlan planGridPaste(const doc::ObjectTable& table, std::span<const int> records,
                           std::span<const doc::CellPart> columns, std::string_view text) {
    text = withoutByteOrderMark(text);
    CsvLines pasted;
    if (std::string error = readTsv(text, pasted); !error.empty())
        return refused(table, {std::move(error)}, kNothingPasted);
    if (pasted.lines.empty())
        return refused(table, {"the text holds no cell to paste"}, kNothingPasted);

    std::vector<std::string> shapeErrors;
    for (std::size_t i = 0; i < pasted.lines.size(); ++i) {
        const std::string where = "row " + std::to_string(i + 1) + ": ";
        if (i >= records.size()) {
            shapeErrors.push_back(where + "below the last row shown; a paste adds no records");
            break;
        }
        if (pasted.lines[i].size() > columns.size())
            shapeErrors.push_back(where + std::to_string(pasted.lines[i].size()) +
                                  " cells, but only " + std::to_string(columns.size()) +
                                  " columns from the current one on");
    }
    if (!shapeErrors.empty())
        return refused(table, std::move(shapeErrors), kNothingPasted);

    // The import's own check of every cell, each line standing for the record it lands on.
    ImportPlan plan = planRows(table, kNothingPasted, [&](const RowHandler& takeRow, MessageList&) {
        for (std::size_t i = 0; i < pasted.lines.size(); ++i) {
            SourceRow row{static_cast<int>(i + 1), {}};
            const CsvRow& cells = pasted.lines[i];
            for (std::size_t j = 0; j < cells.size(); ++j)
                if (!columns[j].isWholeRecord())
                    row.cells.emplace_back(columns[j], cells[j]);
            row.cells.emplace_back(doc::CellPart::wholeRecord(), std::to_string(records[i]));
            takeRow(row);
        }
    });
    if (plan.refusal.refuses())
        return {table, std::move(plan.refusal)};
    return {plan.result, {}};
}

std::string copiedCells(const doc::ObjectTable& table, std::span<const int> records,
                        std::span<const doc::CellPart> columns) {
    std::string text;
    for (const int record : records) {
        CsvRow line;
        for (const doc::CellPart column : columns)
            line.push_back(cellText(table, {record, column}));
        text += tsvLine(line);
    }
    return text;
}

} // namespace tabletext

#include "tabletext/json_source.h"

#include "document/field_table.h"
#include "tabletext/value_text.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>

namespace tabletext {

namespace {

/** Builds rows straight from the parser's events, with no document in between, so numbers
 * arrive with their text and nothing but the row at hand is kept. */
class RowReader final : public nlohmann::json_sax<nlohmann::json> {
public:
    RowReader(const RowHandler& onRow, MessageList& errors) : m_onRow(onRow), m_errors(errors) {}

    bool null() override { return badValue(); }
    bool boolean(bool) override { return badValue(); }
    bool number_integer(number_integer_t value) override { return scalar(std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override { return scalar(std::to_string(value)); }
    bool number_float(number_float_t, const string_t& text) override { return scalar(text); }
    bool string(string_t& text) override { return scalar(std::move(text)); }
    bool binary(binary_t&) override { return badValue(); }

    bool start_object(std::size_t) override {
        if (m_otherDepth > 0 || (m_level != Level::Start && m_level != Level::Records)) {
            if (m_level == Level::Record && m_otherDepth == 0)
                cellError();
            ++m_otherDepth;
        } else if (m_level == Level::Start) {
            m_level = Level::Outer;
        } else {
            m_level = Level::Record;
            m_row = SourceRow{++m_rowNumber, {}};
            m_seen = {};
            m_column.reset();
        }
        return true;
    }
    bool start_array(std::size_t) override {
        if (m_otherDepth == 0 && m_level == Level::Outer && m_key == "records") {
            m_level = Level::Records;
            m_foundRecords = true;
            return true;
        }
        if (m_otherDepth == 0 && m_level == Level::Records)
            rowError();
        else if (m_otherDepth == 0 && m_level == Level::Record)
            cellError();
        ++m_otherDepth;
        return true;
    }
    bool end_object() override { return end(); }
    bool end_array() override { return end(); }
    bool key(string_t& name) override {
        if (m_otherDepth > 0)
            return true;
        if (m_level == Level::Outer) {
            m_key = name;
        } else if (m_level == Level::Record) {
            m_column = doc::partNamed(name);
            if (!m_column) {
                m_errors.add(m_row.number, [&] { return where(excerpt(name)) + "no such column"; });
            } else if (m_seen[static_cast<std::size_t>(m_column->code())]) {
                m_errors.add(m_row.number,
                             [&] { return where(excerpt(name)) + "the column appears twice"; });
                m_column.reset();
            } else {
                m_seen[static_cast<std::size_t>(m_column->code())] = true;
            }
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        m_errors.add(0, [&] {
            std::string message = "the source is not valid JSON: ";
            message += excerpt(error.what(), 240); // it quotes what it last read
            return message;
        });
        return false;
    }

    void finish() {
        if (!m_foundRecords)
            m_errors.add(0,
                         [] { return std::string("the JSON source holds no \"records\" array"); });
    }

private:
    /** Where the parser is, above any value that is none of these (counted in m_otherDepth). */
    enum class Level { Start, Outer, Records, Record };

    bool end() {
        if (m_otherDepth > 0) {
            --m_otherDepth;
        } else if (m_level == Level::Record) {
            if (!m_seen[static_cast<std::size_t>(doc::CellPart::wholeRecord().code())])
                m_errors.add(m_row.number, [&] {
                    return where("index") + "missing; every row names its record";
                });
            m_onRow(m_row);
            m_level = Level::Records;
        } else if (m_level == Level::Records) {
            m_level = Level::Outer;
        } else {
            m_level = Level::Start;
        }
        return true;
    }
    /** A number or a string: a cell when it is the value of a record's column. */
    bool scalar(std::string text) {
        if (m_otherDepth > 0)
            return true;
        if (m_level == Level::Record && m_column)
            m_row.cells.emplace_back(*m_column, std::move(text));
        else if (m_level == Level::Records)
            rowError();
        return true;
    }
    bool badValue() {
        if (m_otherDepth > 0)
            return true;
        if (m_level == Level::Record)
            cellError();
        else if (m_level == Level::Records)
            rowError();
        return true;
    }
    std::string where(std::string_view column) const {
        std::string text = "row " + std::to_string(m_row.number) + ", column ";
        text += column;
        text += ": ";
        return text;
    }
    void rowError() {
        ++m_rowNumber;
        m_errors.add(m_rowNumber,
                     [&] { return "row " + std::to_string(m_rowNumber) + ": not an object"; });
    }
    /** The value of the record's current column is not a number or a string; a column that is
     * no column, or given twice, was reported already. */
    void cellError() {
        if (m_column)
            m_errors.add(m_row.number, [&] {
                return where(doc::columnName(*m_column)) + "not a number or a string";
            });
    }

    const RowHandler& m_onRow;
    MessageList& m_errors;
    Level m_level = Level::Start;
    std::size_t m_otherDepth = 0; // depth inside a value that is none of the levels
    SourceRow m_row;
    std::array<bool, doc::CellPart::kCount> m_seen{};
    std::string m_key;                     // the outer object's latest key
    std::optional<doc::CellPart> m_column; // the record's latest key as a column, if it takes a
                                           // value
    int m_rowNumber = 0;
    bool m_foundRecords = false;
};

} // namespace

void readJsonSource(std::string_view text, const RowHandler& onRow, MessageList& errors) {
    RowReader reader(onRow, errors);
    if (nlohmann::json::sax_parse(text.begin(), text.end(), &reader))
        reader.finish();
}

} // namespace tabletext

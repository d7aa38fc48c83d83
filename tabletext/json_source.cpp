#include "tabletext/json_source.h"

#include <nlohmann/json.hpp>

#include <vector>

namespace tabletext {

namespace {

/** Builds rows straight from the parser's events, with no document in between, so numbers
 * arrive with their text and nothing but the rows is kept. */
class RowReader final : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit RowReader(Source& source) : m_source(source) {}

    bool null() override { return badValue(); }
    bool boolean(bool) override { return badValue(); }
    bool number_integer(number_integer_t value) override { return scalar(std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override { return scalar(std::to_string(value)); }
    bool number_float(number_float_t, const string_t& text) override { return scalar(text); }
    bool string(string_t& text) override { return scalar(std::move(text)); }
    bool binary(binary_t&) override { return badValue(); }

    bool start_object(std::size_t) override {
        Role role = Role::Other;
        if (m_stack.empty())
            role = Role::Outer;
        else if (top() == Role::Records) {
            role = Role::Record;
            m_row = SourceRow{++m_rowNumber, {}};
        } else if (top() == Role::Record)
            cellError();
        m_stack.push_back(role);
        return true;
    }
    bool start_array(std::size_t) override {
        Role role = Role::Other;
        if (!m_stack.empty() && top() == Role::Outer && m_key == "records") {
            role = Role::Records;
            m_foundRecords = true;
        } else if (!m_stack.empty() && top() == Role::Records)
            rowError();
        else if (!m_stack.empty() && top() == Role::Record)
            cellError();
        m_stack.push_back(role);
        return true;
    }
    bool end_object() override { return end(); }
    bool end_array() override { return end(); }
    bool key(string_t& name) override {
        if (top() == Role::Outer)
            m_key = name;
        else if (top() == Role::Record)
            m_column = name;
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        m_source.errors.emplace_back(0,
                                     std::string("the source is not valid JSON: ") + error.what());
        return false;
    }

    void finish() {
        if (!m_foundRecords)
            m_source.errors.emplace_back(0, "the JSON source holds no \"records\" array");
    }

private:
    enum class Role { Outer, Records, Record, Other };

    Role top() const { return m_stack.back(); }
    bool end() {
        if (top() == Role::Record)
            m_source.rows.push_back(std::move(m_row));
        m_stack.pop_back();
        return true;
    }
    /** A number or a string: a cell when it is a record's value. */
    bool scalar(std::string text) {
        if (m_stack.empty())
            return true;
        if (top() == Role::Record)
            m_row.cells.emplace_back(m_column, std::move(text));
        else if (top() == Role::Records)
            rowError();
        return true;
    }
    bool badValue() {
        if (m_stack.empty())
            return true;
        if (top() == Role::Record)
            cellError();
        else if (top() == Role::Records)
            rowError();
        return true;
    }
    void rowError() {
        ++m_rowNumber;
        m_source.errors.emplace_back(m_rowNumber,
                                     "row " + std::to_string(m_rowNumber) + ": not an object");
    }
    void cellError() {
        m_source.errors.emplace_back(m_row.number, "row " + std::to_string(m_row.number) +
                                                       ", column " + m_column +
                                                       ": not a number or a string");
    }

    Source& m_source;
    std::vector<Role> m_stack;
    SourceRow m_row;
    std::string m_key;    // the outer object's latest key
    std::string m_column; // the record's latest key
    int m_rowNumber = 0;
    bool m_foundRecords = false;
};

} // namespace

Source readJsonSource(std::string_view text) {
    Source source;
    RowReader reader(source);
    if (nlohmann::json::sax_parse(text.begin(), text.end(), &reader))
        reader.finish();
    return source;
}

} // namespace tabletext

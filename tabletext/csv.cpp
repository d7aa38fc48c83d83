#include "tabletext/csv.h"

namespace tabletext {

namespace {

/** Fields joined by separator, each quoted when it holds one of quoteWhen, then end. */
std::string joinedLine(const CsvRow& fields, char separator, std::string_view quoteWhen,
                       std::string_view end) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        const std::string& field = fields[i];
        // Leading or trailing blanks are quoted too, since spreadsheets trim unquoted fields.
        const bool quoted = field.find_first_of(quoteWhen) != std::string::npos ||
                            (!field.empty() && (field.front() == ' ' || field.back() == ' '));
        if (!quoted) {
            line += field;
            continue;
        }
        line += '"';
        for (const char c : field) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    line += end;
    return line;
}

} // namespace

std::string csvLine(const CsvRow& fields) {
    return joinedLine(fields, ',', ",;\"\r\n", "\r\n");
}

std::string tsvLine(const CsvRow& fields) {
    return joinedLine(fields, '\t', "\t\"\r\n", "\n");
}

CsvTable parseCsv(std::string_view text) {
    char separator = ',';
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.find('\t') != std::string_view::npos)
        separator = '\t';
    else if (firstLine.find(';') != std::string_view::npos &&
             firstLine.find(',') == std::string_view::npos)
        separator = ';';

    CsvTable table;
    CsvRow row;
    std::string field;
    bool fieldStarted = false; // something (even "") was read into the current line
    int line = 1;
    std::size_t i = 0;
    const auto endField = [&] {
        row.push_back(std::move(field));
        field.clear();
    };
    const auto endLine = [&] {
        if (fieldStarted || !row.empty()) {
            endField();
            table.rows.push_back(std::move(row));
        }
        row.clear();
        fieldStarted = false;
        ++line;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && field.empty()) {
            // A quoted field runs to the next lone quote, across separators and line ends.
            const int startLine = line;
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    table.error =
                        "line " + std::to_string(startLine) + ": a quoted field is not closed";
                    return table;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n')
                    ++line;
                field += text[i++];
            }
            fieldStarted = true;
            if (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n') {
                table.error = "line " + std::to_string(line) + ": text after a closing quote";
                return table;
            }
            continue;
        }
        if (c == separator) {
            endField();
            fieldStarted = true;
            ++i;
        } else if (c == '\r' || c == '\n') {
            endLine();
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        } else {
            field += c;
            fieldStarted = true;
            ++i;
        }
    }
    endLine();
    return table;
}

} // namespace tabletext

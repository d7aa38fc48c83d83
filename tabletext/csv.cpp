#include "tabletext/csv.h"

#include <algorithm>

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

/** The reader proper, with the separator given. */
static std::string readSeparated(std::string_view text, CsvSink& sink, char separator);

std::string readCsv(std::string_view text, CsvSink& sink) {
    char separator = ',';
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.find('\t') != std::string_view::npos)
        separator = '\t';
    else if (firstLine.find(';') != std::string_view::npos &&
             firstLine.find(',') == std::string_view::npos)
        separator = ';';
    return readSeparated(text, sink, separator);
}

std::string readTsv(std::string_view text, CsvSink& sink) {
    return readSeparated(text, sink, '\t');
}

static std::string readSeparated(std::string_view text, CsvSink& sink, char separator) {
    std::string unquoted;     // a quoted field with doubled quotes, made single
    bool lineStarted = false; // something (even "") was read into the current line
    int line = 1;
    std::size_t i = 0;
    const auto endLine = [&] {
        if (lineStarted)
            sink.endLine();
        lineStarted = false;
        ++line;
    };
    while (i < text.size()) {
        if (text[i] == '"') {
            // A quoted field runs to the next lone quote, across separators and line ends.
            const int startLine = line;
            const std::size_t begin = ++i;
            bool doubled = false;
            for (;;) {
                const std::size_t quote = text.find('"', i);
                if (quote == std::string_view::npos)
                    return "line " + std::to_string(startLine) + ": a quoted field is not closed";
                line += static_cast<int>(
                    std::count(text.begin() + static_cast<std::ptrdiff_t>(i),
                               text.begin() + static_cast<std::ptrdiff_t>(quote), '\n'));
                i = quote + 1;
                if (i < text.size() && text[i] == '"') {
                    doubled = true;
                    ++i;
                    continue;
                }
                break;
            }
            const std::string_view inside = text.substr(begin, i - 1 - begin);
            if (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n')
                return "line " + std::to_string(line) + ": text after a closing quote";
            if (doubled) {
                unquoted.clear();
                for (std::size_t k = 0; k < inside.size(); ++k) {
                    unquoted += inside[k];
                    k += inside[k] == '"'; // the second of a pair
                }
                sink.field(unquoted);
            } else {
                sink.field(inside);
            }
            lineStarted = true;
        } else {
            // An unquoted field runs to the next separator or line end; a quote inside it is
            // an ordinary character.
            std::size_t end = i;
            while (end < text.size() && text[end] != separator && text[end] != '\r' &&
                   text[end] != '\n')
                ++end;
            if (end > i || lineStarted || (end < text.size() && text[end] == separator)) {
                sink.field(text.substr(i, end - i));
                lineStarted = true;
            }
            i = end;
        }
        // Here i is at a separator, a line end or the end of the text.
        if (i >= text.size())
            break;
        if (text[i] == separator) {
            ++i;
            if (i == text.size()) // the text ends in a separator: its line's last field is empty
                sink.field({});
        } else {
            i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            endLine();
        }
    }
    endLine();
    return {};
}

} // namespace tabletext

#pragma once
// Comma-separated values as RFC 4180 has them: fields quoted when they hold the separator, a
// quote or a line end, quotes doubled inside, lines ended by CRLF. The reader also takes what
// spreadsheets write back or copy: LF line ends, a ";" or a tab separator, quoted or unquoted
// fields.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabletext {

using CsvRow = std::vector<std::string>;

/** One line of fields, ended by "\r\n". */
std::string csvLine(const CsvRow& fields);
/** One line of tab-separated fields as spreadsheets copy a row: quoted by the same rule (a tab
 * for the separator), ended by "\n". */
std::string tsvLine(const CsvRow& fields);

/** Receives a CSV text's fields as they are read, so that nothing of the text is held twice. */
class CsvSink {
public:
    virtual ~CsvSink() = default;
    /** The next field of the current line; text lasts until the call returns. */
    virtual void field(std::string_view text) = 0;
    /** The end of a line that held anything (blank lines are left out). */
    virtual void endLine() = 0;
};

/** text without the UTF-8 byte-order mark that spreadsheets may write before it. */
inline std::string_view withoutByteOrderMark(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

/** Holds every line read, whole: for small texts, such as a paste. */
class CsvLines final : public CsvSink {
public:
    void field(std::string_view text) override { m_line.emplace_back(text); }
    void endLine() override { lines.push_back(std::exchange(m_line, {})); }
    std::vector<CsvRow> lines;

private:
    CsvRow m_line;
};

/** Reads every line into sink. The separator is a tab when the first line holds
 * one; otherwise "," unless the first line holds ";" and no ",".
 * Returns "line N: reason" for text that cannot be read (a quoted field not closed, text after
 * a closing quote), once the lines before it are read; empty when the whole text was read. */
std::string readCsv(std::string_view text, CsvSink& sink);
/** The same with a tab for the separator whatever the first line holds, as a grid's cells are
 * pasted: a single cell "1,5" stays one cell. */
std::string readTsv(std::string_view text, CsvSink& sink);

} // namespace tabletext

#pragma once
// An import source read row by row, whatever its form (CSV or JSON), and each row handed on as
// soon as it is read, so that nothing but the row at hand is held beside the source's text.

#include "document/cell.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tabletext {

/** One row: its number for messages (from 1) and the text of each column it gives (a field,
 * the name, or the index: the record whole, named by doc::columnName), in the order given, each
 * column once (a reader reports a column's second appearance itself). */
struct SourceRow {
    int number = 0;
    std::vector<std::pair<doc::CellPart, std::string>> cells;
};
using RowHandler = std::function<void(const SourceRow&)>;

/** Messages in row order (row 0, the source as a whole, first; in the order added within a
 * row), of which only the first kListed are kept: a source of any size lists a bounded report.
 * count() counts them all. */
class MessageList {
public:
    static constexpr std::size_t kListed = 100;

    /** Adds the message that message() makes; it is made only when it is kept. */
    template <typename Make> void add(int row, Make&& message) {
        ++m_count;
        if (m_kept.size() == kListed && row >= m_kept.back().first)
            return;
        const auto at = std::upper_bound(m_kept.begin(), m_kept.end(), row,
                                         [](int r, const auto& kept) { return r < kept.first; });
        m_kept.emplace(at, row, message());
        if (m_kept.size() > kListed)
            m_kept.pop_back();
    }
    std::size_t count() const { return m_count; }
    /** The kept messages, in order. */
    std::vector<std::string> listed() const;

private:
    std::vector<std::pair<int, std::string>> m_kept;
    std::size_t m_count = 0;
};

} // namespace tabletext

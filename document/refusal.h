#pragma once
// A change refused whole, before anything changed: the reason for each bad
// item (a cell, a line, the text as a whole), in order, and the one text every
// window shows for it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace doc {

class Refusal {
public:
    /** The items text() lists; the rest are counted. */
    static constexpr std::size_t kShown = 20;

    /** Nothing refused. */
    Refusal() = default;
    /** items in order, the first of count in all (count at least items.size()); undone says
     * what stays undone ("nothing pasted"). */
    Refusal(std::vector<std::string> items, std::size_t count, std::string_view undone);
    /** A refusal of one item. */
    Refusal(std::string item, std::string_view undone);

    bool refuses() const { return m_count > 0; }
    const std::vector<std::string>& items() const { return m_items; }
    std::size_t count() const { return m_count; }

    /** The first kShown items a line each, "and N more" when there are more, then how many
     * and what stays undone: "row 2, column damage: ...\n1 error; nothing pasted". */
    std::string text() const;
    /** Throws doc::Error with text() when anything is refused, for the one path that shows
     * errors. */
    void throwIfRefused() const;

private:
    std::vector<std::string> m_items;
    std::size_t m_count = 0;
    std::string m_undone;
};

} // namespace doc

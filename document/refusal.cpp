#include "document/refusal.h"

#include "document/errors.h"

#include <algorithm>
#include <utility>

namespace doc {

Refusal::Refusal(std::vector<std::string> items, std::size_t count, std::string_view undone)
    : m_items(std::move(items)), m_count(std::max(count, m_items.size())), m_undone(undone) {}

Refusal::Refusal(std::string item, std::string_view undone)
    : Refusal(std::vector<std::string>{std::move(item)}, 1, undone) {}

std::string Refusal::text() const {
    std::string text;
    const std::size_t shown = std::min(m_items.size(), kShown);
    for (std::size_t i = 0; i < shown; ++i)
        text += m_items[i] + '\n';
    if (m_count > shown)
        text += "and " + std::to_string(m_count - shown) + " more\n";
    return text + std::to_string(m_count) + (m_count == 1 ? " error; " : " errors; ") + m_undone;
}

void Refusal::throwIfRefused() const {
    if (refuses())
        throw Error(text());
}

} // namespace doc

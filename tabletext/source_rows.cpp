#include "tabletext/source_rows.h"

namespace tabletext {

std::vector<std::string> MessageList::listed() const {
    std::vector<std::string> out;
    out.reserve(m_kept.size());
    for (const auto& [row, message] : m_kept)
        out.push_back(message);
    return out;
}

} // namespace tabletext

#include "editor/row_text_cache.h"

#include "editor/record_texts.h"

namespace editor {

const QString& RowTextCache::text(const doc::ObjectTable& table, int index) {
    const auto at = static_cast<std::size_t>(index);
    if (m_rows.size() <= at)
        m_rows.resize(at + 1);
    Row& row = m_rows[at];
    const auto& record = table.records[at];
    const auto& name = table.names[at];
    decltype(row.shown) shown;
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = record.fields[static_cast<std::size_t>(doc::kRowTextFields[i])];
    // A built row text is never empty: it holds at least the index and three ";".
    if (row.text.isEmpty() || row.shown != shown || row.name != name) {
        row.shown = shown;
        row.name = name;
        row.text = rowText(table, index);
    }
    return row.text;
}

} // namespace editor

#include "editor/row_text_cache.h"

#include "document/field_table.h"
#include "editor/record_texts.h"

namespace editor {

const QString& RowTextCache::text(const doc::ObjectTable& table, int index) {
    const auto at = static_cast<std::size_t>(index);
    if (m_rows.size() <= at)
        m_rows.resize(at + 1);
    Row& row = m_rows[at];
    const auto& record = table.records[at];
    const auto& name = table.names[at];
    const std::uint32_t recordClass = record.fields[doc::field::kClass];
    const std::uint32_t recordType = record.fields[doc::field::kType];
    // A built row text is never empty: it holds at least the index and three ";".
    if (row.text.isEmpty() || row.recordClass != recordClass || row.recordType != recordType ||
        row.name != name) {
        row.recordClass = recordClass;
        row.recordType = recordType;
        row.name = name;
        row.text = rowText(table, index);
    }
    return row.text;
}

} // namespace editor

#include "tabletext/source_rows.h"

#include "document/field_table.h"

namespace tabletext {

int columnNamed(std::string_view name) {
    for (const doc::FieldInfo& field : doc::kFields)
        if (field.shortName == name)
            return field.index;
    return name == "index" ? kIndexColumn : name == "name" ? kNameColumn : -1;
}

std::string_view columnName(int column) {
    return column == kIndexColumn  ? "index"
           : column == kNameColumn ? "name"
                                   : doc::kFields[static_cast<std::size_t>(column)].shortName;
}

std::vector<std::string> MessageList::listed() const {
    std::vector<std::string> out;
    out.reserve(m_kept.size());
    for (const auto& [row, message] : m_kept)
        out.push_back(message);
    return out;
}

} // namespace tabletext

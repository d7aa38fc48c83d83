#pragma once
// Row texts of the record list, kept between refills. The list is refilled on
// every editing keystroke, yet only the edited row changes; a row's text is
// built again only when the fields it shows or its name slot differ from last time.

#include "document/field_table.h"
#include "document/object_table.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace editor {

class RowTextCache {
public:
    /** The row text of record index, as editor::rowText gives it. */
    const QString& text(const doc::ObjectTable& table, int index);

private:
    struct Row {
        std::array<std::uint32_t, doc::kRowTextFields.size()> shown{};
        doc::NameSlot name{};
        QString text; // empty until built
    };
    std::vector<Row> m_rows;
};

} // namespace editor

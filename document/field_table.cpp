#include "document/field_table.h"

#include "document/text_forms.h"

namespace doc {

ObjectRecord defaultRecord() {
    ObjectRecord record;
    for (const FieldInfo& info : kFields) {
        auto& bits = record.fields[static_cast<std::size_t>(info.index)];
        if (info.type == FieldType::Float)
            record.setFloatField(info.index, parseFloat(info.defaultText, "."));
        else
            bits = parseInt32Bits(info.defaultText);
    }
    return record;
}

std::optional<CellPart> partNamed(std::string_view columnName) {
    for (int code = 0; code < CellPart::kCount; ++code)
        if (doc::columnName(CellPart::ofCode(code)) == columnName)
            return CellPart::ofCode(code);
    return std::nullopt;
}

std::string stepName(Cell cell) {
    return std::string(captionOf(cell.part)) + " of record " + std::to_string(cell.record);
}

std::u32string rowText(int index, const ObjectRecord& record, std::u32string_view name) {
    std::string digits = std::to_string(index);
    digits += ';';
    for (const int k : kRowTextFields) {
        digits += formatUnsigned(record.fields[static_cast<std::size_t>(k)]);
        digits += ';';
    }
    std::u32string text(digits.begin(), digits.end());
    text += name;
    return text;
}

} // namespace doc

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

std::u32string rowText(int index, const ObjectRecord& record, std::u32string_view name) {
    std::string digits = std::to_string(index);
    digits += ';';
    digits += formatUnsigned(record.fields[field::kClass]);
    digits += ';';
    digits += formatUnsigned(record.fields[field::kType]);
    digits += ';';
    std::u32string text(digits.begin(), digits.end());
    text += name;
    return text;
}

} // namespace doc

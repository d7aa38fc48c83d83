#include "editor/record_texts.h"

#include "document/field_table.h"
#include "document/text_forms.h"

namespace editor {

namespace {
QString fromAscii(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

QString nameText(const doc::NameSlot& slot) {
    return QString::fromStdU32String(doc::readNameSlot(slot));
}

QString displayText(const doc::ObjectRecord& record, int field, const std::string& separator) {
    const std::uint32_t bits = record.fields[static_cast<std::size_t>(field)];
    switch (doc::kFields[static_cast<std::size_t>(field)].type) {
    case doc::FieldType::Unsigned:
        return fromAscii(doc::formatUnsigned(bits));
    case doc::FieldType::Float:
        // The separator may be any character of the locale, so UTF-8.
        return QString::fromStdString(doc::formatFloat(record.floatField(field), separator));
    case doc::FieldType::Flag:
        return bits == 1 ? QStringLiteral("1") : QStringLiteral("0");
    }
    return {};
}

QString rowText(const doc::ObjectTable& table, int index) {
    const auto at = static_cast<std::size_t>(index);
    return QString::fromStdU32String(
        doc::rowText(index, table.records[at], doc::readNameSlot(table.names[at])));
}

} // namespace editor

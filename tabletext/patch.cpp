#include "tabletext/patch.h"

#include "codepage/windows1252.h"
#include "document/errors.h"
#include "document/field_table.h"
#include "document/name_codec.h"
#include "document/three_way_merge.h"
#include "tabletext/source_rows.h"
#include "tabletext/value_text.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <optional>
#include <set>

namespace tabletext {

namespace {

using Json = nlohmann::ordered_json;

std::string nameText(const doc::NameSlot& slot) {
    return toUtf8(doc::readNameSlot(slot));
}

[[noreturn]] void badPatch(const std::string& where, const std::string& what) {
    throw doc::Error("not a patch this program reads: " + where + what);
}

/** A name read as its slot holds it: a name of a whole slot has no terminator. The bytes after
 * the terminator stay as they were. False when a character is not in the code page or the name
 * is longer than a slot. */
bool placeName(doc::NameSlot& slot, const std::u32string& name) {
    if (name.size() < doc::kNameSlotSize)
        return doc::writeNameSlot(slot, name);
    if (name.size() > doc::kNameSlotSize)
        return false;
    doc::NameSlot whole{};
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = cp1252::fromUnicode(name[i]);
        if (!byte)
            return false;
        whole[i] = *byte;
    }
    slot = whole;
    return true;
}

/** Reads the patch's JSON values, each error naming where it is. */
class PatchReader {
public:
    explicit PatchReader(std::string_view text) {
        m_json = Json::parse(text, nullptr, false);
        if (m_json.is_discarded() || !m_json.is_object())
            badPatch("", "the text is not a JSON object");
        if (!m_json.contains("format") || m_json["format"] != kPatchFormat)
            badPatch("", "\"format\" is not \"" + std::string(kPatchFormat) + "\"");
        const Json& version = m_json.contains("version") ? m_json["version"] : Json();
        if (!version.is_number_unsigned())
            badPatch("", "no \"version\"");
        if (version.get<std::uint64_t>() > static_cast<std::uint64_t>(kPatchVersion))
            badPatch("", "version " + version.dump() + " is newer than this program reads (" +
                             std::to_string(kPatchVersion) + ")");
    }

    const Json& member(const Json& object, const char* key, const std::string& where) const {
        if (!object.is_object() || !object.contains(key))
            badPatch(where, std::string("no \"") + key + "\"");
        return object[key];
    }
    int integer(const Json& object, const char* key, const std::string& where, int low,
                int high) const {
        const Json& value = member(object, key, where);
        if (!value.is_number_integer() || value.get<std::int64_t>() < low ||
            value.get<std::int64_t>() > high)
            badPatch(where, std::string("\"") + key + "\" is not a whole number from " +
                                std::to_string(low) + " to " + std::to_string(high));
        return value.get<int>();
    }
    const std::string& text(const Json& object, const char* key, const std::string& where) const {
        const Json& value = member(object, key, where);
        if (!value.is_string())
            badPatch(where, std::string("\"") + key + "\" is not a string");
        return value.get_ref<const std::string&>();
    }
    /** The bits of a field's value, or the name's slot laid over slot. */
    std::uint32_t bits(int k, const std::string& value, const std::string& where) const {
        const ParsedValue parsed =
            parseValueText(doc::kFields[static_cast<std::size_t>(k)].type, value);
        if (!parsed.error.empty())
            badPatch(where, parsed.error);
        return parsed.bits;
    }
    void name(doc::NameSlot& slot, const std::string& value, const std::string& where) const {
        const auto text = fromUtf8(value);
        if (!text || !placeName(slot, *text))
            badPatch(where, "the name is longer than " + std::to_string(doc::kNameSlotSize) +
                                " characters or has one the names file cannot hold");
    }

    const Json& json() const { return m_json; }

private:
    Json m_json;
};

std::string at(const char* list, std::size_t i) {
    return std::string(list) + " " + std::to_string(i + 1) + ": ";
}

} // namespace

std::string patchText(const doc::TableRows& a, const doc::TableRows& b) {
    doc::requireEveryRecordOf(a, b);
    Json changes = Json::array();
    for (const doc::RecordComparison& record : doc::compareTables(a, b)) {
        if (!record.inBoth())
            continue;
        const auto r = static_cast<std::size_t>(record.index);
        if (record.nameDiffers)
            changes.push_back({{"record", record.index},
                               {"column", "name"},
                               {"before", nameText(a.names[r])},
                               {"after", nameText(b.names[r])}});
        for (int k = 0; k < doc::kFieldCount; ++k)
            if (record.fieldDiffers[static_cast<std::size_t>(k)])
                changes.push_back(
                    {{"record", record.index},
                     {"column", doc::kFields[static_cast<std::size_t>(k)].shortName},
                     {"before",
                      fieldValueText(k, a.records[r].fields[static_cast<std::size_t>(k)])},
                     {"after",
                      fieldValueText(k, b.records[r].fields[static_cast<std::size_t>(k)])}});
    }
    Json added = Json::array();
    for (int r = a.count(); r < b.count(); ++r) {
        const auto i = static_cast<std::size_t>(r);
        Json record = {{"record", r}, {"name", nameText(b.names[i])}};
        for (const doc::FieldInfo& field : doc::kFields)
            record[std::string(field.shortName)] = fieldValueText(
                field.index, b.records[i].fields[static_cast<std::size_t>(field.index)]);
        added.push_back(std::move(record));
    }
    // One change and one added record a line, so that patches compare well line by line.
    const auto list = [](const Json& items) {
        std::string text = "[";
        for (std::size_t i = 0; i < items.size(); ++i)
            text += (i == 0 ? "\n  " : ",\n  ") + items[i].dump();
        return text + (items.empty() ? "]" : "\n ]");
    };
    const Json count = {{"before", a.count()}, {"after", b.count()}};
    return "{\n \"format\": " + Json(kPatchFormat).dump() +
           ",\n \"version\": " + std::to_string(kPatchVersion) + ",\n \"count\": " + count.dump() +
           ",\n \"changes\": " + list(changes) + ",\n \"added\": " + list(added) + "\n}\n";
}

PatchSides patchSides(const doc::ObjectTable& file, std::string_view text) {
    const PatchReader reader(text);
    const Json& patch = reader.json();
    const Json& count = reader.member(patch, "count", "");
    const int before = reader.integer(count, "before", "count: ", 1, doc::kTableCapacity);
    const int after = reader.integer(count, "after", "count: ", before, doc::kTableCapacity);
    PatchSides sides{file, file};
    sides.base.lastIndex = static_cast<std::uint16_t>(before - 1);
    sides.theirs.lastIndex = static_cast<std::uint16_t>(after - 1);

    const Json& changes = reader.member(patch, "changes", "");
    if (!changes.is_array())
        badPatch("", "\"changes\" is not a list");
    std::set<std::pair<int, int>> seen;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const Json& change = changes[i];
        const std::string where = at("change", i);
        const int r = reader.integer(change, "record", where, 0, before - 1);
        const std::string& columnText = reader.text(change, "column", where);
        const std::optional<doc::CellPart> column = doc::partNamed(columnText);
        if (!column || column->isWholeRecord())
            badPatch(where, "no column " + excerpt(columnText));
        if (!seen.emplace(r, column->code()).second)
            badPatch(where, "record " + std::to_string(r) + " " + columnText + " is changed twice");
        const std::string& was = reader.text(change, "before", where);
        const std::string& becomes = reader.text(change, "after", where);
        const auto slot = static_cast<std::size_t>(r);
        if (column->isName()) {
            reader.name(sides.base.names[slot], was, where);
            reader.name(sides.theirs.names[slot], becomes, where);
        } else {
            const int field = column->field();
            const auto k = static_cast<std::size_t>(field);
            sides.base.records[slot].fields[k] = reader.bits(field, was, where);
            sides.theirs.records[slot].fields[k] = reader.bits(field, becomes, where);
        }
    }

    const Json& added = reader.member(patch, "added", "");
    if (!added.is_array() || added.size() != static_cast<std::size_t>(after - before))
        badPatch("", "\"added\" is not a list of the " + std::to_string(after - before) +
                         " records after the first " + std::to_string(before));
    for (std::size_t i = 0; i < added.size(); ++i) {
        const Json& record = added[i];
        const std::string where = at("added record", i);
        const int r = reader.integer(record, "record", where, before + static_cast<int>(i),
                                     before + static_cast<int>(i));
        const auto slot = static_cast<std::size_t>(r);
        sides.theirs.names[slot] = {};
        reader.name(sides.theirs.names[slot], reader.text(record, "name", where), where);
        for (const doc::FieldInfo& field : doc::kFields)
            sides.theirs.records[slot].fields[static_cast<std::size_t>(field.index)] = reader.bits(
                field.index, reader.text(record, std::string(field.shortName).c_str(), where),
                where);
    }
    return sides;
}

} // namespace tabletext

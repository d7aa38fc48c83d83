#pragma once
// The 25 fields of an object record: the one table the whole program reads,
// each field's index by its name, its names (the export's and the record
// view's caption), the roles some fields play beyond their type (the list's
// class and type, the sizes and their shadows, the defaults) and the game's
// rules beside them (the core records, the shadow factor).

#include "document/cell.h"
#include "document/object_table.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace doc {

/** Each field's index in the record, named as the command-line companion names it. */
namespace field {
enum : int {
    kClass,
    kType,
    kDamage,
    kDotColor,
    kDxNeg,
    kDyNeg,
    kDzNeg,
    kDxPos,
    kDyPos,
    kDzPos,
    kMaxRange,
    kHiRange,
    kMidRange,
    kLowRange,
    kDotRange,
    kDistance,
    kMultiplier,
    kSxNeg,
    kSyNeg,
    kSzNeg,
    kSxPos,
    kSyPos,
    kSzPos,
    kHasShadow,
    kHasFlame,
};
} // namespace field

enum class FieldType { Unsigned, Float, Flag };

struct FieldInfo {
    int index; // k, 0 to 24
    FieldType type;
    std::string_view
        defaultText; // what "Add Record" and "Clear Record" put into the control; "1" = ticked
    std::string_view shortName; // the export's column name ("class", "dx_neg", ...): every
                                // table of fields and the command-line companion use it
    std::string_view caption;   // the record view's caption without its colon ("DX NEG"); a
                                // literal, so data() ends in a null
};

namespace detail {
constexpr FieldInfo u(int k, std::string_view def, std::string_view name,
                      std::string_view caption) {
    return {k, FieldType::Unsigned, def, name, caption};
}
constexpr FieldInfo f(int k, std::string_view name, std::string_view caption) {
    return {k, FieldType::Float, "0.0", name, caption};
}
constexpr FieldInfo flag(int k, std::string_view name, std::string_view caption) {
    return {k, FieldType::Flag, "1", name, caption};
}
} // namespace detail

// The range defaults are not ascending ("Max Range" 10000, then 1000 to 4000) and the dot
// colour sits between the damage and the shape sizes; both are as the game's files have them.
inline constexpr std::array<FieldInfo, kFieldCount> kFields = {{
    detail::u(field::kClass, "0", "class", "Class"),
    detail::u(field::kType, "0", "type", "Type"),
    detail::u(field::kDamage, "0", "damage", "Damage"),
    detail::u(field::kDotColor, "176", "dot_color", "Dot Color"),
    detail::f(field::kDxNeg, "dx_neg", "DX NEG"),
    detail::f(field::kDyNeg, "dy_neg", "DY NEG"),
    detail::f(field::kDzNeg, "dz_neg", "DZ NEG"),
    detail::f(field::kDxPos, "dx_pos", "DX POS"),
    detail::f(field::kDyPos, "dy_pos", "DY POS"),
    detail::f(field::kDzPos, "dz_pos", "DZ POS"),
    detail::u(field::kMaxRange, "10000", "max_range", "Max Range"),
    detail::u(field::kHiRange, "1000", "hi_range", "Hi Range"),
    detail::u(field::kMidRange, "2000", "mid_range", "Mid Range"),
    detail::u(field::kLowRange, "3000", "low_range", "Low Range"),
    detail::u(field::kDotRange, "4000", "dot_range", "Dot Range"),
    detail::u(field::kDistance, "100", "distance", "Distance"),
    detail::u(field::kMultiplier, "9", "multiplier", "Multiplier"),
    detail::f(field::kSxNeg, "sx_neg", "SX NEG"),
    detail::f(field::kSyNeg, "sy_neg", "SY NEG"),
    detail::f(field::kSzNeg, "sz_neg", "SZ NEG"),
    detail::f(field::kSxPos, "sx_pos", "SX POS"),
    detail::f(field::kSyPos, "sy_pos", "SY POS"),
    detail::f(field::kSzPos, "sz_pos", "SZ POS"),
    detail::flag(field::kHasShadow, "has_shadow", "Has Shadow"),
    detail::flag(field::kHasFlame, "has_flame", "Has Flame"),
}};

/** The six shape sizes: X, Y, Z of the negative side, then of the positive side. */
inline constexpr std::array<int, 6> kShapeSizeFields = {
    field::kDxNeg, field::kDyNeg, field::kDzNeg, field::kDxPos, field::kDyPos, field::kDzPos};

/** The shadow size of the same axis and side as a shape size. */
constexpr int shadowFieldOf(int shapeField) {
    return shapeField + (field::kSxNeg - field::kDxNeg);
}
static_assert(shadowFieldOf(field::kDzPos) == field::kSzPos);

/** Every size, the shape sizes then the shadow sizes: the floats global scaling multiplies. */
inline constexpr std::array<int, 12> kSizeFields = {
    field::kDxNeg, field::kDyNeg, field::kDzNeg, field::kDxPos, field::kDyPos, field::kDzPos,
    field::kSxNeg, field::kSyNeg, field::kSzNeg, field::kSxPos, field::kSyPos, field::kSzPos};

/** A part's column name in the export: a field's short name, "name", or "index" for the
 * record as a whole. */
constexpr std::string_view columnName(CellPart part) {
    if (part.isField())
        return kFields[static_cast<std::size_t>(part.field())].shortName;
    return part.isName() ? "name" : "index";
}
/** The part of that column name, if any. */
std::optional<CellPart> partNamed(std::string_view columnName);
/** A part's caption in the record view, without its colon: a field's caption, "Object Name",
 * or "Record#" for the record as a whole. Always a literal: data() ends in a null. */
constexpr std::string_view captionOf(CellPart part) {
    if (part.isField())
        return kFields[static_cast<std::size_t>(part.field())].caption;
    return part.isName() ? "Object Name" : "Record#";
}

/** A history step about one cell, named with the record view's caption whichever window made
 * it: "Damage of record 4", "Object Name of record 4". */
std::string stepName(Cell cell);

/** Records 0 to 188 are the game's own objects; "Clear Record" leaves them alone. */
inline constexpr int kFirstClearableRecord = 189;
/** "Shape Data to Shadow Data": a shadow size is this many times its shape size. */
inline constexpr unsigned kShadowFactor = 8;

/** The fields the record list's row text shows, beside the index and the name. */
inline constexpr std::array<int, 2> kRowTextFields = {field::kClass, field::kType};

inline constexpr std::string_view kDefaultObjectName = "Empty Object Slot";
inline constexpr std::string_view kCreatedSlotName = "No Name Entered";

/** The record "Add Record" and "Clear Record" give: each field's default text read as the
 * record view reads its field (the float defaults with "."). */
ObjectRecord defaultRecord();

/** The record list's row text of a record: its index, the kRowTextFields (its class and its
 * type) and its name, joined by ";" ("7;3;12;Hangar"). */
std::u32string rowText(int index, const ObjectRecord& record, std::u32string_view name);

} // namespace doc

#pragma once
// The 25 fields of an object record: the one table the whole program reads,
// each field's index by its name, and the roles some fields play beyond their
// type (the list's class and type, the sizes and their shadows, the defaults).

#include "document/object_table.h"

#include <array>
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
    std::string_view shortName; // the command-line companion's name ("class", "dx_neg", ...)
};

namespace detail {
constexpr FieldInfo u(int k, std::string_view def, std::string_view name) {
    return {k, FieldType::Unsigned, def, name};
}
constexpr FieldInfo f(int k, std::string_view name) {
    return {k, FieldType::Float, "0.0", name};
}
constexpr FieldInfo flag(int k, std::string_view name) {
    return {k, FieldType::Flag, "1", name};
}
} // namespace detail

// The range defaults are not ascending ("Max Range" 10000, then 1000 to 4000) and the dot
// colour sits between the damage and the shape sizes; both are as the game's files have them.
inline constexpr std::array<FieldInfo, kFieldCount> kFields = {{
    detail::u(field::kClass, "0", "class"),
    detail::u(field::kType, "0", "type"),
    detail::u(field::kDamage, "0", "damage"),
    detail::u(field::kDotColor, "176", "dot_color"),
    detail::f(field::kDxNeg, "dx_neg"),
    detail::f(field::kDyNeg, "dy_neg"),
    detail::f(field::kDzNeg, "dz_neg"),
    detail::f(field::kDxPos, "dx_pos"),
    detail::f(field::kDyPos, "dy_pos"),
    detail::f(field::kDzPos, "dz_pos"),
    detail::u(field::kMaxRange, "10000", "max_range"),
    detail::u(field::kHiRange, "1000", "hi_range"),
    detail::u(field::kMidRange, "2000", "mid_range"),
    detail::u(field::kLowRange, "3000", "low_range"),
    detail::u(field::kDotRange, "4000", "dot_range"),
    detail::u(field::kDistance, "100", "distance"),
    detail::u(field::kMultiplier, "9", "multiplier"),
    detail::f(field::kSxNeg, "sx_neg"),
    detail::f(field::kSyNeg, "sy_neg"),
    detail::f(field::kSzNeg, "sz_neg"),
    detail::f(field::kSxPos, "sx_pos"),
    detail::f(field::kSyPos, "sy_pos"),
    detail::f(field::kSzPos, "sz_pos"),
    detail::flag(field::kHasShadow, "has_shadow"),
    detail::flag(field::kHasFlame, "has_flame"),
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

inline constexpr std::string_view kDefaultObjectName = "Empty Object Slot";
inline constexpr std::string_view kCreatedSlotName = "No Name Entered";

/** The record "Add Record" and "Clear Record" give: each field's default text read as the
 * record view reads its field (the float defaults with "."). */
ObjectRecord defaultRecord();

/** The record list's row text of a record: its index, its class, its type and its name,
 * joined by ";" ("7;3;12;Hangar"). */
std::u32string rowText(int index, const ObjectRecord& record, std::u32string_view name);

} // namespace doc

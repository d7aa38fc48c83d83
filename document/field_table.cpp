#include "document/field_table.h"

namespace doc {

namespace {
constexpr FieldInfo u(int k, std::string_view def, std::string_view name) {
    return {k, 4 * k, FieldType::Unsigned, def, name};
}
constexpr FieldInfo f(int k, std::string_view name) {
    return {k, 4 * k, FieldType::Float, "0.0", name};
}
constexpr FieldInfo flag(int k, std::string_view name) {
    return {k, 4 * k, FieldType::Flag, "1", name};
}
} // namespace

// The range defaults are not ascending ("Max Range" 10000, then 1000 to 4000) and the dot
// colour sits between the damage and the shape sizes; both are as the game's files have them.
const std::array<FieldInfo, 25> kFields = {{
    u(0, "0", "class"),
    u(1, "0", "type"),
    u(2, "0", "damage"),
    u(3, "176", "dot_color"),
    f(4, "dx_neg"),
    f(5, "dy_neg"),
    f(6, "dz_neg"),
    f(7, "dx_pos"),
    f(8, "dy_pos"),
    f(9, "dz_pos"),
    u(10, "10000", "max_range"),
    u(11, "1000", "hi_range"),
    u(12, "2000", "mid_range"),
    u(13, "3000", "low_range"),
    u(14, "4000", "dot_range"),
    u(15, "100", "distance"),
    u(16, "9", "multiplier"),
    f(17, "sx_neg"),
    f(18, "sy_neg"),
    f(19, "sz_neg"),
    f(20, "sx_pos"),
    f(21, "sy_pos"),
    f(22, "sz_pos"),
    flag(23, "has_shadow"),
    flag(24, "has_flame"),
}};

} // namespace doc

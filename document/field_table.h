#pragma once
// The 25 fields of an object record: the one table the whole program reads.

#include <array>
#include <string_view>

namespace doc {

enum class FieldType { Unsigned, Float, Flag };

struct FieldInfo {
    int index;  // k, 0 to 24
    int offset; // byte offset inside the record, 4·k
    FieldType type;
    std::string_view
        defaultText; // what "Add Record" and "Clear Record" put into the control; "1" = ticked
    std::string_view shortName; // the command-line companion's name ("class", "dx_neg", ...)
};

extern const std::array<FieldInfo, 25> kFields;

inline constexpr std::string_view kDefaultObjectName = "Empty Object Slot";
inline constexpr std::string_view kCreatedSlotName = "No Name Entered";

} // namespace doc

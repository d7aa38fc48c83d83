#pragma once
// The in-memory copy of the document: 512 records, 512 name slots and the
// last index (record count - 1).

#include "document/file_layout.h"
#include "document/name_codec.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>

namespace doc {

/** One 100-byte object record: 25 little-endian four-byte fields, held as their bit patterns. */
struct ObjectRecord {
    std::array<std::uint32_t, kFieldCount> fields{};

    float floatField(int k) const {
        return std::bit_cast<float>(fields[static_cast<std::size_t>(k)]);
    }
    void setFloatField(int k, float v) {
        fields[static_cast<std::size_t>(k)] = std::bit_cast<std::uint32_t>(v);
    }
    bool operator==(const ObjectRecord&) const = default;
};

struct ObjectTable {
    std::array<ObjectRecord, kTableCapacity> records{};
    std::array<NameSlot, kTableCapacity> names{};
    /** The highest valid index; 0 before any file is loaded, so one all-zero record shows. */
    std::uint16_t lastIndex = 0;

    int recordCount() const { return lastIndex + 1; }
};

/** What a command that would put a record beyond the last slot of a full table is told. */
inline std::string tableFullMessage() {
    return "The file already holds " + std::to_string(kTableCapacity) +
           " records, the most this editor can hold.";
}

} // namespace doc

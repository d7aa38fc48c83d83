#include "document/record_codec.h"

#include <bit>
#include <type_traits>

namespace doc {

CountBytes encodeCount(std::uint16_t count) {
    return {static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8)};
}

std::uint16_t decodeCount(std::span<const std::uint8_t, kCountSize> bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

RecordBytes encodeRecord(const ObjectRecord& record) {
    RecordBytes bytes{};
    for (std::size_t k = 0; k < kFieldCount; ++k) {
        const std::uint32_t value = record.fields[k];
        for (std::size_t i = 0; i < kFieldSize; ++i)
            bytes[k * kFieldSize + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return bytes;
}

static_assert(sizeof(ObjectRecord) == kRecordSize && std::is_trivially_copyable_v<ObjectRecord>,
              "a record is read straight into its storage");

void decodeRecordsInPlace(std::span<ObjectRecord> records) {
    if constexpr (std::endian::native == std::endian::big) {
        for (ObjectRecord& record : records)
            for (std::uint32_t& field : record.fields)
                field = (field >> 24) | (field >> 8 & 0xFF00) | (field << 8 & 0xFF0000) |
                        (field << 24);
    }
}

} // namespace doc

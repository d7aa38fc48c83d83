#include "document/record_codec.h"

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

ObjectRecord decodeRecord(std::span<const std::uint8_t, kRecordSize> bytes) {
    ObjectRecord record;
    for (std::size_t k = 0; k < kFieldCount; ++k) {
        const std::uint8_t* p = bytes.data() + k * kFieldSize;
        record.fields[k] = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                           std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
    }
    return record;
}

} // namespace doc

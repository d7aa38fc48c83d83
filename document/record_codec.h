#pragma once
// How the data file's items sit in their bytes: the 16-bit record count and the
// 25 four-byte fields of a record, all little-endian. The one place that
// encodes and decodes them.

#include "document/file_layout.h"
#include "document/object_table.h"

#include <array>
#include <cstdint>
#include <span>

namespace doc {

using CountBytes = std::array<std::uint8_t, kCountSize>;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

CountBytes encodeCount(std::uint16_t count);
std::uint16_t decodeCount(std::span<const std::uint8_t, kCountSize> bytes);

RecordBytes encodeRecord(const ObjectRecord& record);
/** Turns records read straight into their storage, each holding its 100 bytes as stored, into
 * their values: nothing to do on a little-endian machine. */
void decodeRecordsInPlace(std::span<ObjectRecord> records);

} // namespace doc

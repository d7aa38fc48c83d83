#include "cli/sample_data.h"

#include "document/field_table.h"
#include "document/file_layout.h"
#include "document/object_table.h"
#include "document/record_codec.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace cli {

namespace {

/** A small fixed-seed generator, so that samples are reproducible on every platform. */
class Sequence {
public:
    std::uint32_t next(std::uint32_t bound) {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }
    /** A size in quarter units, so that it shows exactly with two decimals. */
    float quarters(std::uint32_t lowest, std::uint32_t highest) {
        return static_cast<float>(lowest + next(highest - lowest + 1)) / 4.0f;
    }

private:
    std::uint32_t m_state = 0x2F6B1D3u;
};

doc::ObjectRecord sampleRecord(Sequence& seq) {
    using namespace doc::field;
    static constexpr std::array<std::uint32_t, 4> kDotColors = {176, 32, 96, 224};
    doc::ObjectRecord record;
    auto& f = record.fields;
    f[kClass] = seq.next(7); // the unscaled class among them
    f[kType] = seq.next(40);
    f[kDamage] = 10 * (1 + seq.next(100));
    f[kDotColor] = kDotColors[seq.next(kDotColors.size())];
    // Shape sizes: negative extents below zero, positive ones above.
    const float dx = seq.quarters(2, 80);
    const float dy = seq.quarters(2, 40);
    const float dz = seq.quarters(2, 80);
    const float below = seq.quarters(1, 8);
    record.setFloatField(kDxNeg, -dx);
    record.setFloatField(kDyNeg, -below);
    record.setFloatField(kDzNeg, -dz);
    record.setFloatField(kDxPos, dx);
    record.setFloatField(kDyPos, dy);
    record.setFloatField(kDzPos, dz);
    f[kMaxRange] = 10000 + 500 * seq.next(20);
    f[kHiRange] = 1000 + 100 * seq.next(5);
    f[kMidRange] = 2000 + 100 * seq.next(5);
    f[kLowRange] = 3000 + 100 * seq.next(5);
    f[kDotRange] = 4000 + 100 * seq.next(5);
    f[kDistance] = 100 + 10 * seq.next(10);
    f[kMultiplier] = 1 + seq.next(9);
    // Shadow sizes: flat, and a little wider than the shape; none without a shadow.
    const bool hasShadow = seq.next(4) != 0;
    const float margin = hasShadow ? 1.25f : 0.0f;
    record.setFloatField(kSxNeg, hasShadow ? -(dx + margin) : 0.0f);
    record.setFloatField(kSyNeg, 0.0f);
    record.setFloatField(kSzNeg, hasShadow ? -(dz + margin) : 0.0f);
    record.setFloatField(kSxPos, hasShadow ? dx + margin : 0.0f);
    record.setFloatField(kSyPos, hasShadow ? 0.25f : 0.0f);
    record.setFloatField(kSzPos, hasShadow ? dz + margin : 0.0f);
    f[kHasShadow] = hasShadow ? 1 : 0;
    f[kHasFlame] = seq.next(5) == 0 ? 1 : 0;
    return record;
}

} // namespace

doc::ObjectTable sampleTable(int count) {
    if (count < 1 || count > doc::kTableCapacity)
        throw std::invalid_argument("the record count must lie between 1 and 512");
    doc::ObjectTable table;
    Sequence seq;
    for (int r = 0; r < count; ++r)
        table.records[static_cast<std::size_t>(r)] = sampleRecord(seq);
    table.lastIndex = static_cast<std::uint16_t>(count - 1);
    return table;
}

std::vector<std::uint8_t> sampleDataFile(int count) {
    const doc::ObjectTable table = sampleTable(count);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(doc::recordOffset(count)));
    // The header bytes mean nothing to the editor; fill them so that changes to them show.
    for (std::size_t i = 0; i < doc::kHeaderSize; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    const doc::CountBytes countBytes = doc::encodeCount(static_cast<std::uint16_t>(count));
    std::copy(countBytes.begin(), countBytes.end(), bytes.begin() + doc::kCountOffset);
    for (int r = 0; r < count; ++r) {
        const doc::RecordBytes record =
            doc::encodeRecord(table.records[static_cast<std::size_t>(r)]);
        std::copy(record.begin(), record.end(),
                  bytes.begin() + static_cast<std::ptrdiff_t>(doc::recordOffset(r)));
    }
    return bytes;
}

} // namespace cli

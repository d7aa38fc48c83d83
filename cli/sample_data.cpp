#include "cli/sample_data.h"

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
    static constexpr std::array<std::uint32_t, 4> kDotColors = {176, 32, 96, 224};
    doc::ObjectRecord record;
    auto& f = record.fields;
    f[0] = seq.next(7);              // class; class 3 objects are not scaled
    f[1] = seq.next(40);             // type
    f[2] = 10 * (1 + seq.next(100)); // damage
    f[3] = kDotColors[seq.next(kDotColors.size())];
    // Shape sizes: negative extents below zero, positive ones above.
    const float dx = seq.quarters(2, 80);
    const float dy = seq.quarters(2, 40);
    const float dz = seq.quarters(2, 80);
    const float below = seq.quarters(1, 8);
    record.setFloatField(4, -dx);
    record.setFloatField(5, -below);
    record.setFloatField(6, -dz);
    record.setFloatField(7, dx);
    record.setFloatField(8, dy);
    record.setFloatField(9, dz);
    f[10] = 10000 + 500 * seq.next(20); // max range
    f[11] = 1000 + 100 * seq.next(5);   // hi range
    f[12] = 2000 + 100 * seq.next(5);   // mid range
    f[13] = 3000 + 100 * seq.next(5);   // low range
    f[14] = 4000 + 100 * seq.next(5);   // dot range
    f[15] = 100 + 10 * seq.next(10);    // distance
    f[16] = 1 + seq.next(9);            // multiplier
    // Shadow sizes: flat, and a little wider than the shape; none without a shadow.
    const bool hasShadow = seq.next(4) != 0;
    const float margin = hasShadow ? 1.25f : 0.0f;
    record.setFloatField(17, hasShadow ? -(dx + margin) : 0.0f);
    record.setFloatField(18, 0.0f);
    record.setFloatField(19, hasShadow ? -(dz + margin) : 0.0f);
    record.setFloatField(20, hasShadow ? dx + margin : 0.0f);
    record.setFloatField(21, hasShadow ? 0.25f : 0.0f);
    record.setFloatField(22, hasShadow ? dz + margin : 0.0f);
    f[23] = hasShadow ? 1 : 0;
    f[24] = seq.next(5) == 0 ? 1 : 0;
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

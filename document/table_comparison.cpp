#include "document/table_comparison.h"

#include "document/name_codec.h"

#include <algorithm>

namespace doc {

TableRows TableRows::of(const ObjectTable& table) {
    const auto count = static_cast<std::size_t>(table.recordCount());
    return {std::span<const ObjectRecord>(table.records).first(count),
            std::span<const NameSlot>(table.names).first(count)};
}

bool RecordComparison::differs() const {
    return !inBoth() || nameDiffers ||
           std::find(fieldDiffers.begin(), fieldDiffers.end(), true) != fieldDiffers.end();
}

std::vector<RecordComparison> compareTables(const TableRows& first, const TableRows& second) {
    std::vector<RecordComparison> result(
        static_cast<std::size_t>(std::max(first.count(), second.count())));
    for (std::size_t r = 0; r < result.size(); ++r) {
        RecordComparison& record = result[r];
        record.index = static_cast<int>(r);
        record.inFirst = r < first.records.size();
        record.inSecond = r < second.records.size();
        if (!record.inBoth())
            continue;
        record.nameDiffers = readNameSlot(first.names[r]) != readNameSlot(second.names[r]);
        for (std::size_t k = 0; k < kFieldCount; ++k)
            record.fieldDiffers[k] = first.records[r].fields[k] != second.records[r].fields[k];
    }
    return result;
}

} // namespace doc

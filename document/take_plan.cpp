#include "document/take_plan.h"

#include "document/name_codec.h"

#include <algorithm>

namespace doc {

namespace {

bool takeName(ObjectTable& table, const TableRows& other, std::size_t r) {
    const NameSlot& theirs = other.names[r];
    if (readNameSlot(table.names[r]) == readNameSlot(theirs))
        return false;
    table.names[r] = theirs;
    return true;
}

bool takeField(ObjectTable& table, const TableRows& other, std::size_t r, int k) {
    auto& mine = table.records[r].fields[static_cast<std::size_t>(k)];
    const auto theirs = other.records[r].fields[static_cast<std::size_t>(k)];
    if (mine == theirs)
        return false;
    mine = theirs;
    return true;
}

} // namespace

TakePlan planTake(const ObjectTable& mine, const TableRows& other, std::span<const Cell> items) {
    TakePlan plan{mine, {}, -1};
    const int count = mine.recordCount();
    // The records to append: up to the highest taken beyond this table's last.
    int appendUpTo = count - 1;
    for (const Cell& item : items)
        if (item.record >= count && item.record < other.count())
            appendUpTo = std::max(appendUpTo, item.record);
    if (appendUpTo >= kTableCapacity) {
        plan.refusal = Refusal(tableFullMessage(), "nothing taken");
        return plan;
    }

    ObjectTable& table = plan.result;
    const auto changed = [&plan](int r) {
        plan.firstChanged = plan.firstChanged < 0 ? r : std::min(plan.firstChanged, r);
    };
    for (const Cell& item : items) {
        if (item.record < 0 || item.record >= std::min(count, other.count()))
            continue;
        const auto r = static_cast<std::size_t>(item.record);
        bool any = false;
        if (item.part.isName() || item.part.isWholeRecord())
            any = takeName(table, other, r);
        if (item.part.isWholeRecord())
            for (int k = 0; k < kFieldCount; ++k)
                any = takeField(table, other, r, k) || any;
        else if (item.part.isField())
            any = takeField(table, other, r, item.part.field());
        if (any)
            changed(item.record);
    }
    for (int r = count; r <= appendUpTo; ++r) {
        table.records[static_cast<std::size_t>(r)] = other.records[static_cast<std::size_t>(r)];
        table.names[static_cast<std::size_t>(r)] = other.names[static_cast<std::size_t>(r)];
        changed(r);
    }
    table.lastIndex = static_cast<std::uint16_t>(appendUpTo);
    return plan;
}

std::vector<Cell> everyRecordOf(const TableRows& other) {
    std::vector<Cell> items;
    items.reserve(static_cast<std::size_t>(other.count()));
    for (int r = 0; r < other.count(); ++r)
        items.push_back({r, CellPart::wholeRecord()});
    return items;
}

} // namespace doc

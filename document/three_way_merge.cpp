#include "document/three_way_merge.h"

#include "document/errors.h"
#include "document/field_table.h"
#include "document/name_codec.h"

#include <algorithm>
#include <optional>

namespace doc {

namespace {

// The merge's refusals, made in one place.

std::string fewerRecordsRefusal(int held, int base) {
    return "holds " + std::to_string(held) + " records, fewer than the original's " +
           std::to_string(base) + "; records are never removed";
}

std::string unsettledRefusal(const MergeChange& change) {
    return cellLabel(change) + ": a conflict without a choice; nothing was merged";
}

std::string gapRefusal(int leftOut, int kept) {
    return "record " + std::to_string(leftOut) + " is left out, but record " +
           std::to_string(kept) + " after it is kept; records keep their numbers";
}

/** The state of a cell from whether each side differs from BASE and the two sides from each
 * other; nothing when neither side changed it. */
std::optional<MergeState> stateOf(bool mineChanged, bool theirsChanged, bool sidesDiffer) {
    if (!mineChanged && !theirsChanged)
        return std::nullopt;
    if (mineChanged && theirsChanged)
        return sidesDiffer ? MergeState::Conflict : MergeState::Both;
    return mineChanged ? MergeState::Mine : MergeState::Theirs;
}

MergeChoice proposedChoice(MergeState state) {
    switch (state) {
    case MergeState::Mine:
    case MergeState::Both:
        return MergeChoice::Mine;
    case MergeState::Theirs:
        return MergeChoice::Theirs;
    case MergeState::Conflict:
        break;
    }
    return MergeChoice::None;
}

MergeChange changeOf(int record, CellPart part, MergeState state) {
    MergeChange change;
    change.cell = {record, part};
    change.state = state;
    change.choice = proposedChoice(state);
    return change;
}

ObjectTable tableOf(const TableRows& rows) {
    ObjectTable table;
    std::copy(rows.records.begin(), rows.records.end(), table.records.begin());
    std::copy(rows.names.begin(), rows.names.end(), table.names.begin());
    table.lastIndex = static_cast<std::uint16_t>(std::max(rows.count(), 1) - 1);
    return table;
}

} // namespace

void requireEveryRecordOf(const TableRows& base, const TableRows& side) {
    if (side.count() < base.count())
        throw Error(fewerRecordsRefusal(side.count(), base.count()));
}

MergePlan planMerge(const TableRows& base, const ObjectTable& mine, const TableRows& theirs) {
    const TableRows mineRows = TableRows::of(mine);
    requireEveryRecordOf(base, mineRows);
    requireEveryRecordOf(base, theirs);
    MergePlan plan;
    plan.mine = mine;
    plan.theirs = tableOf(theirs);
    plan.baseCount = base.count();
    const std::array<TableRows, 3> sides = {base, mineRows, theirs};

    for (int r = 0; r < base.count(); ++r) {
        const auto i = static_cast<std::size_t>(r);
        const std::array<std::u32string, 3> texts = {readNameSlot(base.names[i]),
                                                     readNameSlot(mineRows.names[i]),
                                                     readNameSlot(theirs.names[i])};
        if (const auto state = stateOf(texts[kMine] != texts[kBase], texts[kTheirs] != texts[kBase],
                                       texts[kMine] != texts[kTheirs])) {
            MergeChange change = changeOf(r, CellPart::name(), *state);
            for (int s = 0; s < 3; ++s)
                change.names[static_cast<std::size_t>(s)] =
                    sides[static_cast<std::size_t>(s)].names[i];
            plan.changes.push_back(change);
        }
        for (std::size_t k = 0; k < kFieldCount; ++k) {
            const std::uint32_t b = base.records[i].fields[k];
            const std::uint32_t m = mineRows.records[i].fields[k];
            const std::uint32_t t = theirs.records[i].fields[k];
            if (const auto state = stateOf(m != b, t != b, m != t)) {
                MergeChange change = changeOf(r, CellPart::field(static_cast<int>(k)), *state);
                change.bits = {b, m, t};
                plan.changes.push_back(change);
            }
        }
    }

    const int appendedUpTo = std::max(mineRows.count(), theirs.count());
    for (int r = base.count(); r < appendedUpTo; ++r) {
        const auto i = static_cast<std::size_t>(r);
        const bool inMine = r < mineRows.count();
        const bool inTheirs = r < theirs.count();
        const bool differ = inMine && inTheirs &&
                            (mineRows.records[i] != theirs.records[i] ||
                             readNameSlot(mineRows.names[i]) != readNameSlot(theirs.names[i]));
        MergeChange change =
            changeOf(r, CellPart::wholeRecord(), *stateOf(inMine, inTheirs, differ));
        change.has = {false, inMine, inTheirs};
        if (inMine)
            change.names[kMine] = mineRows.names[i];
        if (inTheirs)
            change.names[kTheirs] = theirs.names[i];
        plan.changes.push_back(change);
    }
    return plan;
}

int settleConflicts(MergePlan& plan, MergeChoice prefer) {
    int settled = 0;
    for (MergeChange& change : plan.changes)
        if (change.state == MergeState::Conflict && change.choice == MergeChoice::None) {
            change.choice = prefer;
            ++settled;
        }
    return settled;
}

int unsettledConflicts(const MergePlan& plan) {
    return static_cast<int>(
        std::count_if(plan.changes.begin(), plan.changes.end(),
                      [](const auto& c) { return c.choice == MergeChoice::None; }));
}

std::string cellLabel(const MergeChange& change) {
    std::string label = "record ";
    label += std::to_string(change.cell.record);
    if (!change.cell.part.isWholeRecord()) {
        label += ' ';
        label += columnName(change.cell.part);
    }
    return label;
}

TakePlan buildMerged(const MergePlan& plan) {
    TakePlan result{plan.mine, {}, -1};
    const auto refuse = [&](std::string refusal) {
        result.result = plan.mine;
        result.refusal = Refusal(std::move(refusal), "nothing merged");
        result.firstChanged = -1;
        return result;
    };
    ObjectTable& table = result.result;
    const auto changed = [&result](int r) {
        result.firstChanged = result.firstChanged < 0 ? r : std::min(result.firstChanged, r);
    };
    // Each appended index: whether the merged table has a record there, and where from.
    const int appendedUpTo = std::max(plan.mine.recordCount(), plan.theirs.recordCount());
    std::vector<const ObjectTable*> appended(
        static_cast<std::size_t>(std::max(appendedUpTo - plan.baseCount, 0)), nullptr);
    std::vector<int> keptBoth;

    for (const MergeChange& change : plan.changes) {
        if (change.choice == MergeChoice::None)
            return refuse(unsettledRefusal(change));
        const auto r = static_cast<std::size_t>(change.cell.record);
        const bool theirs = change.choice == MergeChoice::Theirs;
        if (change.cell.part.isWholeRecord()) {
            const bool keepBoth = change.choice == MergeChoice::KeepBoth;
            const int side = theirs ? kTheirs : kMine;
            if (change.has[static_cast<std::size_t>(side)])
                appended[r - static_cast<std::size_t>(plan.baseCount)] =
                    side == kTheirs ? &plan.theirs : &plan.mine;
            if (keepBoth && change.has[kTheirs])
                keptBoth.push_back(change.cell.record);
        } else if (change.cell.part.isName()) {
            const NameSlot& slot = change.names[theirs ? kTheirs : kMine];
            if (table.names[r] != slot) {
                table.names[r] = slot;
                changed(change.cell.record);
            }
        } else {
            const std::uint32_t bits = change.bits[theirs ? kTheirs : kMine];
            auto& field =
                table.records[r].fields[static_cast<std::size_t>(change.cell.part.field())];
            if (field != bits) {
                field = bits;
                changed(change.cell.record);
            }
        }
    }

    // The merged table's records after BASE's last, without a gap.
    int last = plan.baseCount - 1;
    for (std::size_t a = 0; a < appended.size(); ++a)
        if (appended[a])
            last = plan.baseCount + static_cast<int>(a);
    for (int r = plan.baseCount; r <= last; ++r) {
        const ObjectTable* from = appended[static_cast<std::size_t>(r - plan.baseCount)];
        if (!from) {
            return refuse(gapRefusal(r, last));
        }
        const auto i = static_cast<std::size_t>(r);
        if (table.records[i] != from->records[i] || table.names[i] != from->names[i] ||
            r > plan.mine.lastIndex) {
            table.records[i] = from->records[i];
            table.names[i] = from->names[i];
            changed(r);
        }
    }
    if (last + 1 + static_cast<int>(keptBoth.size()) > kTableCapacity)
        return refuse(tableFullMessage());
    for (const int r : keptBoth) {
        const auto i = static_cast<std::size_t>(r);
        const auto to = static_cast<std::size_t>(++last);
        table.records[to] = plan.theirs.records[i];
        table.names[to] = plan.theirs.names[i];
        changed(last);
    }
    if (last < plan.mine.lastIndex)
        changed(last + 1); // MINE's own appended records left out
    table.lastIndex = static_cast<std::uint16_t>(last);
    return result;
}

} // namespace doc

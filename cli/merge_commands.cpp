// cvnobj merge and apply: the document layer's three-way merge written into a pair through the
// journaled, locked save, or only listed.

#include "cli/command_support.h"
#include "cli/commands.h"
#include "document/field_table.h"
#include "document/name_codec.h"
#include "document/record_codec.h"
#include "document/three_way_merge.h"
#include "document/whole_file.h"
#include "tabletext/patch.h"
#include "tabletext/table_io.h"
#include "tabletext/value_text.h"

#include <algorithm>
#include <functional>

namespace cli {

using namespace support;
using tabletext::escapedForTerminal;

namespace {

/** The merge of a MINE table: what merge and apply plan against the pair they write. */
using Planner = std::function<doc::MergePlan(const doc::ObjectTable& mine)>;

std::string quotedName(const doc::NameSlot& slot) {
    std::string text = "\"";
    text += escapedForTerminal(doc::readNameSlot(slot));
    text += '"';
    return text;
}

/** A side's value of a field or name change as the export writes it. */
std::string valueOf(const doc::MergeChange& change, int side) {
    const auto s = static_cast<std::size_t>(side);
    if (change.cell.part.isName())
        return quotedName(change.names[s]);
    return tabletext::fieldValueText(change.cell.part.field(), change.bits[s]);
}

/** The lines of what the merge takes from the other side (theirs, the patch) and of every
 * conflict, with how --prefer settled it. */
struct MergeLines {
    std::string text;
    std::size_t taken = 0;
    std::size_t conflicts = 0;
};
MergeLines linesOf(const doc::MergePlan& plan, const std::string& theirs) {
    MergeLines lines;
    std::string& out = lines.text;
    for (const doc::MergeChange& change : plan.changes) {
        const bool whole = change.cell.part.isWholeRecord();
        if (change.state == doc::MergeState::Theirs) {
            ++lines.taken;
            out += escapedForTerminal(doc::cellLabel(change));
            if (whole) {
                out += " added";
            } else {
                out += ": ";
                out += valueOf(change, doc::kBase);
                out += " -> ";
                out += valueOf(change, doc::kTheirs);
            }
            out += " (";
            out += theirs;
            out += ")\n";
        } else if (change.state == doc::MergeState::Conflict) {
            ++lines.conflicts;
            out += escapedForTerminal(doc::cellLabel(change));
            if (whole) {
                out += " added: mine and ";
                out += theirs;
                out += " differ";
            } else {
                out += ": base ";
                out += valueOf(change, doc::kBase);
                out += ", mine ";
                out += valueOf(change, doc::kMine);
                out += ", ";
                out += theirs;
                out += ' ';
                out += valueOf(change, doc::kTheirs);
            }
            if (change.choice == doc::MergeChoice::Mine) {
                out += " (took mine)";
            } else if (change.choice == doc::MergeChoice::Theirs) {
                out += " (took ";
                out += theirs;
                out += ')';
            }
            out += '\n';
        }
    }
    return lines;
}

void settle(doc::MergePlan& plan, MergeOptions::Prefer prefer) {
    if (prefer != MergeOptions::Prefer::None)
        doc::settleConflicts(plan, prefer == MergeOptions::Prefer::Mine ? doc::MergeChoice::Mine
                                                                        : doc::MergeChoice::Theirs);
}

/** A file's bytes, or none when it is missing. */
std::vector<std::uint8_t> bytesOf(const std::string& path) {
    auto& files = doc::FileSystem::real();
    if (files.kindOf(path) == doc::PathKind::Missing)
        return {};
    try {
        const auto file = files.openReadOnly(path);
        auto bytes = doc::readWholeFile(*file);
        file->close();
        return bytes;
    } catch (const doc::Error& e) {
        failOn(path, e);
    }
}

/** The merged table written into a new pair at outPath: MINE's bytes with the table's count,
 * records and name slots where a save would write them (a names file MINE lacks is made of
 * empty names, as MINE reads). Each file is placed whole, as a sample is. */
void writeNewPair(const std::string& minePath, const doc::ObjectTable& table,
                  const std::string& outPath, const std::string& outNames) {
    std::vector<std::uint8_t> data = bytesOf(minePath);
    std::vector<std::uint8_t> names = bytesOf(doc::namesFilePath(minePath));
    const int count = table.recordCount();
    data.resize(std::max(data.size(), static_cast<std::size_t>(doc::recordOffset(count))));
    names.resize(std::max(names.size(), static_cast<std::size_t>(doc::nameSlotOffset(count))));
    const doc::CountBytes countBytes = doc::encodeCount(static_cast<std::uint16_t>(count));
    std::copy(countBytes.begin(), countBytes.end(), data.begin() + doc::kCountOffset);
    for (int r = 0; r < count; ++r) {
        const auto i = static_cast<std::size_t>(r);
        const doc::RecordBytes record = doc::encodeRecord(table.records[i]);
        std::copy(record.begin(), record.end(), data.begin() + doc::recordOffset(r));
        std::copy(table.names[i].begin(), table.names[i].end(),
                  names.begin() + doc::nameSlotOffset(r));
    }
    placeNewPair(outPath, outNames, data, names);
}

/** The merge planned against the pair at minePath, reported, and written into it (or into the
 * new pair options.output) when nothing is left unsettled. */
int mergeInto(const std::string& minePath, const Planner& planner, const std::string& theirs,
              const MergeOptions& options, doc::FileSystem& files) {
    const std::string& target = options.output.empty() ? minePath : options.output;
    std::string outNames;
    if (!options.output.empty())
        outNames = requireNewPair(options.output);
    const auto planned = [&](const doc::ObjectTable& mine, const std::string& path) {
        try {
            doc::MergePlan plan = planner(mine);
            settle(plan, options.prefer);
            return plan;
        } catch (const doc::Error& e) {
            failOn(path, e);
        }
    };

    const auto merge = [](const doc::MergePlan& plan) {
        doc::TakePlan merged = doc::buildMerged(plan);
        // The one reason, as cvnobj reports every failure: a line on standard error.
        if (merged.refusal.refuses())
            throw doc::Error(merged.refusal.items().front());
        return merged;
    };
    doc::MergePlan plan;
    bool written = false;
    if (options.dryRun || !options.output.empty()) {
        // Only read: a new pair is written whole, for a merge that can be written.
        const doc::StoredDocument stored = readStored(minePath);
        const doc::ObjectTable mine = tableOf(stored);
        plan = planned(mine, minePath);
        if (!options.dryRun && doc::unsettledConflicts(plan) == 0) {
            doc::TakePlan merged;
            try {
                merged = merge(plan);
            } catch (const doc::Error& e) {
                failOn(minePath, e);
            }
            writeNewPair(minePath, merged.result, options.output, outNames);
            written = true;
        }
    } else {
        // Planned against the pair as it is under the writer lock, held until the last write.
        doc::FileSession session(files);
        openForWriting(session, minePath, false);
        try {
            plan = planned(session.table(), minePath);
            if (doc::unsettledConflicts(plan) == 0) {
                const doc::TakePlan merged = merge(plan);
                if (merged.firstChanged >= 0) {
                    if (session.lacksNamesFile())
                        session.createNamesFile();
                    while (session.table().lastIndex < merged.result.lastIndex)
                        session.appendRecord();
                    session.table() = merged.result;
                    saveWritten(session, minePath);
                    written = true;
                }
            }
            session.close();
        } catch (const doc::Error& e) {
            failOn(minePath, e);
        }
    }

    const MergeLines lines = linesOf(plan, theirs);
    const int unsettled = doc::unsettledConflicts(plan);
    std::string summary = counted(lines.taken, " change", " changes") + " from " + theirs + ", " +
                          counted(lines.conflicts, " conflict", " conflicts");
    if (unsettled > 0)
        summary += " left; nothing written";
    else if (options.dryRun)
        summary += "; nothing written (dry run)";
    else if (written)
        summary += "; written to " + support::messageForTerminal(target);
    else
        summary += "; nothing to write";
    write(lines.text + summary + '\n');
    return unsettled > 0 ? 1 : 0;
}

} // namespace

int runMerge(const std::string& base, const std::string& mine, const std::string& theirs,
             const MergeOptions& options, doc::FileSystem& files) {
    const doc::StoredDocument baseStored = readStored(base);
    const doc::StoredDocument theirsStored = readStored(theirs);
    const doc::TableRows baseRows{baseStored.records, baseStored.names};
    const doc::TableRows theirsRows{theirsStored.records, theirsStored.names};
    try {
        doc::requireEveryRecordOf(baseRows, theirsRows);
    } catch (const doc::Error& e) {
        failOn(theirs, e);
    }
    return mergeInto(
        mine,
        [&](const doc::ObjectTable& table) { return doc::planMerge(baseRows, table, theirsRows); },
        "theirs", options, files);
}

int runApply(const std::string& path, const std::string& patchPath, const MergeOptions& options,
             doc::FileSystem& files) {
    const std::string patch = readSource(patchPath);
    // The patch read once up front, so a patch that is not one is reported as the patch's fault.
    try {
        tabletext::patchSides(doc::ObjectTable{}, patch);
    } catch (const doc::Error& e) {
        failOn(patchPath, e);
    }
    return mergeInto(
        path,
        [&](const doc::ObjectTable& table) {
            const tabletext::PatchSides sides = tabletext::patchSides(table, patch);
            return doc::planMerge(doc::TableRows::of(sides.base), table,
                                  doc::TableRows::of(sides.theirs));
        },
        "patch", options, files);
}

} // namespace cli

#pragma once
// The names of the files this program makes beside a data file or a names file:
// temporary files that become the file once complete, and the save's journal.
// Each name fits the 255-byte limit of a file name, however long the name of
// the file it belongs to: a long name is shortened and carries a hash of the
// whole, so two long names that begin alike still get names of their own.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace doc {

/** The longest name (one part of a path) Linux file systems take, in bytes. */
inline constexpr std::size_t kMaxFileNameBytes = 255;

/** base when a name of ours made from it fits; otherwise its first bytes (never half a UTF-8
 * character), "~" and 16 hex digits of a hash of the whole of base. */
std::string fittedBase(std::string_view base);

/** A temporary name in the folder of path: ".<base>.<pid>-<counter>-<stamp>.tmp". */
std::string temporaryPathFor(const std::string& path, int pid, unsigned counter,
                             std::uint32_t stamp);

/** The process that made entry, when entry (a name in the folder of path) is a temporary name
 * temporaryPathFor gives for path. */
std::optional<int> temporaryNameProcess(const std::string& path, std::string_view entry);

/** The journal of a save into the pair of dataPath: ".<base>-journal" beside it. */
std::string journalPathFor(const std::string& dataPath);
/** Where a journal that fits neither the old nor the new pair is kept, in plain sight beside the
 * data file, never deleted: "<base>.journal-not-applied", with "-<n>" from the second on. */
std::string setAsideJournalPathFor(const std::string& dataPath, int n);
/** Where the journal is written before it is moved to its name: ".<base>-journal.tmp". Only the
 * holder of the pair's writer lock writes it, so the name needs no number of its own. */
std::string journalTemporaryPathFor(const std::string& dataPath);

} // namespace doc

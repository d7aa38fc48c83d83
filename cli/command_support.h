#pragma once
// What the commands of cvnobj share: reading a pair, opening it for writing, the journaled save
// whose summary then has to be printed, a new pair's paths, and failures with the path they are
// about in front.

#include "document/document_reader.h"
#include "document/errors.h"
#include "document/file_session.h"
#include "document/object_table.h"
#include "tabletext/value_text.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli::support {

/** A message as a terminal shows it (tabletext::escapedForTerminal). On Windows the "\" of the
 * paths it names stays as it is, so "C:\Games\OBJDAT.dat" reads as the user wrote it; a name's
 * text, shown as data, is escaped in full everywhere. */
inline std::string messageForTerminal(std::string_view text) {
#ifdef _WIN32
    return tabletext::escapedForTerminal(text, tabletext::Backslashes::Kept);
#else
    return tabletext::escapedForTerminal(text);
#endif
}

/** Throws CommandError "<path>: <message>". */
[[noreturn]] void failOn(const std::string& path, const doc::Error& error);
/** The same for an opening of the pair at dataPath: the names file's path in front when the
 * failure is its. */
[[noreturn]] void failOnPair(const std::string& dataPath, const doc::Error& error, bool writing);

/** Opens the pair for writing (its writer lock held until the session closes) and tells of a
 * save that was cut off and had to be put back first. */
void openForWriting(doc::FileSession& session, const std::string& path, bool createMissingNames);
/** The save; from here on a summary that cannot be printed is reported as such (exit status 3). */
void saveWritten(doc::FileSession& session, const std::string& path);

/** The pair as it is on disk, through the editor's reader (a journal beside it refused). */
doc::StoredDocument readStored(const std::string& path);
doc::ObjectTable tableOf(const doc::StoredDocument& stored);

/** A source file's text (an import source, a patch), up to 16 MB. */
std::string readSource(const std::string& path);

/** The names file's path of a pair about to be made at path; throws CommandError when either
 * file exists already (or is a link), so nothing is written over. */
std::string requireNewPair(const std::string& path);

/** Writes a new pair: each file appears whole under its name or not at all, and never through a
 * link; the data file is taken back when the names file cannot be made. */
void placeNewPair(const std::string& path, const std::string& namesPath,
                  std::span<const std::uint8_t> data, std::span<const std::uint8_t> names);

/** Text on standard output. */
void write(std::string_view text);
/** "1 change", "2 changes". */
std::string counted(std::size_t count, const char* one, const char* many);

} // namespace cli::support

#pragma once
// The commands of cvnobj. Each returns the program's exit status: 0 done, 1 failed (the reason
// already on standard error) or, for diff and check, 1 when it found differences or problems and
// for merge and apply 1 when conflicts are left.
// Failures are thrown as CommandError with the path of the file they are about in front; the
// caller prints them escaped for a terminal, and diff, check, merge and apply exit 2 on them. What
// the commands print themselves is escaped where it quotes outside text.

#include "document/file_system.h"
#include "document/scaling.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace cli {

/** A failure reported as "cvnobj: <message>" with exit status 1. */
class CommandError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/** The files were written, but what the command had to say about it could not be: reported as
 * "cvnobj: <message>" with exit status kWrittenUnreported, so a script does not write again. */
class UnreportedWrite : public CommandError {
public:
    using CommandError::CommandError;
};
inline constexpr int kWrittenUnreported = 3;

enum class ExportFormat { Csv, Json };

int runShow(const std::string& path, std::optional<int> record);
/** byteOrderMark: the CSV starts with the UTF-8 byte-order mark. */
int runExport(const std::string& path, ExportFormat format, const std::string& outputPath,
              bool byteOrderMark = false);
/** import and scale write through files (tests pass a file system with faults). */
int runImport(const std::string& path, const std::string& sourcePath, bool dryRun,
              doc::FileSystem& files = doc::FileSystem::real());
int runScale(const std::string& path, doc::ScalePercentages damage, doc::ScalePercentages size,
             doc::FileSystem& files = doc::FileSystem::real());
/** patch: the differences as a patch file's JSON instead of lines. */
int runDiff(const std::string& first, const std::string& second, bool patch = false);

/** What merge and apply do beyond planning: exit status 0 merged (or would merge), 1 conflicts
 * left and nothing written; failures thrown as for the other commands (exit status 2). */
struct MergeOptions {
    /** Write the merge into this new pair instead (merge only); neither file may exist. */
    std::string output;
    bool dryRun = false;
    /** Mine or Theirs settles every conflict; None leaves them. */
    enum class Prefer { None, Mine, Theirs } prefer = Prefer::None;
};
int runMerge(const std::string& base, const std::string& mine, const std::string& theirs,
             const MergeOptions& options, doc::FileSystem& files = doc::FileSystem::real());
int runApply(const std::string& path, const std::string& patchPath, const MergeOptions& options,
             doc::FileSystem& files = doc::FileSystem::real());
int runCheck(const std::string& path);
int runSample(const std::string& path, int count);

/** Standard output flushed; throws CommandError when anything written to it was lost, and
 * UnreportedWrite when that happened after import or scale wrote the files. */
void finishOutput();

} // namespace cli

// Fuzzes the patch reader and the merge it feeds against a sample table. Any bytes must be read
// without crashing or hanging, or refused with a message; a patch that is read, applied with
// every conflict settled by the patch, must give a table that the same patch leaves as it is.

#include "cli/sample_data.h"
#include "document/errors.h"
#include "document/three_way_merge.h"
#include "tabletext/patch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

/** The patch applied to table with every conflict settled by it; throws doc::Error when the
 * table holds fewer records than the patch's "before". */
doc::ObjectTable applied(const doc::ObjectTable& table, std::string_view patch) {
    const tabletext::PatchSides sides = tabletext::patchSides(table, patch);
    doc::MergePlan plan =
        doc::planMerge(doc::TableRows::of(sides.base), table, doc::TableRows::of(sides.theirs));
    doc::settleConflicts(plan, doc::MergeChoice::Theirs);
    const doc::TakePlan merged = doc::buildMerged(plan);
    check(!merged.refusal.refuses(), "a merge settled by one side is never refused");
    return merged.result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const doc::ObjectTable table = cli::sampleTable(8);
    const std::string_view patch(reinterpret_cast<const char*>(data), size);
    doc::ObjectTable once;
    try {
        once = applied(table, patch);
    } catch (const doc::Error& e) {
        check(*e.what() != '\0', "a refusal says why");
        return 0;
    }
    const doc::ObjectTable twice = applied(once, patch);
    check(twice.lastIndex == once.lastIndex && twice.records == once.records &&
              twice.names == once.names,
          "a patch applied twice changes nothing the second time");
    return 0;
}

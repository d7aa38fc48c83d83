// Fuzzes cvnobj's import of CSV and JSON against a sample table. Any bytes must be read without
// crashing or hanging; a source that passes every check must give a table whose own export, in
// either form, imports again without a change and without an error.

#include "cli/sample_data.h"
#include "tabletext/table_io.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const doc::ObjectTable table = cli::sampleTable(8);
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    const tabletext::ImportPlan plan = tabletext::planImport(table, source);
    if (plan.refusal.refuses())
        return 0;
    check(plan.result.recordCount() == table.recordCount() + plan.added,
          "the count grows by what is added");
    for (const std::string& again :
         {tabletext::exportCsv(plan.result), tabletext::exportJson(plan.result)}) {
        const tabletext::ImportPlan second = tabletext::planImport(plan.result, again);
        check(!second.refusal.refuses(), "an export imports without an error");
        check(second.changes.empty(), "an export imports without a change");
        check(second.result.records == plan.result.records &&
                  second.result.names == plan.result.names,
              "an export imports to the same table");
    }
    return 0;
}

// The patch reader's seed corpus: patches between sample tables (changed cells, names, added
// records, bit patterns text finds hardest) and texts that are almost patches.

#include "cli/sample_data.h"
#include "fuzz/seed_corpus.h"
#include "tabletext/patch.h"

int main(int argc, char** argv) {
    const doc::ObjectTable table = cli::sampleTable(8);
    doc::ObjectTable changed = cli::sampleTable(10);
    changed.records[1].fields[4] = 0x80000000u;
    changed.records[2].fields[5] = 0x7FC01234u;
    changed.records[3].fields[23] = 7;
    changed.names[4] = {'C', 'a', 'f', 0xE9, 0, 'x'};
    const auto patch = [&](const doc::ObjectTable& a, const doc::ObjectTable& b) {
        return tabletext::patchText(doc::TableRows::of(a), doc::TableRows::of(b));
    };
    return fuzzseeds::writeSeeds(
        argc, argv,
        {
            {"changes.json", patch(table, changed)},
            {"none.json", patch(table, table)},
            {"later.json", R"({"format":"cvnobj-patch","version":2})"},
            {"bad.json", R"({"format":"cvnobj-patch","version":1,"count":{"before":8,"after":8},)"
                         R"("changes":[{"record":9,"column":"x"}],"added":[]})"},
        });
}

// The import's seed corpus: exports of the sample table in both forms, a spreadsheet's rewrite
// of the CSV, additions, and sources with bad cells.

#include "cli/sample_data.h"
#include "fuzz/seed_corpus.h"
#include "tabletext/table_io.h"

int main(int argc, char** argv) {
    const doc::ObjectTable table = cli::sampleTable(8);
    std::string sheet = "\xEF\xBB\xBF"
                        "index;name;dx_neg;damage\n0;\"a;b \"\"c\"\"\";1E-045;1E+3\n";
    return fuzzseeds::writeSeeds(
        argc, argv,
        {
            {"export.csv", tabletext::exportCsv(table)},
            {"export.json", tabletext::exportJson(table)},
            {"sheet.csv", sheet},
            {"add.csv", "index,name,has_flame\r\n8,New,2\r\n9,Newer,0x1\r\n"},
            {"add.json",
             R"({"count":9,"records":[{"index":8,"dy_pos":"0x7FC00001","name":"N\u00e9"}]})"},
            {"bad.csv", "index,damage,bogus\n0,-1,x\n0,1\n\"open"},
            {"bad.json", R"({"records":[{"index":-1},{"index":1,"class":null},[1,2]]})"},
        });
}

// Open and save of a data file at the table's capacity: 512 records (51,300 bytes) and 512
// name slots (15,360 bytes). Open reads both files whole; save writes one name slot and one
// record per write, 1,024 writes in all.

#include "document/file_session.h"
#include "tests/support/data_files.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct FullFile {
    FullFile() {
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(doc::kTableCapacity);
        file.write(path);
        std::vector<std::string> names;
        for (int r = 0; r < doc::kTableCapacity; ++r)
            names.push_back("Object " + std::to_string(r));
        testsupport::writeNamesFile(path, names);
    }
    testsupport::TempFolder folder;
    std::string path = folder.file("OBJDAT.dat");
};

void BM_Open(benchmark::State& state) {
    FullFile file;
    doc::FileSession session;
    for (auto _ : state) {
        session.open(file.path); // each open lets the previous pair go
        benchmark::DoNotOptimize(session.table().lastIndex);
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_Save(benchmark::State& state) {
    FullFile file;
    doc::FileSession session;
    session.open(file.path);
    for (auto _ : state)
        session.save();
}
BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();

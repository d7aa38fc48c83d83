// "Merge With..." on three full (512-record) pairs with every record changed, as
// bench/cvnobj_bench.sh makes them: MINE renames every record and changes its damage, THEIRS
// changes every dx_pos and every other record's damage (a conflict each, 256 in all). Figures:
// the merge planned alone, the read of BASE and THEIRS it needs (the floor), the whole command
// through the real windows up to the drawn list (goal: under 50 ms), and "Apply Merge" with
// every change chosen as THEIRS (one step, the editor's list and form and the merge brought up to
// date) with its undo between the runs.

#include "bench/window_bench.h"
#include "document/document_reader.h"
#include "document/field_table.h"
#include "document/three_way_merge.h"
#include "tests/support/views_fixture.h"
#include "views/merge_window.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kFull = doc::kTableCapacity;
constexpr std::size_t kDamage = doc::field::kDamage, kDxPos = doc::field::kDxPos;

testsupport::DataFile fullFile() {
    testsupport::DataFile file;
    file.records = testsupport::sampleRecords(kFull);
    return file;
}

testsupport::DataFile mineFile() {
    testsupport::DataFile file = fullFile();
    for (std::size_t r = 0; r < file.records.size(); ++r)
        file.records[r].fields[kDamage] = static_cast<std::uint32_t>(r + 7);
    return file;
}

std::vector<doc::NameSlot> mineNames() {
    std::vector<doc::NameSlot> names;
    for (int r = 0; r < kFull; ++r)
        names.push_back(testsupport::nameSlot("Mine " + std::to_string(r)));
    return names;
}

struct Bench : ViewsFixture {
    Bench() : ViewsFixture(mineFile(), mineNames()) {
        basePath = baseFolder.file("OBJDAT.dat");
        testsupport::writePair(basePath, fullFile(), testsupport::numberedNames(kFull));
        testsupport::DataFile theirs = fullFile();
        for (std::size_t r = 0; r < theirs.records.size(); ++r) {
            theirs.records[r].fields[kDamage] = static_cast<std::uint32_t>(r % 2 ? r + 9 : r + 7);
            theirs.records[r].setFloatField(static_cast<int>(kDxPos), static_cast<float>(r) + 0.5f);
        }
        theirsPath = theirsFolder.file("OBJDAT.dat");
        testsupport::writePair(theirsPath, theirs, testsupport::numberedNames(kFull));
        window().LMDLB1->setSelectedIndex(300);
        window().showSelectedRecord();
        QCoreApplication::processEvents();
    }
    views::MergeWindow* merge() {
        dialogs().queueOpenFile(QString::fromStdString(basePath));
        dialogs().queueOpenFile(QString::fromStdString(theirsPath));
        window().MergeWith1->trigger();
        QCoreApplication::processEvents();
        return window().findChild<views::MergeWindow*>();
    }
    testsupport::TempFolder baseFolder, theirsFolder;
    std::string basePath, theirsPath;
};

Bench* g_bench = nullptr;

void BM_ReadBaseAndTheirs(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            doc::readStoredDocument(g_bench->files(), g_bench->basePath).records.data());
        benchmark::DoNotOptimize(
            doc::readStoredDocument(g_bench->files(), g_bench->theirsPath).records.data());
    }
}
BENCHMARK(BM_ReadBaseAndTheirs)->Unit(benchmark::kMicrosecond);

void BM_PlanMerge(benchmark::State& state) {
    const doc::StoredDocument base = doc::readStoredDocument(g_bench->files(), g_bench->basePath);
    const doc::StoredDocument theirs =
        doc::readStoredDocument(g_bench->files(), g_bench->theirsPath);
    for (auto _ : state)
        benchmark::DoNotOptimize(doc::planMerge({base.records, base.names}, g_bench->table(),
                                                {theirs.records, theirs.names})
                                     .changes.data());
}
BENCHMARK(BM_PlanMerge)->Unit(benchmark::kMicrosecond);

/** The command from the menu to the list drawn: the dialogs' answers, the reads, the merge, the
 * window shown. The window is closed between the runs, untimed. */
void BM_MergeWithShown(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        views::MergeWindow* window = g_bench->merge();
        state.SetIterationTime(windowbench::since(start));
        if (!window || window->model().conflicts() != kFull / 2 ||
            window->model().rowCount() != 3 * kFull) {
            state.SkipWithError("not the merge of every record");
            break;
        }
        delete window;
    }
}
BENCHMARK(BM_MergeWithShown)->UseManualTime()->Unit(benchmark::kMillisecond);

/** "Apply Merge" of 1536 changes, every one chosen as THEIRS: the merged table, the step,
 * the editor's list and form, the merge again, drawn. Undone between the runs, untimed. */
void BM_ApplyMerge(benchmark::State& state) {
    views::MergeWindow* window = g_bench->merge();
    window->changes->selectAll();
    window->chooseSelected(doc::MergeChoice::Theirs);
    windowbench::clickThenUndo(
        state, *g_bench, window->applyMerge, [window] { return window->model().conflicts() == 0; },
        "the merge left conflicts");
    delete window;
}
BENCHMARK(BM_ApplyMerge)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return windowbench::runWithFixture(argc, argv, g_bench);
}

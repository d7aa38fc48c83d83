// "Compare With..." on two full (512-record) pairs, every record of which differs in three
// fields and every fourth in its name: the comparison alone, the read of the other pair it
// needs (the floor), the whole command through the real windows up to the drawn list, the
// switch to every cell, and the take of every difference (512 records, one step, the editor's
// list and form and the comparison brought up to date) with its undo between the runs.

#include "bench/window_bench.h"
#include "document/document_reader.h"
#include "document/field_table.h"
#include "document/table_comparison.h"
#include "tests/support/views_fixture.h"
#include "views/compare_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kFull = doc::kTableCapacity;

testsupport::DataFile fullFile() {
    testsupport::DataFile file;
    file.records = testsupport::sampleRecords(kFull);
    return file;
}

struct Bench : ViewsFixture {
    Bench() : ViewsFixture(fullFile(), testsupport::numberedNames(kFull)) {
        testsupport::DataFile other = fullFile();
        for (auto& record : other.records)
            for (const int k : {doc::field::kDamage, doc::field::kDxPos, doc::field::kMaxRange})
                record.fields[static_cast<std::size_t>(k)] += 1;
        otherPath = folder.file("OBJDAT.dat");
        auto names = testsupport::numberedNames(kFull);
        for (std::size_t r = 0; r < names.size(); r += 4)
            names[r] = testsupport::nameSlot("Other " + std::to_string(r));
        testsupport::writePair(otherPath, other, names);
        window().LMDLB1->setSelectedIndex(300);
        window().showSelectedRecord();
        QCoreApplication::processEvents();
    }
    views::CompareWindow* compare() {
        dialogs().queueOpenFile(QString::fromStdString(otherPath));
        window().CompareWith1->trigger();
        QCoreApplication::processEvents();
        return window().findChild<views::CompareWindow*>();
    }
    testsupport::TempFolder folder;
    std::string otherPath;
};

Bench* g_bench = nullptr;

void BM_ReadOtherPair(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            doc::readStoredDocument(g_bench->files(), g_bench->otherPath).records.data());
}
BENCHMARK(BM_ReadOtherPair)->Unit(benchmark::kMicrosecond);

void BM_CompareTables(benchmark::State& state) {
    const doc::StoredDocument other = doc::readStoredDocument(g_bench->files(), g_bench->otherPath);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            doc::compareTables(doc::TableRows::of(g_bench->table()), {other.records, other.names})
                .data());
}
BENCHMARK(BM_CompareTables)->Unit(benchmark::kMicrosecond);

/** The command from the menu to the list drawn: the dialog's answer, the read, the comparison,
 * the window shown. The window is closed between the runs, untimed. */
void BM_CompareWithShown(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        views::CompareWindow* window = g_bench->compare();
        state.SetIterationTime(windowbench::since(start));
        if (!window || window->model().differingRecords() != kFull) {
            state.SkipWithError("no comparison of every record");
            break;
        }
        delete window;
    }
}
BENCHMARK(BM_CompareWithShown)->UseManualTime()->Unit(benchmark::kMillisecond);

/** "Show all records" switched on (13 312 rows) and drawn; switched off between the runs. */
void BM_ShowAllRecords(benchmark::State& state) {
    views::CompareWindow* window = g_bench->compare();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        window->showAll->click();
        QCoreApplication::processEvents();
        state.SetIterationTime(windowbench::since(start));
        window->showAll->click();
        QCoreApplication::processEvents();
    }
    delete window;
}
BENCHMARK(BM_ShowAllRecords)->UseManualTime()->Unit(benchmark::kMillisecond);

/** "Take All Differences" of 512 records: the plan, the step, the editor's list and form, the
 * comparison again, drawn. Undone between the runs, untimed. */
void BM_TakeAllDifferences(benchmark::State& state) {
    views::CompareWindow* window = g_bench->compare();
    windowbench::clickThenUndo(
        state, *g_bench, window->takeAll,
        [window] { return window->model().differingRecords() == 0; }, "the take left differences");
    delete window;
}
BENCHMARK(BM_TakeAllDifferences)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return windowbench::runWithFixture(argc, argv, g_bench);
}

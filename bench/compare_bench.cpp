// "Compare With..." on two full (512-record) pairs, every record of which differs in three
// fields and every fourth in its name: the comparison alone, the read of the other pair it
// needs (the floor), the whole command through the real windows up to the drawn list, the
// switch to every cell, and the take of every difference (512 records, one step, the editor's
// list and form and the comparison brought up to date) with its undo between the runs.

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
#include <cstdio>

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
        other.write(otherPath);
        auto names = testsupport::numberedNames(kFull);
        for (std::size_t r = 0; r < names.size(); r += 4)
            names[r] = testsupport::nameSlot("Other " + std::to_string(r));
        testsupport::Bytes bytes;
        for (const auto& slot : names)
            bytes.insert(bytes.end(), slot.begin(), slot.end());
        testsupport::writeFile(doc::namesFilePath(otherPath), bytes);
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

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

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
        state.SetIterationTime(since(start));
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
        state.SetIterationTime(since(start));
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
    const doc::ObjectTable before = g_bench->table();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QTest::mouseClick(window->takeAll, Qt::LeftButton);
        QCoreApplication::processEvents();
        state.SetIterationTime(since(start));
        if (window->model().differingRecords() != 0) {
            state.SkipWithError("the take left differences");
            break;
        }
        g_bench->window().Undo1->trigger();
        QCoreApplication::processEvents();
    }
    if (g_bench->table().records != before.records || g_bench->table().names != before.names)
        state.SkipWithError("the undo did not give the table back");
    delete window;
}
BENCHMARK(BM_TakeAllDifferences)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Every new window tells the offscreen platform's one limit; the figures are what counts.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (!text.contains(QLatin1StringView("propagateSizeHints")))
            std::fprintf(stderr, "%d: %s\n", static_cast<int>(type), qPrintable(text));
    });
    benchmark::Initialize(&argc, argv);
    Bench bench;
    g_bench = &bench;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

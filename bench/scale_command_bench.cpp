// "Apply to All Objects" on a full (512-record) table: the computation alone
// (13 fields of every record), and the whole command through the real editor
// window (settings read and written, the table rescaled, the selected record
// shown again, the event round that repaints); then its undo and its redo.

#include "document/scaling.h"
#include "tests/support/editor_fixture.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/controls/record_list.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

doc::ObjectTable fullTable() {
    doc::ObjectTable table;
    const auto records = testsupport::sampleRecords(doc::kTableCapacity);
    std::copy(records.begin(), records.end(), table.records.begin());
    table.lastIndex = doc::kTableCapacity - 1;
    return table;
}

void BM_ScaleTable(benchmark::State& state) {
    doc::ObjectTable table = fullTable();
    bool up = true;
    for (auto _ : state) {
        // 100% to 150% and back, so the values stay in range.
        doc::scaleTable(table, {up ? 100 : 150, up ? 150 : 100}, {up ? 100 : 150, up ? 150 : 100});
        up = !up;
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(BM_ScaleTable)->Unit(benchmark::kMicrosecond);

struct Editor : EditorFixture {
    Editor() : EditorFixture(fullFile(), std::vector<doc::NameSlot>(doc::kTableCapacity)) {
        window().LMDLB1->setSelectedIndex(300);
        window().showSelectedRecord();
        QCoreApplication::processEvents();
    }
    static testsupport::DataFile fullFile() {
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(doc::kTableCapacity);
        return file;
    }
};

Editor* g_editor = nullptr;

void BM_ApplyToAllObjects(benchmark::State& state) {
    editor::TForm6& w = g_editor->window();
    bool up = true;
    for (auto _ : state) {
        w.LMDSE1->setValue(up ? 150 : 100);
        w.LMDSE2->setValue(up ? 150 : 100);
        QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
        QCoreApplication::processEvents();
        up = !up;
    }
    if (g_editor->settings().sizeScale.value_or(0) == 0)
        state.SkipWithError("the command did not run");
}
BENCHMARK(BM_ApplyToAllObjects)->Unit(benchmark::kMicrosecond);

/** "Undo" (or "Redo") of "Apply to All Objects" from the menu: 512 records put back, the
 * percentages stored and shown, the list refilled, the record shown, the event round. The other
 * of the two runs between the timed ones, untimed. */
void undoOrRedo(benchmark::State& state, bool timeUndo) {
    editor::TForm6& w = g_editor->window();
    w.LMDSE1->setValue(170);
    w.LMDSE2->setValue(130);
    QTest::mouseClick(w.LMDButton7, Qt::LeftButton);
    QCoreApplication::processEvents();
    const doc::ObjectTable scaled = g_editor->table();
    if (w.Undo1->text() != QStringLiteral("Undo Apply to All Objects"))
        state.SkipWithError("the command made no step");
    for (auto _ : state) {
        if (!timeUndo) {
            w.Undo1->trigger();
            QCoreApplication::processEvents();
        }
        const auto start = std::chrono::steady_clock::now();
        (timeUndo ? w.Undo1 : w.Redo1)->trigger();
        QCoreApplication::processEvents();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        if (timeUndo) {
            w.Redo1->trigger();
            QCoreApplication::processEvents();
        }
    }
    // Ends redone: the table must be the scaled one again, or nothing was measured.
    if (g_editor->table().records != scaled.records || g_editor->settings().sizeScale != 170)
        state.SkipWithError("undo and redo did not give the scaled table back");
}

void BM_UndoApplyToAllObjects(benchmark::State& state) {
    undoOrRedo(state, true);
}
BENCHMARK(BM_UndoApplyToAllObjects)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_RedoApplyToAllObjects(benchmark::State& state) {
    undoOrRedo(state, false);
}
BENCHMARK(BM_RedoApplyToAllObjects)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Editor editor;
    g_editor = &editor;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

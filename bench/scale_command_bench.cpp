// "Apply to All Objects" on a full (512-record) table: the computation alone
// (13 fields of every record), and the whole command through the real editor
// window (settings read and written, the table rescaled, the selected record
// shown again, the event round that repaints).

#include "document/scaling.h"
#include "tests/support/editor_fixture.h"
#include "ui/controls/percent_spin_box.h"
#include "ui/controls/record_list.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

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

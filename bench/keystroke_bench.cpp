// One editing keystroke in "Damage:" of a 512-record file: the key event, the
// modified event, the write-back of all 26 controls, the refill of 512 rows,
// the reselection and the event processing that follows (repaint included).
// Alternates typing a digit at the end and Backspace, so the text stays a
// valid number and every keystroke changes it.

#include "document/field_table.h"
#include "tests/support/editor_fixture.h"
#include "ui/controls/field_edit.h"
#include "ui/controls/record_list.h"

#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

struct Session : EditorFixture {
    Session() : EditorFixture(fullFile(), std::vector<doc::NameSlot>(doc::kTableCapacity)) {
        window().LMDLB1->setSelectedIndex(300);
        window().LMDLB1Click();
        QTest::mouseClick(window().ME5, Qt::LeftButton, {}, window().ME5->rect().center());
        window().ME5->end(false);
        QCoreApplication::processEvents();
    }
    static testsupport::DataFile fullFile() {
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(doc::kTableCapacity);
        return file;
    }
};

// Made in main, so the window goes before the application object.
Session* g_session = nullptr;

std::vector<double>& samples() {
    static std::vector<double> all;
    return all;
}

void BM_EditingKeystroke(benchmark::State& state) {
    Session& s = *g_session;
    ui::FieldEdit* edit = s.window().ME5;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // "300002" grows to "3000027" and back, so the text always converts.
        QTest::keyClick(edit, edit->text().size() == 6 ? Qt::Key_7 : Qt::Key_Backspace);
        QCoreApplication::processEvents();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        samples().push_back(elapsed.count() * 1e6);
    }
    // The keystrokes must have reached the table, or the figures measure nothing.
    const std::uint32_t damage = s.table().records[300].fields[doc::field::kDamage];
    if (damage != 300002u && damage != 3000027u)
        state.SkipWithError("the keystrokes were not written back");
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

} // namespace

BENCHMARK(BM_EditingKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Session session;
    g_session = &session;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!samples().empty()) {
        std::printf(
            "\nediting keystroke over %zu samples: median %.1f us, 99th percentile %.1f us\n",
            samples().size(), percentile(samples(), 0.5), percentile(samples(), 0.99));
    }
    return 0;
}

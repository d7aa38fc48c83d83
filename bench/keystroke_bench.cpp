// One editing keystroke in "Damage:" of a 512-record file: the key event, the
// modified event, the write-back of all 26 controls, the refill of 512 rows,
// the reselection, the undo history and the event processing that follows
// (repaint included). Alternates typing a digit at the end and Backspace, so
// the text stays a valid number and every keystroke changes it. The keystrokes
// of one field make one step of the history; the second benchmark types into
// "Damage:" and "Dot Color:" by turns, so that every keystroke ends a step and
// begins the next.

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

std::vector<double>& samples(bool newSteps) {
    static std::vector<double> all[2];
    return all[newSteps ? 1 : 0];
}

/** Grows a text of six digits by one and takes it back, so it always converts. */
Qt::Key nextKey(const ui::FieldEdit* edit, int digits) {
    return edit->text().size() == digits ? Qt::Key_7 : Qt::Key_Backspace;
}

void typeKeystrokes(benchmark::State& state, bool newSteps) {
    Session& s = *g_session;
    ui::FieldEdit* damage = s.window().ME5;
    ui::FieldEdit* dotColor = s.window().me17;
    bool inDamage = !newSteps; // a step of its own from the first keystroke on
    for (auto _ : state) {
        ui::FieldEdit* edit = inDamage ? damage : dotColor;
        const auto start = std::chrono::steady_clock::now();
        // "300002" grows to "3000027" and back; "300003" likewise.
        QTest::keyClick(edit, nextKey(edit, 6));
        QCoreApplication::processEvents();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        samples(newSteps).push_back(elapsed.count() * 1e6);
        if (newSteps)
            inDamage = !inDamage;
    }
    // The keystrokes must have reached the table and the history, or the figures measure
    // nothing.
    const std::uint32_t stored = s.table().records[300].fields[doc::field::kDamage];
    if (stored != 300002u && stored != 3000027u)
        state.SkipWithError("the keystrokes were not written back");
    // The typing's step is recorded when the typing ends, as any command ends it.
    { const editor::Document::Command endTyping(s.document()); }
    if (s.document().undoName().isEmpty())
        state.SkipWithError("the history recorded nothing");
}

void BM_EditingKeystroke(benchmark::State& state) {
    typeKeystrokes(state, false);
}

void BM_KeystrokeEndingAStep(benchmark::State& state) {
    typeKeystrokes(state, true);
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

} // namespace

BENCHMARK(BM_EditingKeystroke)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_KeystrokeEndingAStep)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Session session;
    g_session = &session;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const bool newSteps : {false, true}) {
        const std::vector<double>& taken = samples(newSteps);
        if (taken.empty())
            continue;
        std::printf("\n%s over %zu samples: median %.1f us, 99th percentile %.1f us\n",
                    newSteps ? "keystroke ending a step" : "editing keystroke", taken.size(),
                    percentile(taken, 0.5), percentile(taken, 0.99));
    }
    return 0;
}

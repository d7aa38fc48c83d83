// The record list is refilled on every editing keystroke: it is cleared, given
// one row text per record and the edited row is selected again. The time
// includes the event round that lets the list bring its scroll range and
// repaint up to date.

#include "ui/controls/record_list.h"

#include <QApplication>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 512;

QStringList rowTexts() {
    QStringList rows;
    rows.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i)
        rows.append(QString::number(i) + QLatin1Char(';') + QString::number(i % 7) +
                    QLatin1Char(';') + QString::number(i % 13) +
                    QStringLiteral(";No Name Entered"));
    return rows;
}

enum class Change { None, SelectedRow, Everything };

// change: what differs on the screen from one refill to the next. A keystroke changes the
// selected record's row only; Everything repaints the whole list, as after scrolling.
void refill(benchmark::State& state, int selected, Change change) {
    ui::RecordList list;
    list.resize(265, 377);
    list.show();
    QCoreApplication::processEvents();
    QStringList rows = rowTexts();
    const QString original = rows.at(selected);
    int keystroke = 0;

    for (auto _ : state) {
        if (change == Change::SelectedRow)
            rows[selected] = original + QString::number(++keystroke % 10);
        list.clear();
        for (const QString& row : rows)
            list.appendRow(row);
        list.setSelectedIndex(selected);
        if (change == Change::Everything)
            list.viewport()->update();
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = list.rowCount();
    state.counters["top"] = list.topRow();
}

void BM_RefillSame_SelectTop(benchmark::State& s) {
    refill(s, 3, Change::None);
}
void BM_RefillSame_SelectMiddle(benchmark::State& s) {
    refill(s, 300, Change::None);
}
void BM_RefillSame_SelectLast(benchmark::State& s) {
    refill(s, kRecords - 1, Change::None);
}
void BM_RefillEditedRow_SelectMiddle(benchmark::State& s) {
    refill(s, 300, Change::SelectedRow);
}
void BM_RefillRepaintAll_SelectMiddle(benchmark::State& s) {
    refill(s, 300, Change::Everything);
}

} // namespace

BENCHMARK(BM_RefillSame_SelectTop)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RefillSame_SelectMiddle)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RefillSame_SelectLast)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RefillEditedRow_SelectMiddle)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RefillRepaintAll_SelectMiddle)->Unit(benchmark::kMicrosecond)->Repetitions(5);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

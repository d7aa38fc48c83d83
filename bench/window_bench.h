#pragma once
// What the benchmarks of the windows share: the time since a start, a command timed and undone
// between the runs, and a main that runs the registered benchmarks in an application with one
// fixture made before them.

#include "document/object_table.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>

namespace windowbench {

/** Seconds since start, for SetIterationTime. */
inline double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

/** Each run: a click on button up to the drawn result, timed; then, untimed, took() must hold
 * (else the benchmark stops with failure) and undo is triggered. At the end the table must be
 * before again. */
template <typename Fixture>
void clickThenUndo(benchmark::State& state, Fixture& fixture, QAbstractButton* button,
                   const std::function<bool()>& took, const char* failure) {
    const doc::ObjectTable before = fixture.table();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
        state.SetIterationTime(since(start));
        if (!took()) {
            state.SkipWithError(failure);
            break;
        }
        fixture.window().Undo1->trigger();
        QCoreApplication::processEvents();
    }
    if (fixture.table().records != before.records || fixture.table().names != before.names)
        state.SkipWithError("the undo did not give the table back");
}

/** Runs the registered benchmarks inside a QApplication (on the offscreen platform unless
 * another is named), with a Fixture made once before them and reached through fixture. */
template <typename Fixture> int runWithFixture(int argc, char** argv, Fixture*& fixture) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Every new window tells the offscreen platform's one limit; the figures are what counts.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (!text.contains(QLatin1StringView("propagateSizeHints")))
            std::fprintf(stderr, "%d: %s\n", static_cast<int>(type), qPrintable(text));
    });
    benchmark::Initialize(&argc, argv);
    Fixture made;
    fixture = &made;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}

} // namespace windowbench

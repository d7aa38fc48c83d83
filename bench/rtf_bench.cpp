// Reading and writing RTF of a generated document with mixed formatting. Dense: a third of the
// words in a format of their own (a run every ~35 bytes of RTF), at 0.25, 0.5 and 1 MB of RTF;
// time per byte (bytes_per_second) and heap per byte should stay flat across the sizes, and the
// complexity fit says the same in one line. Prose: one word in ten formatted, 1 MB. The floor:
// the dense 1 MB document's characters and paragraphs in one format, through
// QTextDocument::setPlainText, the least Qt takes to build a document of that size. Run with
// --benchmark_enable_random_interleaving=true to see them side by side on a busy machine.

#include "rtf/rtf.h"
#include "tests/rtf/rtf_samples.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

constexpr int kDense = 3;
constexpr int kProse = 10;

// RTF of about `bytes` bytes: the generator counts characters, so scale by the ratio of a sample.
QByteArray mixedRtf(qsizetype bytes, int formattedEvery) {
    QTextDocument sample;
    rtfsamples::fillMixed(sample, 20000, formattedEvery);
    const double bytesPerCharacter =
        static_cast<double>(rtf::write(sample).size()) / sample.characterCount();
    QTextDocument document;
    rtfsamples::fillMixed(document, static_cast<qsizetype>(bytes / bytesPerCharacter),
                          formattedEvery);
    return rtf::write(document);
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

void read(benchmark::State& state, int formattedEvery) {
    const QByteArray rtf = mixedRtf(state.range(0), formattedEvery);
    QTextDocument document;
    std::size_t retained = 0;
    for (auto _ : state) {
        state.PauseTiming();
        document.clear();
        const std::size_t before = heapInUse();
        state.ResumeTiming();
        rtf::read(rtf, document);
        state.PauseTiming();
        retained = heapInUse() - before;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.SetComplexityN(rtf.size());
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
    state.counters["blocks"] = document.blockCount();
    state.counters["heap_per_byte"] = static_cast<double>(retained) / rtf.size();
}

void write(benchmark::State& state, int formattedEvery) {
    QTextDocument document;
    rtf::read(mixedRtf(state.range(0), formattedEvery), document);
    qsizetype size = 0;
    std::size_t transient = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        const QByteArray rtf = rtf::write(document);
        state.PauseTiming();
        size = rtf.size();
        transient = heapInUse() - before;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.SetComplexityN(size);
    state.counters["rtf_bytes"] = static_cast<double>(size);
    state.counters["heap_per_byte"] = static_cast<double>(transient) / size;
}

void plainFloor(benchmark::State& state, int formattedEvery) {
    QTextDocument read;
    rtf::read(mixedRtf(state.range(0), formattedEvery), read);
    const QString text = read.toPlainText();
    QTextDocument document;
    for (auto _ : state) {
        state.PauseTiming();
        document.clear();
        state.ResumeTiming();
        document.setPlainText(text);
    }
    state.counters["blocks"] = document.blockCount();
}

void BM_ReadDense(benchmark::State& state) {
    read(state, kDense);
}
void BM_WriteDense(benchmark::State& state) {
    write(state, kDense);
}
void BM_ReadProse(benchmark::State& state) {
    read(state, kProse);
}
void BM_WriteProse(benchmark::State& state) {
    write(state, kProse);
}

BENCHMARK(BM_ReadDense)
    ->Arg(256 << 10)
    ->Arg(512 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_WriteDense)
    ->Arg(256 << 10)
    ->Arg(512 << 10)
    ->Arg(1 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
void BM_PlainTextFloorDense(benchmark::State& state) {
    plainFloor(state, kDense);
}

BENCHMARK(BM_PlainTextFloorDense)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProse)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteProse)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the writer asks the document for its default font
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

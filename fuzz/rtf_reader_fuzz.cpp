// Fuzzes the RTF reader. Any bytes must read without crashing, hanging or growing without
// bound; bytes it refuses leave the document as it was; and what it reads must write as ASCII
// and read back to the same text and formats (the second writing equals the first).

#include "rtf/rtf.h"

#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

QStringList blocksOf(const QTextDocument& document) {
    QStringList blocks;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        blocks.append(b.text());
    return blocks;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    // Lives to the end of the process; the writer asks documents for their default font.
    static auto* app = new QGuiApplication(qtArgc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString untouched = QStringLiteral("untouched");
    QTextDocument first;
    first.setPlainText(untouched);
    if (!rtf::read(bytes, first)) {
        check(first.toPlainText() == untouched, "refused input leaves the document as it was");
        return 0;
    }
    const QByteArray written = rtf::write(first);
    check(std::all_of(written.begin(), written.end(), [](char c) { return c > 0; }),
          "the writer writes ASCII");
    QTextDocument second;
    check(rtf::read(written, second), "what the writer writes reads as RTF");
    check(blocksOf(second) == blocksOf(first), "written text reads back the same");
    check(rtf::write(second) == written, "written formats read back the same");
    return 0;
}

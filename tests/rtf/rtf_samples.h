#pragma once
// Sample documents and RTF for the RTF tests, the fuzzer's seed corpus and the benchmark.

#include <QByteArray>
#include <QList>
#include <QStringList>

class QTextDocument;

namespace rtfsamples {

struct ForeignSample {
    const char* name;
    QByteArray rtf;
    QStringList paragraphs; // the text it holds, block by block
};

/** RTF written by hand the way common word processors write it: style sheets, document
 * information, pictures, fields, unknown destinations, other code pages, \uc skipping. */
QList<ForeignSample> foreignSamples();

/** Fills an empty document with every format the RTF module carries and the characters that
 * need escaping: Windows-1252 letters, right-to-left words, a character beyond the BMP. */
void fillShowcase(QTextDocument& document);

/** Fills an empty document with about `characters` characters of paragraphs in mixed formats,
 * the same every time: one word in `formattedEvery` (on average) in a format of its own, the
 * others plain. */
void fillMixed(QTextDocument& document, qsizetype characters, int formattedEvery = 3);

} // namespace rtfsamples

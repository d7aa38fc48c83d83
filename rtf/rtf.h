#pragma once
// Rich Text Format for QTextDocument: writing a document as RTF 1.x and reading RTF back.
//
// What is carried: the text, its paragraphs and, per run, bold, italic, underline, strike-out,
// font family, point size (in half points) and text colour. Tabs are \tab and line separators
// (U+2028) are \line; control characters other than the tab, object replacement characters and
// paragraph formatting are not carried.
//
// The document's default font travels as font 0 (\deff0) and as the values that runs without
// their own family, size, weight, italic, underline or strike-out take from it. Reading puts every
// one of these into the char formats of the runs and leaves the target's default font alone, so a
// document reads back looking the same whatever default font the target has.
//
// Paragraphs are separated by \par: a document of n blocks is written with n - 1 of them, and each
// \par read starts a new block. An empty paragraph keeps its block char format.

#include <QByteArray>
#include <QByteArrayView>

class QTextDocument;

namespace rtf {

/** The document as RTF: pure ASCII, code page Windows-1252, characters outside it as \uN. */
QByteArray write(const QTextDocument& document);

/** Replaces the document's content with the RTF in `bytes`, then clears its undo history and
 * marks it unmodified. Returns false, leaving the document untouched, when the bytes are not RTF:
 * when, after any ASCII white space, they do not begin with the group "{\rtf" (the word "rtf",
 * with any version number). Everything else counts as RTF and is read as far as it goes: a
 * document cut short keeps what came before the cut, and what follows the group that the first
 * "{" opens is ignored. */
bool read(QByteArrayView bytes, QTextDocument& document);

} // namespace rtf

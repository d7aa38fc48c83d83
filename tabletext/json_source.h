#pragma once
// The JSON form of an import source: {"count": N, "records": [{"index": 0, ...}, ...]}.

#include "tabletext/source_rows.h"

#include <string_view>

namespace tabletext {

/** Reads the records array's objects as rows, each handed to onRow when its object ends.
 * Numbers keep the text they are written with, so a float is rounded once, from its decimal
 * text to a single. A key that names no column, a key given twice, a value that is neither a
 * number nor a string, a record without "index": errors of its row; anything but an array of
 * objects under "records" is an error of the source. Other keys of the outer object ("count")
 * are ignored. */
void readJsonSource(std::string_view text, const RowHandler& onRow, MessageList& errors);

} // namespace tabletext

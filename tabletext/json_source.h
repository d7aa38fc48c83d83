#pragma once
// The JSON form of an import source: {"count": N, "records": [{"index": 0, ...}, ...]}.

#include "tabletext/source_rows.h"

#include <string_view>

namespace tabletext {

/** Reads the records array's objects as rows. Numbers keep the text they are written with, so a
 * float is rounded once, from its decimal text to a single. Values that are neither numbers nor
 * strings are errors of their cell; anything but an array of objects under "records" is an error
 * of the source. Other keys of the outer object ("count") are ignored. */
Source readJsonSource(std::string_view text);

} // namespace tabletext

#pragma once
// Patch files: the differences from one table to another, shared as JSON and applied to a pair
// as a merge whose BASE is the patch's "before" values and whose THEIRS is its "after" values.
//
//   {"format": "cvnobj-patch", "version": 1,
//    "count": {"before":6,"after":7},
//    "changes": [{"record":3,"column":"damage","before":"100","after":"120"},
//                {"record":3,"column":"name","before":"Hangar","after":"Hangar 2"}],
//    "added": [{"record":6,"name":"Kiln","class":"0", ...,"has_flame":"1"}]}
//
// Every value is a string in the export's value form (valueText), so every bit pattern comes
// back exactly; names are their text. A patch carries records and name texts only: the header,
// a name's bytes after its terminator and the bytes after the last record stay the pair's.

#include "document/object_table.h"
#include "document/table_comparison.h"

#include <string>
#include <string_view>

namespace tabletext {

inline constexpr std::string_view kPatchFormat = "cvnobj-patch";
inline constexpr int kPatchVersion = 1;

/** The patch from a to b: each changed field and name of the records both have, each record
 * only b has whole. Throws doc::Error when b holds fewer records than a. */
std::string patchText(const doc::TableRows& a, const doc::TableRows& b);

/** The patch's two sides laid over a pair's table: BASE is file with the "before" values, THEIRS
 * file with the "after" values and the added records, so a cell the patch does not name is
 * unchanged on both sides. */
struct PatchSides {
    doc::ObjectTable base;
    doc::ObjectTable theirs;
};
/** Throws doc::Error naming what is wrong with a text that is not such a patch. */
PatchSides patchSides(const doc::ObjectTable& file, std::string_view text);

} // namespace tabletext

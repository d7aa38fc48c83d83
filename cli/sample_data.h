#pragma once
// The sample data file of "cvnobj sample": a plausible file to try the editor
// on, made by this program alone. The same count always gives the same bytes.

#include "document/object_table.h"

#include <cstdint>
#include <vector>

namespace cli {

/** The sample's records 0 to count - 1 (names left empty). count must lie between 1 and 512. */
doc::ObjectTable sampleTable(int count);

/** Header, the count at offset 20, then count records with varied classes, types, damages,
 * sizes, ranges and flags. count must lie between 1 and 512. */
std::vector<std::uint8_t> sampleDataFile(int count);

} // namespace cli

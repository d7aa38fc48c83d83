#pragma once
// The sample data file of "cvnobj sample": a plausible file to try the editor
// on, made by this program alone. The same count always gives the same bytes.

#include <cstdint>
#include <vector>

namespace cli {

/** Header, the count at offset 20, then count records with varied classes, types, damages,
 * sizes, ranges and flags. count must lie between 1 and 512. */
std::vector<std::uint8_t> sampleDataFile(int count);

} // namespace cli

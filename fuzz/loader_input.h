#pragma once
// The loader fuzzer's input layout, shared with its seed generator: a control byte (the bits
// below), a cut length, a two-byte little-endian split point, then the bytes of both files.

#include <cstdint>

namespace loaderinput {

enum Control : std::uint8_t {
    kStretchData = 1,   // the data file repeated to the length its count needs
    kWithNames = 2,     // a names file is written at all
    kStretchNames = 4,  // the names file repeated to the length the count needs
    kCutData = 8,       // the data file shortened by the cut length
    kCutNames = 16,     // the names file shortened by the cut length
    kCountInRange = 32, // the count at offset 20 folded into 1 to 512
};

} // namespace loaderinput

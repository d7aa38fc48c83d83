// The loader's seed corpus: well-formed pairs of several counts with awkward field values and
// names, the same pairs short of their last bytes, and a few inputs that rely on stretching.

#include "document/file_layout.h"
#include "document/object_table.h"
#include "document/record_codec.h"
#include "fuzz/loader_input.h"
#include "fuzz/seed_corpus.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace loaderinput;

std::string pairInput(int count, std::uint8_t control, std::uint8_t cutAmount) {
    std::string data(doc::kHeaderSize, '\0');
    for (int i = 0; i < doc::kHeaderSize; ++i)
        data[static_cast<std::size_t>(i)] = static_cast<char>(i * 7);
    const auto countBytes = doc::encodeCount(static_cast<std::uint16_t>(count));
    std::memcpy(&data[doc::kCountOffset], countBytes.data(), countBytes.size());
    const std::uint32_t awkward[] = {0,           1,           2,  0xFFFFFFFFu, 0x80000000u,
                                     0x7FC00001u, 0x7F800000u, 1u, 0x3F9DF3B6u /* 1.234f */};
    std::string names;
    for (int r = 0; r < count; ++r) {
        doc::ObjectRecord record;
        for (int k = 0; k < doc::kFieldCount; ++k)
            record.fields[static_cast<std::size_t>(k)] = awkward[(r + k) % std::size(awkward)];
        const auto bytes = doc::encodeRecord(record);
        data.append(bytes.begin(), bytes.end());
        std::string slot = r % 3 == 0
                               ? std::string(doc::kNameSlotSize, 'N')
                               : "Object " + std::to_string(r) + std::string(1, '\0') + "garbage";
        slot.resize(doc::kNameSlotSize, '\0');
        names += slot;
    }
    const auto split = static_cast<std::uint16_t>(data.size());
    std::string input{static_cast<char>(control), static_cast<char>(cutAmount),
                      static_cast<char>(split & 0xFF), static_cast<char>(split >> 8)};
    return input + data + names;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<fuzzseeds::Seed> seeds;
    for (int count : {1, 2, 7, 64, 512}) {
        const std::string n = std::to_string(count);
        seeds.emplace_back("pair-" + n, pairInput(count, kWithNames, 0));
        seeds.emplace_back("no-names-" + n, pairInput(count, 0, 0));
        seeds.emplace_back("cut-" + n, pairInput(count, kWithNames | kCutData, 37));
    }
    // A header alone, stretched to whatever count it names.
    std::string header(4 + doc::kHeaderSize, '\x11');
    header[0] = static_cast<char>(kStretchData | kStretchNames | kWithNames | kCountInRange);
    header[2] = static_cast<char>(doc::kHeaderSize);
    header[3] = 0;
    seeds.emplace_back("stretched-header", header);
    return fuzzseeds::writeSeeds(argc, argv, seeds);
}

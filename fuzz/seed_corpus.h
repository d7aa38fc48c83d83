#pragma once
// Writing a fuzzer's seed corpus, shared by the seed generators in fuzz/.

#include <string>
#include <utility>
#include <vector>

namespace fuzzseeds {

using Seed = std::pair<std::string, std::string>; // file name, content

/** Writes each seed as a file into the folder named by the program's one argument. Returns the
 * program's exit code: 0, or 1 after a message on standard error. */
int writeSeeds(int argc, char** argv, const std::vector<Seed>& seeds);

} // namespace fuzzseeds

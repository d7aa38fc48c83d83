// Writing a fuzzer's seed corpus, shared by the seed generators in fuzz/.

#include "fuzz/seed_corpus.h"

#include <cstdio>
#include <fstream>

namespace fuzzseeds {

int writeSeeds(int argc, char** argv, const std::vector<Seed>& seeds) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argc > 0 ? argv[0] : "seeds");
        return 1;
    }
    for (const auto& [name, content] : seeds) {
        const std::string path = std::string(argv[1]) + "/" + name;
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (!file.flush()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

} // namespace fuzzseeds

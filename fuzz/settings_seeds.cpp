// The settings reader's seed corpus: files as the editor writes them, hand-edited variants
// (other sections, quotes, spaces, CRLF line ends, a second section of the same name) and
// a few damaged ones.

#include "fuzz/seed_corpus.h"

#include <string>

using namespace std::string_literals;

int main(int argc, char** argv) {
    return fuzzseeds::writeSeeds(
        argc, argv,
        {
            {"written", "[settings]\nstartdir=/home/u/games/\ndamscale=100\nsizescale=250\n"},
            {"crlf", "[Settings]\r\nStartDir = \"/mnt/c d/\"\r\nDamScale=0x64\r\n"},
            {"sections", "; modder's notes\n[other]\ndamscale=5\n[settings]\nsizescale=-7\n"
                         "[settings]\ndamscale=+30\nstartdir=\n"},
            {"damaged", "[settings\ndamscale\n=100\n[]\n\x00\xff\xfe=\n[settings]sizescale=1"s},
            {"stray-carriage-return", "[]g]g\r\r"},
            {"empty", ""},
        });
}

#include "cli/utf8_arguments.h"

// The arguments are the bytes the caller gave, which is how file names are spelt here.
std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return {argv, argv + argc};
}

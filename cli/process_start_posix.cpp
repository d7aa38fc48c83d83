#include "cli/process_start.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>

namespace {

/** Standard input, output and error opened on /dev/null where the caller closed them, so no
 * data file the command opens can take their numbers and receive the output. A closed output
 * gets /dev/null read-only: writing to it then fails and is reported. */
void guardStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int opened = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (opened != fd) // the lowest free number, fd, unless /dev/null is missing
            std::_Exit(2);
    }
}

} // namespace

std::vector<std::string> startProcess(int argc, char** argv) {
    guardStandardDescriptors();
    return {argv, argv + argc};
}

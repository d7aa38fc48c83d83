#include "cli/standard_streams.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>

void prepareStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // Read-only, so that writing to a closed output fails and is reported.
        const int opened = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (opened != fd) // the lowest free number, fd, unless /dev/null is missing
            std::_Exit(2);
    }
}

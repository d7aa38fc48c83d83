#include "cli/standard_streams.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

// Output in binary mode: text mode would write each "\n" as "\r\n", and the output is to be the
// same bytes as on Linux.
void prepareStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::_get_osfhandle(fd) != -1)
            continue;
        // A closed stream on the null device; read-only, so that writing to a closed output
        // fails and is reported.
        const int opened = ::_open("NUL", _O_RDONLY | _O_NOINHERIT);
        if (opened < 0 || (opened != fd && ::_dup2(opened, fd) != 0))
            std::_Exit(2);
        if (opened != fd)
            ::_close(opened);
    }
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

// The editor's entry point: everything else lives in the shell library.
#include "shell/application.h"
#include "shell/command_line.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    // --help and --version need no display.
    shell::CommandLine().answerInformationRequests(argc, argv);
#ifndef _WIN32 // Windows always has its desktop
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool hasDisplay = std::getenv("DISPLAY") != nullptr ||
                            std::getenv("WAYLAND_DISPLAY") != nullptr ||
                            (platform != nullptr && *platform != '\0');
    if (!hasDisplay) {
        std::fprintf(stderr,
                     "No display found: start the editor on a desktop, or under a virtual "
                     "display with: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
#endif
    return shell::runApplication(argc, argv);
}

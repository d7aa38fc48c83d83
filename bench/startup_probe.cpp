// Measures one start of a program under X: the time from starting the process to its first
// top-level window being mapped, and the process's peak memory up to a moment after that.
//
//   startup_probe SETTLE_MS PROGRAM [ARGUMENTS...]
//
// Prints "<milliseconds to the first window> <peak resident kilobytes>" and exits 0, or names
// what went wrong and exits 1. The program is ended with SIGTERM SETTLE_MS milliseconds after
// its window was mapped, so that its first frame is painted and counted in the peak.
// The window is seen through the root window's substructure events, so no window is missed
// however early it is mapped, and no polling adds to the figure.

#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kGiveUpMs = 30000;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

/** Waits for the first MapNotify of a child of the root window; false when none comes in time
 * or the program ends before. */
bool waitForFirstWindow(Display* display, pid_t child, Clock::time_point start) {
    const Window root = XDefaultRootWindow(display);
    pollfd connection{XConnectionNumber(display), POLLIN, 0};
    while (millisecondsSince(start) < kGiveUpMs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root &&
                !event.xmap.override_redirect)
                return true;
        }
        if (waitpid(child, nullptr, WNOHANG) == child)
            return false;
        poll(&connection, 1, 50);
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_probe SETTLE_MS PROGRAM [ARGUMENTS...]\n");
        return 1;
    }
    const int settleMs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 1;
    }
    XSelectInput(display, XDefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(XConnectionNumber(display));
        execvp(argv[2], argv + 2);
        std::perror("startup_probe: exec");
        _exit(127);
    }
    if (child < 0) {
        std::perror("startup_probe: fork");
        return 1;
    }

    const bool mapped = waitForFirstWindow(display, child, start);
    const double elapsed = millisecondsSince(start);
    if (mapped)
        usleep(static_cast<useconds_t>(settleMs) * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    XCloseDisplay(display);
    if (!mapped) {
        std::fprintf(stderr, "startup_probe: %s showed no window\n", argv[2]);
        return 1;
    }
    std::printf("%.1f %ld\n", elapsed, usage.ru_maxrss);
    return 0;
}

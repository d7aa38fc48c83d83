// Measures one start of a program under X: the time from starting the process to its first
// top-level window being mapped, to the first frame drawn into that window, and the process's
// peak memory up to a moment after that.
//
//   startup_probe SETTLE_MS PROGRAM [ARGUMENTS...]
//
// Prints "<milliseconds to the first window> <peak resident kilobytes> <milliseconds to its first
// frame>" and exits 0, or names what went wrong and exits 1. The program is ended with SIGTERM
// SETTLE_MS milliseconds after its first frame, so that the frame is counted in the peak.
// The window is seen through the root window's substructure events, so no window is missed
// however early it is mapped, and its frame through the DAMAGE extension, which reports the
// first drawing into a window watched from its creation on; no polling adds to the figures.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

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

/** Waits for the first MapNotify of a child of the root window; returns that window, or None
 * when none comes in time or the program ends before. Every top-level window gets a damage
 * watch as it is created, so that no drawing into it is missed. */
Window waitForFirstWindow(Display* display, pid_t child, Clock::time_point start) {
    const Window root = XDefaultRootWindow(display);
    pollfd connection{XConnectionNumber(display), POLLIN, 0};
    while (millisecondsSince(start) < kGiveUpMs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == root &&
                !event.xcreatewindow.override_redirect)
                XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            if (event.type == MapNotify && event.xmap.event == root &&
                !event.xmap.override_redirect)
                return event.xmap.window;
        }
        if (waitpid(child, nullptr, WNOHANG) == child)
            return None;
        poll(&connection, 1, 50);
    }
    return None;
}

/** Waits for the first drawing into the window; false when none comes in time. */
bool waitForFirstFrame(Display* display, int damageEvents, Window window, Clock::time_point start) {
    pollfd connection{XConnectionNumber(display), POLLIN, 0};
    while (millisecondsSince(start) < kGiveUpMs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvents + XDamageNotify &&
                reinterpret_cast<XDamageNotifyEvent*>(&event)->drawable == window)
                return true;
        }
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
    int damageEvents = 0;
    int damageErrors = 0;
    if (!XDamageQueryExtension(display, &damageEvents, &damageErrors)) {
        std::fprintf(stderr, "startup_probe: the display has no DAMAGE extension\n");
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

    const Window window = waitForFirstWindow(display, child, start);
    const double mapped = millisecondsSince(start);
    const bool drawn = window != None && waitForFirstFrame(display, damageEvents, window, start);
    const double framed = millisecondsSince(start);
    if (drawn)
        usleep(static_cast<useconds_t>(settleMs) * 1000);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    XCloseDisplay(display);
    if (window == None) {
        std::fprintf(stderr, "startup_probe: %s showed no window\n", argv[2]);
        return 1;
    }
    if (!drawn) {
        std::fprintf(stderr, "startup_probe: %s drew nothing into its window\n", argv[2]);
        return 1;
    }
    std::printf("%.1f %ld %.1f\n", mapped, usage.ru_maxrss, framed);
    return 0;
}

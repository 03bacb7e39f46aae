// Starts a program on an X display and watches it from outside, as a user's
// display would see it: the time from the start of the process to the mapping
// of its first top-level window, the time until a chosen pixel of that window
// is first painted, and the process's peak resident memory.
//
// Usage: startup_probe X Y SETTLE_MS PROGRAM [ARGS...]
// The display must have a black root window (Xvfb -br) and no window manager:
// a freshly mapped window shows the black root until the program paints it,
// so "painted" means the pixel at (X, Y) of the window is no longer black.
// SETTLE_MS is how long the program runs on after its first paint before it
// is ended, so that memory it takes right after showing is counted too.
// Prints one line: "map_ms paint_ms peak_rss_kib".

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A window can vanish or not yet be viewable between the map event and a
// read of its pixels; such reads are simply retried.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

[[noreturn]] void fail(const std::string& why, pid_t child) {
    std::fprintf(stderr, "startup_probe: %s\n", why.c_str());
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::exit(1);
}

// Waits for the first top-level window that the program maps.
std::optional<Window> waitForMap(Display* display, Clock::time_point deadline) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                return event.xmap.window;
            }
        }
        poll(&connection, 1, 5);
    }
    return std::nullopt;
}

bool isPainted(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return false;
    }
    const bool painted = (XGetPixel(image, 0, 0) & 0xFFFFFF) != 0;
    XDestroyImage(image);
    return painted;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: startup_probe X Y SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int x = std::atoi(argv[1]);
    const int y = std::atoi(argv[2]);
    const int settleMs = std::atoi(argv[3]);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fail("cannot open the display", 0);
    }
    XSetErrorHandler(ignoreXError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[4], &argv[4]);
        std::perror("startup_probe: exec");
        _exit(127);
    }
    if (child < 0) {
        fail("cannot fork", 0);
    }

    const Clock::time_point deadline = start + std::chrono::seconds(30);
    const std::optional<Window> window = waitForMap(display, deadline);
    if (!window) {
        fail("no window was mapped within 30 s", child);
    }
    const double mapMs = millisecondsSince(start);

    while (!isPainted(display, *window, x, y)) {
        if (Clock::now() > deadline) {
            fail("the window was not painted within 30 s", child);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const double paintMs = millisecondsSince(start);

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        fail("lost the program", 0);
    }
    if (!(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM)) {
        fail("the program ended by itself before it was stopped", 0);
    }
    XCloseDisplay(display);
    std::printf("%.1f %.1f %ld\n", mapMs, paintMs, usage.ru_maxrss);
    return 0;
}

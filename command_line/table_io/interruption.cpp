#include "interruption.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>

namespace tarnwick::table_io::interruption {
namespace {

// Only async-signal-safe calls touch these from the handler.
char temporary[PATH_MAX];
volatile std::sig_atomic_t progressLineOpen = 0;

// Every signal whose default action ends the program. The faults (SIGSEGV
// and the like) too: a crash should not leave a temporary behind either.
constexpr int fixedSignals[] = {SIGHUP,  SIGINT,    SIGQUIT, SIGILL,  SIGABRT, SIGBUS,  SIGFPE,
                                SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU,
                                SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,  SIGSTKFLT};

template <typename Each>
void forEachHandledSignal(Each each) {
    for (int signal : fixedSignals)
        each(signal);
    // The real-time signals' numbers are known only when the program runs.
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        each(signal);
}

extern "C" void cleanUpAndDie(int signal) {
    if (temporary[0] != '\0') ::unlink(temporary);
    if (progressLineOpen) {
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, "\n", 1);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void installOnce() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = cleanUpAndDie;
        sigemptyset(&action.sa_mask);
        forEachHandledSignal([&](int signal) { sigaddset(&action.sa_mask, signal); });
        forEachHandledSignal([&](int signal) {
            // A signal ignored by whoever started the program stays ignored, and
            // one already handled (a sanitizer's report of a fault) keeps its handler.
            struct sigaction previous {};
            if (sigaction(signal, nullptr, &previous) != 0) return;
            const bool byDefault =
                (previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_DFL;
            if (byDefault) sigaction(signal, &action, nullptr);
        });
        return true;
    }();
    (void)installed;
}

}  // namespace

void removeOnSignal(const std::string& path) {
    installOnce();
    if (path.empty() || path.size() >= sizeof temporary) return;
    // The first byte last, so that the handler never sees half a path.
    temporary[0] = '\0';
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(temporary + 1, path.c_str() + 1, path.size());
    std::atomic_signal_fence(std::memory_order_seq_cst);
    temporary[0] = path[0];
}

HeldBack::HeldBack() {
    installOnce();
    sigset_t held;
    sigemptyset(&held);
    forEachHandledSignal([&](int signal) { sigaddset(&held, signal); });
    sigprocmask(SIG_BLOCK, &held, &previous_);
}

HeldBack::~HeldBack() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

void forgetRemoval() { temporary[0] = '\0'; }

void setProgressLineOpen(bool open) {
    installOnce();
    progressLineOpen = open ? 1 : 0;
}

}  // namespace tarnwick::table_io::interruption

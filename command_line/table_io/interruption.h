#pragma once
// What a program ended by a signal still does before it ends: removes the
// temporary output it was writing and ends an open progress line, then ends
// as the signal would have ended it. Handled: every signal whose default
// action ends the program (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE from a
// write to a pipe nobody reads, SIGALRM, SIGUSR1/2, the resource limits'
// SIGXCPU and SIGXFSZ, the faults, the real-time signals and the rest), unless
// whoever started the program ignores it or something in the program (a
// sanitizer) handles it already. SIGKILL and SIGSTOP cannot be caught.

#include <signal.h>

#include <string>

namespace tarnwick::table_io::interruption {

// The file to remove if a signal ends the program (one at a time; a later
// call replaces an earlier one). Paths of PATH_MAX bytes or more are not kept.
void removeOnSignal(const std::string& path);
void forgetRemoval();

// Holds the handled signals back while it lives (and installs the handler),
// so that a file can be created and named for removal with no gap between.
class HeldBack {
public:
    HeldBack();
    ~HeldBack();
    HeldBack(const HeldBack&) = delete;
    HeldBack& operator=(const HeldBack&) = delete;

private:
    sigset_t previous_;
};

// Whether a line without its line feed is open on standard error, so that
// the handler ends it before the shell writes its prompt.
void setProgressLineOpen(bool open);

}  // namespace tarnwick::table_io::interruption

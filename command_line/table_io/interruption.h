#pragma once
// What a program interrupted by a signal still does before it ends: removes
// the temporary output it was writing and ends an open progress line, then
// ends as the signal would have ended it. Handled: SIGINT, SIGTERM, SIGHUP,
// SIGQUIT, and the resource limits' SIGXCPU (CPU time) and SIGXFSZ (file
// size). SIGKILL and SIGSTOP cannot be caught.

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

#pragma once
// Progress of a long run on standard error: rows done and rows per second,
// at most a few times a second, once a run has gone past a few thousand rows.
// A signal that ends the program ends the open line first.

#include <chrono>
#include <cstdio>

namespace tarnwick::table_io {

class Progress {
public:
    // Shows nothing unless `enabled` (standard error is a terminal and the
    // user has not asked for quiet). The line starts with `program`, a
    // literal that outlives the run.
    Progress(const char* program, bool enabled);

    void rowDone() {
        ++rows_;
        steps_ = nullptr;
        if (enabled_ && rows_ % checkEvery == 0) update();
    }
    // Within the row under way, `done` of `total` steps (literal `steps`, as
    // "bootstrap replicates"): a single long row is not silent. Shown beside
    // the rows once the run has lasted a quarter of a second.
    void stepsDone(long done, long total, const char* steps);
    // Ends the progress line, if one is shown, with a summary.
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    static constexpr long checkEvery = 256;
    static constexpr long firstShownAfter = 5000;
    static constexpr Clock::duration interval = std::chrono::milliseconds(250);
    static constexpr Clock::duration stepsShownAfter = std::chrono::milliseconds(250);

    void update();
    void show(const char* end);

    const char* program_;
    bool enabled_;
    bool shown_ = false;
    long rows_ = 0;
    long stepsDone_ = 0, stepsTotal_ = 0;
    const char* steps_ = nullptr;  // none: the row under way has shown no steps
    Clock::time_point start_ = Clock::now(), lastShown_ = start_;
};

}  // namespace tarnwick::table_io

#include "progress.h"

#include "interruption.h"

namespace tarnwick::table_io {

Progress::Progress(const char* program, bool enabled) : program_(program), enabled_(enabled) {}

void Progress::update() {
    const Clock::time_point now = Clock::now();
    if (rows_ < firstShownAfter || now - lastShown_ < interval) return;
    lastShown_ = now;
    show("");
}

void Progress::stepsDone(long done, long total, const char* steps) {
    if (!enabled_) return;
    const Clock::time_point now = Clock::now();
    if (now - start_ < stepsShownAfter || now - lastShown_ < interval) return;
    lastShown_ = now;
    stepsDone_ = done;
    stepsTotal_ = total;
    steps_ = steps;
    show("");
}

void Progress::show(const char* end) {
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const double rate = seconds > 0 ? rows_ / seconds : 0;
    const char* rows = rows_ == 1 ? "row" : "rows";
    // \r returns to the start of the line; \033[K clears what a longer line left.
    if (steps_ != nullptr) {
        std::fprintf(stderr, "\r%s: %ld %s, %.0f rows/s; %ld of %ld %s\033[K%s", program_, rows_,
                     rows, rate, stepsDone_, stepsTotal_, steps_, end);
    } else {
        std::fprintf(stderr, "\r%s: %ld %s, %.0f rows/s\033[K%s", program_, rows_, rows, rate, end);
    }
    std::fflush(stderr);
    shown_ = true;
    interruption::setProgressLineOpen(*end == '\0');
}

void Progress::finish() {
    if (shown_) show("\n");
    shown_ = false;
}

}  // namespace tarnwick::table_io

#pragma once
// An in-memory window for the analysis tests: fills the input boxes, selects
// the options, presses the run button and keeps what came back.

#include <string>

#include "box_names.h"
#include "box_table.h"
#include "run_command.h"

namespace tarnwick::testing_support {

// The window's inputs; the defaults are run A (two groups of ten, one point
// apart, a non-trivial difference of 3, independent design, Student's t).
struct Inputs {
    std::string mean1 = "10", sd1 = "2", n1 = "10";
    std::string mean2 = "9", sd2 = "2", n2 = "10";
    std::string notTrivial = "3";
    std::string meanDiff = "", sdMatched = "";
    bool matched = false;
    bool welch = false;
};

// Run B: means 25 and 23, SDs 5 and 8, sizes 20 and 15, so that Welch's and
// Student's t differ and Welch's df is fractional.
inline Inputs runB(const char* notTrivial = "6", bool welch = false) {
    return Inputs{.mean1 = "25",
                  .sd1 = "5",
                  .n1 = "20",
                  .mean2 = "23",
                  .sd2 = "8",
                  .n2 = "15",
                  .notTrivial = notTrivial,
                  .welch = welch};
}

// The matched run: 25 pairs, means 10 and 10.6, the differences' mean -0.6
// and SD 1.0, a non-trivial difference of 1.
inline Inputs matchedRun() {
    return Inputs{.mean1 = "10",
                  .sd1 = "2",
                  .n1 = "25",
                  .mean2 = "10.6",
                  .sd2 = "2.2",
                  .n2 = "25",
                  .notTrivial = "1",
                  .meanDiff = "-0.6",
                  .sdMatched = "1.0",
                  .matched = true};
}

// A difference of 1111 beside bounds of -3 and 3: on one axis the bounds'
// labels crowd together and the intervals are narrower than the diamond.
inline Inputs overlapRun() { return Inputs{.mean1 = "1120"}; }

// Welch's df with the larger SD in the larger group: the 90% interval (pooled
// standard error) is wider than the 95% one (Welch's).
inline Inputs welchNinetyWiderRun() {
    return Inputs{.mean1 = "25",
                  .sd1 = "8",
                  .n1 = "40",
                  .mean2 = "23",
                  .sd2 = "2",
                  .n2 = "10",
                  .notTrivial = "6",
                  .welch = true};
}

inline void enter(BoxTable& boxes, const Inputs& in) {
    boxes.setText("TxtMean1", in.mean1);
    boxes.setText("TxtSD1", in.sd1);
    boxes.setText("TxtN1", in.n1);
    boxes.setText("TxtMean2", in.mean2);
    boxes.setText("TxtSD2", in.sd2);
    boxes.setText("TxtN2", in.n2);
    boxes.setText("TxtNotTrivial", in.notTrivial);
    boxes.setText("TxtMeanDiff", in.meanDiff);
    boxes.setText("TxtSDMatched", in.sdMatched);
    boxes.select(in.matched ? names::opMatched : names::opIndependent);
    boxes.select(in.welch ? names::opWelch : names::opStudent);
}

inline BoxTable runWith(const Inputs& in) {
    BoxTable boxes;
    enter(boxes, in);
    runCommand(boxes);
    return boxes;
}

}  // namespace tarnwick::testing_support

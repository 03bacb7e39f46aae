#pragma once
// The report as plain text that reads right when pasted into a manuscript.

#include <string>

#include "report.h"

namespace tarnwick::report {

// The inputs of the run the report belongs to, as they were typed, so that a
// report is never mistaken for one of the current boxes.
struct ReportInputs {
    std::string mean1, sd1, n1, mean2, sd2, n2;
    std::string notTrivial;  // empty when none was entered
    std::string meanDiff, sdMatched;
    bool matched = false;  // opMatched was selected
    bool welch = false;    // OpWelch was selected
    // The latest press of OK stopped with a message, after the run reported:
    // the main window's boxes and colours no longer belong to this report.
    bool latestRunStopped = false;
    // The boxes (or the design and df options) differ from the run's inputs
    // now: the calculator shows this run's results beside other numbers.
    bool boxesChangedSince = false;
    bool operator==(const ReportInputs&) const = default;
};

// One line naming the inputs, then a few sentences per design: the bounds in
// raw units (as entered) and standardised, the two one-sided tests labelled by
// their null hypotheses, the equivalence test, the 90% interval, the ordinary
// test with its 95% interval, d and g with d's interval, and the conclusion.
std::string reportText(const Report& report, const ReportInputs& inputs);

// The inputs line alone, e.g. for a window's title area.
std::string inputsLine(const ReportInputs& inputs);

// Which run the report is of, in a sentence for the top of a window: the last
// one that ended with results, and whether a later run stopped with a message.
std::string runLine(const ReportInputs& inputs);

// Empty with the calculator's settings; otherwise a sentence naming the
// settings that differ, and that the calculator's boxes and verdict are for
// alpha = .05 and bounds of minus and plus the non-trivial difference.
std::string settingsNotice(const Report& report);

// The conclusion in a few words, as the plot writes it beside its row.
std::string conclusionLabel(const std::optional<Conclusion>& conclusion,
                            const EffectScale& scale = differenceOfMeans());

}  // namespace tarnwick::report

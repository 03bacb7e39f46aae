#pragma once
// The words of a one-sided question, written once for every front end: its
// name in tables and on the command line, its title in a report, and the
// sentence of its conclusion, which names the margin, the direction and the
// end of the interval that decides ("not inferior by more than 0.5: the
// lower end of the 95% interval, -0.31, lies above -0.5").

#include <string>
#include <string_view>

#include "test_settings.h"

namespace tarnwick::settings {

// "equivalence", "minimal_effect", "non_inferiority", "non_superiority",
// "superiority": the words readHypothesis reads.
std::string_view hypothesisWord(Hypothesis hypothesis);

// "higher", "lower": the words readBetter reads.
std::string_view betterWord(Better better);

// "Equivalence", "Minimal effect", "Non-inferiority", "Non-superiority",
// "Superiority".
std::string_view hypothesisTitle(Hypothesis hypothesis);
// The same in running text: "non-inferiority", "minimal effect".
std::string hypothesisNoun(Hypothesis hypothesis);

// What decides a one-sided question, as shown: the margin and the end of
// the two-sided 100(1 - 2 alpha)% interval on the alternative's side, each
// as the report writes it ("" for an end the interval does not have), and
// the level ("95%").
struct OneSidedShown {
    std::string margin;
    std::string end;
    std::string level;
};

// The conclusion's sentence, without a capital or a full stop so that a
// report can lead with it or put it after a colon. `shown` is the decision
// (the one test at the margin significant); the sentence then says that the
// end lies beyond the margin, else that it does not.
std::string oneSidedConclusion(const TestSettings& settings, const OneSidedShown& numbers,
                               bool shown);

}  // namespace tarnwick::settings

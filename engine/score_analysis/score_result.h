#pragma once
// What every analysis of raw scores returns: the estimate of the difference
// (group 1 - group 2), its 100(1 - 2 alpha)% interval, the two one-sided
// tests against the bounds, the test's p, its conclusion, and how each
// number was obtained.

#include <cstdint>
#include <string>
#include <string_view>

#include "conclusion.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

// What the two one-sided tests showed at alpha: the engine's one vocabulary
// (conclusion.h), the report's decision too.
using Conclusion = TostDecision;

// The distribution a p value or an interval is read from.
enum class Reference {
    exact,      // the exact permutation distribution of a rank statistic
    normal,     // the normal approximation of a rank statistic: tie-corrected
                // variance and a continuity correction of 1/2
    studentT,   // Student's t at MethodNotes::df degrees of freedom
    bootstrap,  // the studentised bootstrap replicates
};

struct OneSidedTest {
    // Rank sum: W, the rank sum of the shifted group 1 less its least value
    // n1 (n1 + 1) / 2. Signed rank: V, the sum of the ranks of the positive
    // shifted differences. Otherwise t = (estimate - bound) / SE.
    double statistic = 0;
    Reference reference = Reference::studentT;
    bool ties = false;  // rank tests: tied values after shifting by the bound
    long zeros = 0;     // signed rank: differences equal to the bound, left out
};

struct MethodNotes {
    OneSidedTest lower, upper;  // the tests against the lower bound and the upper
    Reference interval = Reference::studentT;
    bool tiesInScores = false;  // rank analyses: tied scores within a group (matched:
                                // tied differences), which rule out exact intervals
    double df = 0;              // t-based analyses; 0 otherwise
    double standardError = 0;   // t-based and bootstrap analyses; 0 otherwise
    long trimmed1 = 0;          // Yuen: scores trimmed from each end of group 1
    long trimmed2 = 0;          //   (matched: of the differences, in trimmed1)
    long replicates = 0;        // bootstrap: B
    std::uint64_t seed = 0;     // bootstrap: the generator's seed
    long flatReplicates = 0;    // bootstrap: replicates whose SE was 0
    // Why the interval has no end on a side (an infinite end, -inf for low,
    // +inf for high), in a sentence; empty when both ends are numbers.
    std::string unbounded;
    // Rank analyses whose interval is unbounded: the level the widest interval
    // from the differences (or Walsh averages), least to greatest, reaches,
    // at most 1 - 2 alpha; 0 otherwise.
    double widestLevel = 0;
    std::string text;  // the method in one or two sentences
};

struct ScoreResult {
    double estimate = 0;
    // The 100 (1 - 2 alpha)% interval. An end is infinite only where the
    // interval has none (MethodNotes::unbounded says why); an end beyond the
    // range of a double is refused instead.
    double low = 0, high = 0;
    double level = 0;  // 1 - 2 alpha
    // The one-sided p values against each bound: for equivalence of the
    // tests whose H1 is "above lower" and "below upper", for a minimal
    // effect of the reversed ones, "below lower" and "above upper"; for a
    // one-sided question those of equivalence at the margin.
    double pLower = 1, pUpper = 1;
    // Equivalence: max(pLower, pUpper); minimal effect: the min; a one-sided
    // question: the test on its alternative's side (pLower above, pUpper below).
    double p = 1;
    Conclusion conclusion = Conclusion::notShownEquivalent;
    MethodNotes notes;
};

// Sets p and the conclusion from pLower and pUpper, and holds the interval
// to the conclusion: for equivalence, a test against a bound is significant
// exactly when the interval lies strictly beyond that bound (low > lower,
// high < upper), so "equivalent" goes with an interval inside the bounds and
// nothing else; for a minimal effect, the test against the lower bound is
// significant exactly when high < lower, the other when low > upper. Where
// the rounding of a p value and of an end disagree at a bound (a bound
// within a few ulps of an end), the finite end is moved to the bound or to
// the next double beyond it, by the p value's verdict. A one-sided
// question's test at the margin on the alternative's side is significant
// exactly when the interval's end on that side lies beyond the margin
// (low > margin for H1 above it, high < margin for H1 below), and only that
// end is held; its conclusion is settings::oneSidedDecision's.
void conclude(const ScoreSettings& settings, ScoreResult& result);

// Machine-readable names: conclusion.h's decisionName ("equivalent",
// "not_shown_equivalent", "beyond_bounds", "not_shown_beyond_bounds"); "exact",
// "normal", "student_t", "bootstrap".
constexpr std::string_view conclusionName(Conclusion conclusion) {
    return decisionName(conclusion);
}
std::string_view referenceName(Reference reference);

}  // namespace tarnwick::score_analysis

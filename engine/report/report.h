#pragma once
// The report of a run: what a researcher needs to write an equivalence test
// up, beyond the boxes. Computed from the run's record (never from box
// texts), standard C++ and Boost.Math only, so the window, the batch program
// and the tests share it. The test's settings default to the calculator's
// (alpha = .05, -delta and +delta in raw units); with those the equivalence
// decision is the window's verdict itself.

#include <optional>
#include <string>
#include <string_view>

#include "conclusion.h"
#include "design.h"
#include "effect_scale.h"
#include "fieller.h"
#include "run_record.h"
#include "test_settings.h"
#include "value.h"

namespace tarnwick::report {

using tarnwick::Design;

using tarnwick::Value;

// The conclusion vocabulary every analysis shares (conclusion.h).
using tarnwick::Conclusion;
using tarnwick::conclusionName;
using tarnwick::TostDecision;

// A one-sided question's test (non-inferiority, non-superiority or
// superiority): one t test at the margin, on the alternative's side. The
// EquivalenceTest that holds it keeps the pair's shape for every reader of
// the bounds: the margin and, for the other bound, the end of the scale
// (settings::oneSidedBounds), whose p value and standardised bound are
// missing; the interval is the two-sided 100(1 - 2 alpha)% one, and its end
// on the alternative's side lies beyond the margin exactly when `shown`.
struct MarginTest {
    double margin = 0;  // raw units (converted from SD units as bounds are), or a ratio
    settings::Side side = settings::Side::above;
    bool fromDelta = false;  // -delta or +delta from the non-trivial difference, not set
    double t = 0;            // (estimate - margin) / SE; Fieller's T(margin) on the ratio scale
    Value p;                 // P(T >= t) when H1 lies above the margin, P(T <= t) below
    bool shown = false;      // t beyond alpha's critical value on the alternative's side
};

// The two one-sided tests against the bounds, with their p values in both
// directions: the equivalence test's and the minimal-effect test's.
struct EquivalenceTest {
    double boundLow = 0, boundHigh = 0;  // raw units: -delta and +delta, or as set
    Value boundDLow, boundDHigh;         // the bounds over s (standardised)
    bool boundsFromDelta = true;         // -delta and +delta, not bounds of their own
    bool boundsConverted = false;        // given in SD units, so not as entered
    bool welchStandardError = false;     // Welch's own standard error and df
    double standardError = 0;  // s delta, Welch's SE (independent) or SDMatched / sqrt(N1)
    double tUpper = 0, tLower = 0, df = 0, crit05 = 0, crit95 = 0;  // crit95: upper alpha point
    Value pUpper;                 // P(T <= t (upper)), H0: difference >= upper bound
    Value pLower;                 // P(T >= t (lower)), H0: difference <= lower bound
    Value pTost;                  // the larger of the two
    Value ciTostLow, ciTostHigh;  // D -+ crit95 * standardError, the 100(1 - 2 alpha)% interval
    bool trivial = false;         // equivalent: the window's verdict with the calculator's settings
    // The minimal-effect test, H0: lower <= difference <= upper.
    Value pMetLower;            // P(T <= t (lower)), H0: difference >= lower bound
    Value pMetUpper;            // P(T >= t (upper)), H0: difference <= upper bound
    Value pMet;                 // the smaller of the two
    bool beyondBounds = false;  // the minimal-effect test is significant
    // The ratio scale (Fieller's test): each bound has its own standard error,
    // SE(theta) of m1 - theta m2; standardError is the upper bound's. The
    // interval's shape says whether ciTostLow and ciTostHigh are its ends
    // (bounded) or are missing because it is unbounded.
    double standardErrorLower = 0;
    fieller::Interval ciTostShape{fieller::Shape::bounded, 0, 0};
    // Set for a one-sided question; standardError (and on the ratio scale
    // standardErrorLower too) is then the margin's.
    std::optional<MarginTest> oneSided;
};

// The ordinary test of "no difference" that matches the selected df option.
struct OrdinaryTest {
    bool welch = false;  // Welch's t and df (independent, OpWelch) or Student's / matched
    double t = 0, df = 0, standardError = 0;
    double p2 = 0;                // the two-tailed p as computed for its box
    Value ciTestLow, ciTestHigh;  // the 100(1 - alpha)% interval
    // A negative SD of the difference scores entered (only a table or a paste
    // can give one) turns the paired t's sign against the difference's.
    bool tSignFromNegativeSd = false;
    // The ratio scale: Fieller's interval, which may be unbounded (report.h's
    // EquivalenceTest says how its ends are kept).
    fieller::Interval ciTestShape{fieller::Shape::bounded, 0, 0};
};

struct EffectSize {
    Value sd;                       // s: the pooled SD (independent) or SDMatched (matched)
    Value d;                        // Cohen's d = D / s (d_z for matched)
    Value g;                        // Hedges' g, exact small-sample correction
    Value dCiTostLow, dCiTostHigh;  // 100(1 - 2 alpha)%, from the noncentral t
};

// What the design could detect (a sensitivity analysis, not post-hoc power
// of the observed difference): for its sizes and the observed SD (pooled,
// with Student's df sizes; matched: of the difference scores), the smallest
// symmetric bounds +-E that the two one-sided tests at the report's alpha
// conclude equivalent with 80% and 90% power if the true difference is 0.
// A minimal-effect report keeps these equivalence bounds, and says so: a true
// difference of 0 lies within any symmetric bounds, where that test's null
// hypothesis holds and its power is an error rate (below 2 alpha, falling as
// the study grows), so it has no bound reaching 80% or 90% to give. A run with
// Welch's df gets Student's bounds too, said so in its sentence: Welch's df
// are not whole and seldom repeat, so each row would need its own root of an
// exact power integral, which tripled the batch program's time on tables
// with a fifth of Welch rows; and for equal SDs it is Student's df that is
// the design's.
struct Sensitivity {
    Value bound80, bound90;
};

struct DesignReport {
    Design design = Design::independent;
    double difference = 0;  // the estimate on the report's scale: D, or the ratio m1 / m2
    OrdinaryTest ordinary;
    EffectSize effect;
    Sensitivity sensitivity;
    std::optional<EquivalenceTest> equivalence;  // absent: no bounds
    std::optional<Conclusion> conclusion;        // absent with equivalence
    std::string whyNoEquivalence;                // set when equivalence is absent
};

struct Report {
    const EffectScale* scale = &differenceOfMeans();  // what the effect is, and its words
    settings::TestSettings settings;
    bool calculatorSettings = true;  // the settings ask the calculator's own question
    DesignReport independent;
    std::optional<DesignReport> matched;
};

// A report of a run that ended with results; nullopt for one that did not
// (a refusal, a message, an error). Throws settings::SettingsError for
// settings that cannot be used with this run: alpha outside (0, 0.5), bounds
// not finite or not in order (-delta and +delta from a negative delta too,
// once any setting differs from the calculator's), or bounds in SD units
// where the SD that standardises d is not positive. On the ratio scale
// (ratio_report.h) also a mean of group 2 not above 0, and matched SDs that
// no correlation fits.
std::optional<Report> makeReport(const RunRecord& record,
                                 const settings::TestSettings& settings = {});

}  // namespace tarnwick::report

#pragma once
// The report of a run: what a researcher needs to write an equivalence test
// up, beyond the boxes. Computed from the run's record (never from box
// texts), standard C++ and Boost.Math only, so the window, the batch program
// and the tests share it. alpha is .05 throughout.

#include <optional>
#include <string>
#include <string_view>

#include "run_record.h"

namespace tarnwick::report {

enum class Design { independent, matched };

// A derived value, or the short reason it could not be computed. A value
// that cannot be computed never stops the report.
struct Value {
    std::optional<double> value;
    std::string whyMissing;  // empty when value is present

    static Value of(double v) { return {v, {}}; }
    static Value missing(std::string why) { return {std::nullopt, std::move(why)}; }
    explicit operator bool() const { return value.has_value(); }
};

enum class Conclusion {
    equivalent,              // equivalent, and not different from zero
    equivalentAndDifferent,  // a real but negligible difference
    different,               // different from zero, and not equivalent
    inconclusive             // neither
};

// The two one-sided tests as the window judged them, with their p values.
struct EquivalenceTest {
    double boundLow = 0, boundHigh = 0;  // -delta and +delta, raw units
    Value boundDLow, boundDHigh;         // the bounds over s (standardised)
    double standardError = 0;            // s delta (independent) or SDMatched / sqrt(N1)
    double tUpper = 0, tLower = 0, df = 0, crit05 = 0, crit95 = 0;
    Value pUpper;             // P(T <= t (upper)), H0: difference >= +delta
    Value pLower;             // P(T >= t (lower)), H0: difference <= -delta
    Value pTost;              // the larger of the two
    Value ci90Low, ci90High;  // D -+ crit95 * standardError
    bool trivial = false;     // the window's verdict, taken over unchanged
};

// The ordinary test of "no difference" that matches the selected df option.
struct OrdinaryTest {
    bool welch = false;  // Welch's t and df (independent, OpWelch) or Student's / matched
    double t = 0, df = 0, standardError = 0;
    double p2 = 0;  // the two-tailed p as computed for its box
    Value ci95Low, ci95High;
    // A negative SD of the difference scores entered (only a table or a paste
    // can give one) turns the paired t's sign against the difference's.
    bool tSignFromNegativeSd = false;
};

struct EffectSize {
    Value sd;                   // s: the pooled SD (independent) or SDMatched (matched)
    Value d;                    // Cohen's d = D / s (d_z for matched)
    Value g;                    // Hedges' g, exact small-sample correction
    Value dCi90Low, dCi90High;  // from the noncentral t
};

// What the design could detect (a sensitivity analysis, not post-hoc power
// of the observed difference): for its sizes and the observed SD (pooled,
// with Student's df sizes; matched: of the difference scores), the smallest
// symmetric bounds +-E that the two one-sided tests at alpha = .05 conclude
// equivalent with 80% and 90% power if the true difference is 0.
struct Sensitivity {
    Value bound80, bound90;
};

struct DesignReport {
    Design design = Design::independent;
    double difference = 0;  // D
    OrdinaryTest ordinary;
    EffectSize effect;
    Sensitivity sensitivity;
    std::optional<EquivalenceTest> equivalence;  // absent: no non-trivial difference
    std::optional<Conclusion> conclusion;        // absent with equivalence
    std::string whyNoEquivalence;                // set when equivalence is absent
};

struct Report {
    DesignReport independent;
    std::optional<DesignReport> matched;
};

// A report of a run that ended with results; nullopt for one that did not
// (a refusal, a message, an error).
std::optional<Report> makeReport(const RunRecord& record);

// Machine-readable name of a conclusion: "equivalent",
// "equivalent_and_different", "different", "inconclusive".
std::string_view conclusionName(Conclusion conclusion);

}  // namespace tarnwick::report

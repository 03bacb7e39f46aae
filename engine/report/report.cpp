// The report of a run, from the unrounded values the analysis recorded. With
// the calculator's settings the equivalence decision is the window's verdict,
// taken over, never recomputed: the 90% interval D -+ crit95 SE is the one
// that matches the two one-sided tests, so "inside the bounds" and the
// verdict agree (up to the last ulp where a t value sits on its critical
// value, where the verdict wins). With other settings the report asks its
// own question of the same record: the same difference, the standard error
// and df the settings choose, the bounds they give, and alpha's critical
// values, each decision taken by t against its critical value, as the
// calculator takes its own.

#include "report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <string>
#include <tuple>
#include <utility>

#include "critical_value_memo.h"
#include "hedges_correction.h"
#include "margin_end.h"
#include "noncentral_t_interval.h"
#include "plan.h"
#include "ratio_report.h"
#include "run_time_error.h"
#include "t_distribution.h"

namespace tarnwick::report {
namespace {

using settings::TestSettings;

const TDistribution& studentT() { return TDistribution::instance(); }

// Read after "could not be computed because".
Value missingBecause(const std::string& what, const std::exception& error) {
    return Value::missing("the t distribution could not give the " + what + " (" + error.what() +
                          ")");
}

Value finiteOr(double x, const std::string& why) {
    return std::isfinite(x) ? Value::of(x) : Value::missing(why);
}

// P(T <= t) from the upper one-tailed probability P(T >= |t|); the tail
// below one half is always the one computed directly.
Value probabilityAtMost(double t, double df) {
    try {
        const double tail = studentT().TailProbability(t, df, 1);
        return Value::of(t <= 0 ? tail : 1 - tail);
    } catch (const std::exception& error) {
        return missingBecause("p value", error);
    }
}

// P(T >= t) = P(T <= -t): Student's t is symmetric.
Value probabilityAtLeast(double t, double df) { return probabilityAtMost(-t, df); }

const char* const noStandardError = "the standard error is not a positive number";

// centre -+ the upper alpha/2 point of Student's t on df, times the standard
// error: the 100(1 - alpha)% interval.
std::pair<Value, Value> testInterval(const EffectScale& scale, double centre, double standardError,
                                     double df, double testAlpha) {
    try {
        const double halfWidth = memoisedCriticalValue(testAlpha, df, 2) * standardError;
        const std::string why = "the interval overflows";
        const double c = scale.toTestScale(centre);
        return {finiteOr(scale.fromTestScale(c - halfWidth), why),
                finiteOr(scale.fromTestScale(c + halfWidth), why)};
    } catch (const std::exception& error) {
        Value missing = missingBecause("critical value", error);
        return {missing, missing};
    }
}

Value larger(const Value& a, const Value& b) {
    if (!a) return a;
    if (!b) return b;
    return Value::of(std::max(*a.value, *b.value));
}

Value smaller(const Value& a, const Value& b) {
    if (!a) return a;
    if (!b) return b;
    return Value::of(std::min(*a.value, *b.value));
}

bool isWholeSizeOfAtLeastTwo(double n) { return n >= 2 && std::floor(n) == n && std::isfinite(n); }

// What the effect size of one design is computed from.
struct EffectInputs {
    double difference;
    double sd;     // the standardiser, as recorded (a negative one is refused)
    double t;      // the observed Student's or matched t, D / (sd * scale)
    double df;     // n1 + n2 - 2, or N1 - 1
    double scale;  // sqrt(1/n1 + 1/n2), or sqrt(1/N1)
    bool wholeSizes;
    double n1, n2;  // the sizes (matched: N1 pairs, n2 unused)
};

EffectSize effectSize(const EffectInputs& in, double equivalenceConfidence) {
    EffectSize effect;
    if (!(in.sd > 0) || !std::isfinite(in.sd)) {
        const std::string why = in.sd < 0 ? "the standard deviation is negative"
                                          : "the standard deviation is not a positive number";
        effect.sd = effect.d = effect.g = effect.dCiTostLow = effect.dCiTostHigh =
            Value::missing(why);
        return effect;
    }
    effect.sd = Value::of(in.sd);
    effect.d = finiteOr(in.difference / in.sd, "d overflows");
    if (!in.wholeSizes) {
        const std::string why = "the sizes are not whole numbers of at least 2";
        effect.g = effect.dCiTostLow = effect.dCiTostHigh = Value::missing(why);
        return effect;
    }
    const Value correction = hedgesCorrection(in.df);
    effect.g = !effect.d     ? effect.d
               : !correction ? correction
                             : Value::of(*effect.d.value * *correction.value);
    const NoncentralityInterval lambda = noncentralityInterval(in.t, in.df, equivalenceConfidence);
    const auto scaled = [&](const Value& v) {
        return v ? finiteOr(*v.value * in.scale, "the interval of d overflows") : v;
    };
    effect.dCiTostLow = scaled(lambda.low);
    effect.dCiTostHigh = scaled(lambda.high);
    return effect;
}

// The smallest symmetric bounds with 80% and 90% power if the true
// difference is 0, for the design's sizes and its observed SD, at the
// report's alpha.
Sensitivity sensitivity(Design design, const EffectInputs& in, const Value& sd, double alpha) {
    Sensitivity result;
    if (!sd) {
        result.bound80 = result.bound90 = sd;
        return result;
    }
    if (!in.wholeSizes) {
        result.bound80 = result.bound90 =
            Value::missing("the sizes are not whole numbers of at least 2");
        return result;
    }
    plan::Study study;
    study.design = design == Design::matched ? plan::Design::matched : plan::Design::independent;
    study.alpha = alpha;
    study.difference = 0;
    study.sd = *sd.value;
    const auto bound = [&](double targetPower) {
        try {
            const auto size = [](double n) {
                return n > static_cast<double>(plan::maxSize) ? plan::maxSize + 1
                                                              : static_cast<long>(n);
            };
            const plan::Sizes sizes{size(in.n1), design == Design::matched ? 0 : size(in.n2)};
            return Value::of(plan::smallestBound(study, sizes, targetPower).bound);
        } catch (const plan::PlanError& e) {
            std::string why = e.description();
            if (!why.empty()) why[0] = static_cast<char>(std::tolower(why[0]));
            if (why.ends_with('.')) why.pop_back();
            return Value::missing(why);
        }
    };
    result.bound80 = bound(0.8);
    result.bound90 = bound(0.9);
    return result;
}

// The minimal-effect test's p values: the one-sided tests reversed.
void minimalEffectTest(EquivalenceTest& eq) {
    eq.pMetLower = probabilityAtMost(eq.tLower, eq.df);
    eq.pMetUpper = probabilityAtLeast(eq.tUpper, eq.df);
    eq.pMet = smaller(eq.pMetLower, eq.pMetUpper);
    eq.beyondBounds = eq.tLower < eq.crit05 || eq.tUpper > eq.crit95;
}

// What the two one-sided tests compared, and their decision: the bounds in
// raw units, the standard error and df, t against each bound and alpha's
// critical values. The calculator's are taken over from its record, the
// verdict included; other settings ask their own (settingsTests).
struct OneSidedAnswer {
    double boundLow = 0, boundHigh = 0;
    double standardError = 0, df = 0;
    double tUpper = 0, tLower = 0, crit05 = 0, crit95 = 0;
    bool trivial = false;      // equivalent: both tests significant
    std::string whyUndecided;  // set: no p value or interval, for this reason
};

OneSidedAnswer recordedTests(const OneSidedTests& tests) {
    OneSidedAnswer a;
    a.boundLow = -tests.bound;
    a.boundHigh = tests.bound;
    a.standardError = tests.standardError;
    a.df = tests.dfUsed;
    a.tUpper = tests.tUpper;
    a.tLower = tests.tLower;
    a.crit05 = tests.crit05;
    a.crit95 = tests.crit95;
    a.trivial = tests.trivial;
    return a;
}

// The equivalence and minimal-effect tests' p values and intervals from the
// one-sided tests, by one path whoever asked them.
EquivalenceTest equivalenceTest(const EffectScale& scale, const OneSidedAnswer& a,
                                double difference, const Value& sd) {
    EquivalenceTest eq;
    eq.boundLow = a.boundLow;
    eq.boundHigh = a.boundHigh;
    if (sd) {
        const std::string why = "the standardised bound overflows";
        eq.boundDLow = finiteOr(a.boundLow / *sd.value, why);
        eq.boundDHigh = finiteOr(a.boundHigh / *sd.value, why);
    } else {
        eq.boundDLow = eq.boundDHigh = sd;
    }
    eq.standardError = a.standardError;
    eq.df = a.df;
    eq.tUpper = a.tUpper;
    eq.tLower = a.tLower;
    eq.crit05 = a.crit05;
    eq.crit95 = a.crit95;
    if (!a.whyUndecided.empty()) {
        eq.pUpper = eq.pLower = eq.pTost = eq.ciTostLow = eq.ciTostHigh = eq.pMetLower =
            eq.pMetUpper = eq.pMet = Value::missing(a.whyUndecided);
        return eq;
    }
    eq.pUpper = probabilityAtMost(a.tUpper, a.df);
    eq.pLower = probabilityAtLeast(a.tLower, a.df);
    eq.pTost = larger(eq.pUpper, eq.pLower);
    // The critical value the decision compared with, so that the interval and
    // the decision rest on the same number.
    const double halfWidth = a.crit95 * a.standardError;
    const double centre = scale.toTestScale(difference);
    eq.ciTostLow = finiteOr(scale.fromTestScale(centre - halfWidth), "the interval overflows");
    eq.ciTostHigh = finiteOr(scale.fromTestScale(centre + halfWidth), "the interval overflows");
    eq.trivial = a.trivial;
    minimalEffectTest(eq);
    return eq;
}

// What the settings test against, for one design.
struct Question {
    const EffectScale* scale;
    const TestSettings* settings;
    bool calculators;
    std::optional<double> delta;  // the non-trivial difference entered
    double standardError, df;     // for both one-sided tests, as the settings choose
    bool welchStandardError;
    std::string sdName;  // the standardiser, as a sentence names it
};

// The two one-sided tests as the settings ask them, each decision by t
// against alpha's critical value, as the calculator takes its own. Throws
// SettingsError for unusable bounds.
OneSidedAnswer settingsTests(const Question& q, const settings::Bounds& raw, double difference) {
    OneSidedAnswer a;
    a.boundLow = raw.lower;
    a.boundHigh = raw.upper;
    a.standardError = q.standardError;
    a.df = q.df;
    const EffectScale& scale = *q.scale;
    const double estimate = scale.toTestScale(difference);
    a.tUpper = (estimate - scale.toTestScale(raw.upper)) / q.standardError;
    a.tLower = (estimate - scale.toTestScale(raw.lower)) / q.standardError;
    double critical = NAN;
    try {
        critical = memoisedCriticalValue(q.settings->alpha, q.df, 1);
    } catch (const std::exception& error) {
        a.whyUndecided = missingBecause("critical value", error).whyMissing;
        return a;
    }
    a.crit05 = -critical;
    a.crit95 = critical;
    if (!(q.standardError > 0 && std::isfinite(q.standardError))) {
        a.whyUndecided = noStandardError;
        return a;
    }
    a.trivial = a.tUpper < a.crit05 && a.tLower > a.crit95;
    return a;
}

// The settings' test: their bounds (raw, or converted from SD units with the
// standardiser), checked, then the one path.
EquivalenceTest testAtSettings(const Question& q, double difference, const Value& sd,
                               double standardiser) {
    const TestSettings& s = *q.settings;
    const settings::Bounds given = s.bounds ? *s.bounds : settings::Bounds{-*q.delta, *q.delta};
    settings::TestSettings checked = s;
    checked.bounds = given;
    settings::check(checked);
    const settings::Bounds raw = settings::rawBounds(s, given, standardiser, q.sdName);
    EquivalenceTest eq =
        equivalenceTest(*q.scale, settingsTests(q, raw, difference), difference, sd);
    eq.boundsFromDelta = !s.bounds;
    eq.boundsConverted = s.units == settings::BoundUnits::sd;
    eq.welchStandardError = q.welchStandardError;
    return eq;
}

// A one-sided question's test at the margin (report.h's MarginTest): the
// margin from the settings or the non-trivial difference, converted as
// bounds are, t against alpha's one critical value on the alternative's
// side, and the two-sided 100(1 - 2 alpha)% interval from the same critical
// value, its deciding end held to the decision. Throws SettingsError for a
// margin that cannot be used.
EquivalenceTest marginTestAtSettings(const Question& q, double margin, double difference,
                                     const Value& sd, double standardiser) {
    const TestSettings& s = *q.settings;
    TestSettings checked = s;
    checked.margin = margin;
    settings::check(checked);
    const double raw = settings::rawBounds(s, {margin, margin}, standardiser, q.sdName).lower;
    const settings::Side side = settings::alternativeSide(s.hypothesis, s.better);
    const bool above = side == settings::Side::above;
    const settings::Bounds bounds =
        settings::oneSidedBounds(raw, side, settings::Scale::difference);
    const Value noOtherBound = Value::missing("a one-sided question has only its margin");
    const Value oneTest = Value::missing("a one-sided question has one test, at its margin");

    EquivalenceTest eq;
    eq.boundLow = bounds.lower;
    eq.boundHigh = bounds.upper;
    // Superiority's default is no effect itself, not the non-trivial difference.
    eq.boundsFromDelta = !s.margin && s.hypothesis != settings::Hypothesis::superiority;
    eq.boundsConverted = s.units == settings::BoundUnits::sd;
    eq.welchStandardError = q.welchStandardError;
    const Value marginD = sd ? finiteOr(raw / *sd.value, "the standardised margin overflows") : sd;
    eq.boundDLow = above ? marginD : noOtherBound;
    eq.boundDHigh = above ? noOtherBound : marginD;
    eq.standardError = q.standardError;
    eq.df = q.df;
    eq.tLower = (difference - bounds.lower) / q.standardError;
    eq.tUpper = (difference - bounds.upper) / q.standardError;
    MarginTest m{raw, side, eq.boundsFromDelta, above ? eq.tLower : eq.tUpper, oneTest, false};
    eq.pTost = eq.pMet = eq.pMetLower = eq.pMetUpper = oneTest;
    std::string why;
    try {
        eq.crit95 = memoisedCriticalValue(s.alpha, q.df, 1);
        eq.crit05 = -eq.crit95;
    } catch (const std::exception& error) {
        why = missingBecause("critical value", error).whyMissing;
    }
    if (why.empty() && !(q.standardError > 0 && std::isfinite(q.standardError)))
        why = noStandardError;
    if (!why.empty()) {
        m.p = eq.pUpper = eq.pLower = eq.ciTostLow = eq.ciTostHigh = Value::missing(why);
        eq.oneSided = m;
        return eq;
    }
    m.p = above ? probabilityAtLeast(m.t, q.df) : probabilityAtMost(m.t, q.df);
    m.shown = above ? m.t > eq.crit95 : m.t < eq.crit05;
    eq.pLower = above ? m.p : noOtherBound;
    eq.pUpper = above ? noOtherBound : m.p;
    const double halfWidth = eq.crit95 * q.standardError;
    double low = difference - halfWidth, high = difference + halfWidth;
    (above ? low : high) = endHeldToDecision(above ? low : high, raw, side, m.shown);
    eq.ciTostLow = finiteOr(low, "the interval overflows");
    eq.ciTostHigh = finiteOr(high, "the interval overflows");
    eq.oneSided = m;
    return eq;
}

// The two one-sided tests' decision in the question the settings ask.
TostDecision decisionOf(const EquivalenceTest& eq, settings::Hypothesis hypothesis) {
    if (eq.oneSided) return settings::oneSidedDecision(hypothesis, eq.oneSided->shown);
    if (hypothesis == settings::Hypothesis::minimalEffect)
        return eq.beyondBounds ? TostDecision::beyondBounds : TostDecision::notShownBeyondBounds;
    return eq.trivial ? TostDecision::equivalent : TostDecision::notShownEquivalent;
}

DesignReport designReport(Design design, double difference, OrdinaryTest ordinary,
                          const EffectInputs& effectInputs,
                          const std::optional<OneSidedTests>& tests, const Question& q) {
    const TestSettings& s = *q.settings;
    DesignReport report;
    report.design = design;
    report.difference = difference;
    std::tie(ordinary.ciTestLow, ordinary.ciTestHigh) =
        testInterval(*q.scale, difference, ordinary.standardError, ordinary.df, s.alpha);
    report.ordinary = ordinary;
    report.effect = effectSize(effectInputs, 1 - 2 * s.alpha);
    report.sensitivity = sensitivity(design, effectInputs, report.effect.sd, s.alpha);
    if (settings::isOneSided(s.hypothesis)) {
        const std::optional<double> margin = settings::marginOrDefault(s, q.delta);
        if (!margin) {
            report.whyNoEquivalence =
                "No margin was set and no non-trivial difference was entered to take one from, "
                "so there is no one-sided test and no conclusion.";
            return report;
        }
        report.equivalence =
            marginTestAtSettings(q, *margin, difference, report.effect.sd, effectInputs.sd);
        // The ordinary two-sided test answers another question: the
        // conclusion is the decision alone.
        report.conclusion = conclusionOf(decisionOf(*report.equivalence, s.hypothesis), false);
        return report;
    }
    if (q.calculators ? !tests : !s.bounds && !q.delta) {
        report.whyNoEquivalence =
            "No non-trivial difference was entered, so there are no equivalence bounds, no "
            "equivalence test and no conclusion.";
        return report;
    }
    report.equivalence =
        q.calculators
            ? equivalenceTest(*q.scale, recordedTests(*tests), difference, report.effect.sd)
            : testAtSettings(q, difference, report.effect.sd, effectInputs.sd);
    // Different from zero by the unrounded two-tailed p, which agrees with the
    // 100(1 - alpha)% interval excluding zero.
    const bool different = ordinary.p2 < s.alpha;
    report.conclusion = conclusionOf(decisionOf(*report.equivalence, s.hypothesis), different);
    return report;
}

DesignReport independentReport(const IndependentRecord& r, const EffectScale& scale,
                               const TestSettings& s, bool calculators) {
    // Welch's own test is Welch's throughout: its ordinary test too.
    const bool welchOwn = !calculators && s.standardError == settings::StandardError::welch;
    const bool welch = r.welchSelected || welchOwn;
    OrdinaryTest ordinary;
    ordinary.welch = welch;
    ordinary.t = welch ? r.welchT : r.studentT;
    ordinary.df = welch ? r.welchDF : r.studentDF;
    ordinary.standardError = welch ? r.welchSE : r.studentSE;
    ordinary.p2 = welch ? r.welchP2 : r.studentP2;
    const EffectInputs effect{r.diff,
                              std::sqrt(r.pooledVariance),
                              r.studentT,
                              r.studentDF,
                              std::sqrt(1 / r.n1 + 1 / r.n2),
                              isWholeSizeOfAtLeastTwo(r.n1) && isWholeSizeOfAtLeastTwo(r.n2),
                              r.n1,
                              r.n2};
    const Question q{&scale,
                     &s,
                     calculators,
                     r.tests ? std::optional<double>(r.tests->bound) : std::nullopt,
                     welchOwn ? r.welchSE : r.sDelta,
                     welchOwn || r.welchSelected ? r.welchDF : r.studentDF,
                     welchOwn,
                     "the pooled SD"};
    return designReport(Design::independent, r.diff, ordinary, effect, r.tests, q);
}

DesignReport matchedReport(const MatchedRecord& r, const EffectScale& scale, const TestSettings& s,
                           bool calculators) {
    OrdinaryTest ordinary;
    ordinary.t = r.t;
    ordinary.df = r.df;
    // The size of the standard error; a negative SD only flips the sign of t.
    ordinary.standardError = std::fabs(r.sdMatched) / std::sqrt(r.n);
    ordinary.p2 = r.p2;
    ordinary.tSignFromNegativeSd = r.sdMatched < 0;
    const EffectInputs effect{
        r.meanDiff, r.sdMatched, r.t, r.df, std::sqrt(1 / r.n), isWholeSizeOfAtLeastTwo(r.n), r.n,
        0};
    const Question q{&scale,
                     &s,
                     calculators,
                     r.tests ? std::optional<double>(r.tests->bound) : std::nullopt,
                     ordinary.standardError,
                     r.df,
                     false,
                     "the SD of the difference scores"};
    return designReport(Design::matched, r.meanDiff, ordinary, effect, r.tests, q);
}

}  // namespace

std::optional<Report> makeReport(const RunRecord& record, const TestSettings& settings) {
    if (!record.endedWithResults) return std::nullopt;
    settings::check(settings);
    const std::optional<double> delta = record.independent.tests
                                            ? std::optional<double>(record.independent.tests->bound)
                                            : std::nullopt;
    // Bounds given as -delta and +delta are the non-trivial difference's own,
    // whatever else is set: the report names them so.
    TestSettings asked = settings;
    if (asked.bounds && delta && *asked.bounds == settings::Bounds{-*delta, *delta})
        asked.bounds.reset();
    Report report;
    report.settings = asked;
    report.calculatorSettings = settings::areTheCalculators(asked, delta);
    if (asked.scale == settings::Scale::ratio) {
        report.settings = settings;
        report.scale = &ratioOfMeans();
        checkRatioInputs(record);
        report.independent = ratioIndependentReport(record.independent, settings);
        if (record.matched)
            report.matched = ratioMatchedReport(record.independent, *record.matched, settings);
        return report;
    }
    report.independent =
        independentReport(record.independent, *report.scale, asked, report.calculatorSettings);
    if (record.matched)
        report.matched =
            matchedReport(*record.matched, *report.scale, asked, report.calculatorSettings);
    return report;
}

}  // namespace tarnwick::report

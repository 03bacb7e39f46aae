// The report of a run, from the unrounded values the analysis recorded. The
// equivalence decision is the window's verdict, taken over, never recomputed:
// the 90% interval D -+ crit95 SE is the one that matches the two one-sided
// tests, so "inside the bounds" and the verdict agree (up to the last ulp
// where a t value sits on its critical value, where the verdict wins).

#include "report.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <string>
#include <tuple>
#include <utility>

#include "critical_value_memo.h"
#include "noncentral_t_interval.h"
#include "plan.h"
#include "run_time_error.h"
#include "t_distribution.h"

namespace tarnwick::report {
namespace {

constexpr double alpha = 0.05;
constexpr double equivalenceConfidence = 1 - 2 * alpha;  // the 90% interval

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

// centre -+ the upper 2.5% point of Student's t on df, times the standard
// error: the 95% interval.
std::pair<Value, Value> interval95(double centre, double standardError, double df) {
    try {
        const double halfWidth = memoisedCriticalValue(alpha, df, 2) * standardError;
        const std::string why = "the interval overflows";
        return {finiteOr(centre - halfWidth, why), finiteOr(centre + halfWidth, why)};
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

EffectSize effectSize(const EffectInputs& in) {
    EffectSize effect;
    if (!(in.sd > 0) || !std::isfinite(in.sd)) {
        const std::string why = in.sd < 0 ? "the standard deviation is negative"
                                          : "the standard deviation is not a positive number";
        effect.sd = effect.d = effect.g = effect.dCi90Low = effect.dCi90High = Value::missing(why);
        return effect;
    }
    effect.sd = Value::of(in.sd);
    effect.d = finiteOr(in.difference / in.sd, "d overflows");
    if (!in.wholeSizes) {
        const std::string why = "the sizes are not whole numbers of at least 2";
        effect.g = effect.dCi90Low = effect.dCi90High = Value::missing(why);
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
    effect.dCi90Low = scaled(lambda.low);
    effect.dCi90High = scaled(lambda.high);
    return effect;
}

// The smallest symmetric bounds with 80% and 90% power if the true
// difference is 0, for the design's sizes and its observed SD.
Sensitivity sensitivity(Design design, const EffectInputs& in, const Value& sd) {
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

EquivalenceTest equivalenceTest(const OneSidedTests& tests, double difference, const Value& sd) {
    EquivalenceTest eq;
    eq.boundLow = -tests.bound;
    eq.boundHigh = tests.bound;
    if (sd) {
        const std::string why = "the standardised bound overflows";
        eq.boundDLow = finiteOr(-tests.bound / *sd.value, why);
        eq.boundDHigh = finiteOr(tests.bound / *sd.value, why);
    } else {
        eq.boundDLow = eq.boundDHigh = sd;
    }
    eq.standardError = tests.standardError;
    eq.tUpper = tests.tUpper;
    eq.tLower = tests.tLower;
    eq.df = tests.dfUsed;
    eq.crit05 = tests.crit05;
    eq.crit95 = tests.crit95;
    eq.pUpper = probabilityAtMost(tests.tUpper, tests.dfUsed);
    eq.pLower = probabilityAtLeast(tests.tLower, tests.dfUsed);
    eq.pTost = larger(eq.pUpper, eq.pLower);
    // The critical value the verdict compared with, so that the interval and
    // the verdict rest on the same number.
    const double halfWidth = tests.crit95 * tests.standardError;
    eq.ci90Low = finiteOr(difference - halfWidth, "the interval overflows");
    eq.ci90High = finiteOr(difference + halfWidth, "the interval overflows");
    eq.trivial = tests.trivial;
    return eq;
}

Conclusion conclude(bool equivalent, bool differentFromZero) {
    if (equivalent)
        return differentFromZero ? Conclusion::equivalentAndDifferent : Conclusion::equivalent;
    return differentFromZero ? Conclusion::different : Conclusion::inconclusive;
}

DesignReport designReport(Design design, double difference, OrdinaryTest ordinary,
                          const EffectInputs& effectInputs,
                          const std::optional<OneSidedTests>& tests) {
    DesignReport report;
    report.design = design;
    report.difference = difference;
    std::tie(ordinary.ci95Low, ordinary.ci95High) =
        interval95(difference, ordinary.standardError, ordinary.df);
    report.ordinary = ordinary;
    report.effect = effectSize(effectInputs);
    report.sensitivity = sensitivity(design, effectInputs, report.effect.sd);
    if (!tests) {
        report.whyNoEquivalence =
            "No non-trivial difference was entered, so there are no equivalence bounds, no "
            "equivalence test and no conclusion.";
        return report;
    }
    report.equivalence = equivalenceTest(*tests, difference, report.effect.sd);
    // Different from zero by the unrounded two-tailed p, which agrees with the
    // 95% interval excluding zero.
    report.conclusion = conclude(tests->trivial, ordinary.p2 < alpha);
    return report;
}

DesignReport independentReport(const IndependentRecord& r) {
    OrdinaryTest ordinary;
    ordinary.welch = r.welchSelected;
    ordinary.t = r.welchSelected ? r.welchT : r.studentT;
    ordinary.df = r.welchSelected ? r.welchDF : r.studentDF;
    ordinary.standardError = r.welchSelected ? r.welchSE : r.studentSE;
    ordinary.p2 = r.welchSelected ? r.welchP2 : r.studentP2;
    const EffectInputs effect{r.diff,
                              std::sqrt(r.pooledVariance),
                              r.studentT,
                              r.studentDF,
                              std::sqrt(1 / r.n1 + 1 / r.n2),
                              isWholeSizeOfAtLeastTwo(r.n1) && isWholeSizeOfAtLeastTwo(r.n2),
                              r.n1,
                              r.n2};
    return designReport(Design::independent, r.diff, ordinary, effect, r.tests);
}

DesignReport matchedReport(const MatchedRecord& r) {
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
    return designReport(Design::matched, r.meanDiff, ordinary, effect, r.tests);
}

}  // namespace

std::optional<Report> makeReport(const RunRecord& record) {
    if (!record.endedWithResults) return std::nullopt;
    Report report;
    report.independent = independentReport(record.independent);
    if (record.matched) report.matched = matchedReport(*record.matched);
    return report;
}

std::string_view conclusionName(Conclusion conclusion) {
    switch (conclusion) {
        case Conclusion::equivalent:
            return "equivalent";
        case Conclusion::equivalentAndDifferent:
            return "equivalent_and_different";
        case Conclusion::different:
            return "different";
        case Conclusion::inconclusive:
            return "inconclusive";
    }
    return "inconclusive";
}

}  // namespace tarnwick::report

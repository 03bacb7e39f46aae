#include "ratio_report.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>

#include "critical_value_memo.h"
#include "margin_end.h"
#include "shortest_text.h"
#include "t_distribution.h"

namespace tarnwick::report {
namespace {

using settings::SettingsError;
using settings::TestSettings;

// P(T <= t), the tail below one half computed directly.
Value probabilityAtMost(double t, double df) {
    try {
        const double tail = TDistribution::instance().TailProbability(t, df, 1);
        return Value::of(t <= 0 ? tail : 1 - tail);
    } catch (const std::exception& error) {
        return Value::missing(std::string("the t distribution could not give the p value (") +
                              error.what() + ")");
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

// What the ratio scale has none of: the standardised effect and the
// sensitivity bounds, both differences in SD units.
const char* const noStandardisedEffect = "the ratio scale has no standardised effect";

// Fieller's interval's ends, missing (with its shape kept) when unbounded.
void intervalEnds(const fieller::Interval& i, Value& low, Value& high) {
    if (i.shape == fieller::Shape::bounded && std::isfinite(i.low) && std::isfinite(i.high)) {
        low = Value::of(i.low);
        high = Value::of(i.high);
    } else {
        low = high = Value::missing("the interval of the ratio is unbounded");
    }
}

struct RatioInputs {
    double mean1, mean2;
    fieller::Variance testVariance;  // for the two one-sided tests
    double testDf;
    fieller::Variance ordinaryVariance;  // for the ordinary test's interval
    double ordinaryDf;
};

// Whether Fieller's interval has an end on the side of the alternative:
// a lower end (bounded, or from it to +infinity) for H1 above the margin.
bool hasEndOn(fieller::Shape shape, settings::Side side) {
    return shape == fieller::Shape::bounded ||
           shape ==
               (side == settings::Side::above ? fieller::Shape::fromLow : fieller::Shape::toHigh);
}

// What every test of the ratio shares: its bounds as ratios (no
// standardised bounds: a ratio has no SD units), the standard error the
// settings chose and the df of Fieller's test.
EquivalenceTest ratioTestFrame(const RatioInputs& in, const TestSettings& s,
                               const settings::Bounds& bounds) {
    EquivalenceTest eq;
    eq.boundLow = bounds.lower;
    eq.boundHigh = bounds.upper;
    eq.boundsFromDelta = false;
    eq.boundDLow = eq.boundDHigh = Value::missing(noStandardisedEffect);
    eq.welchStandardError = s.standardError == settings::StandardError::welch;
    eq.df = in.testDf;
    return eq;
}

// A one-sided question on the ratio scale: Fieller's test at the margin
// alone (report.h's MarginTest), and his interval at the same critical
// value. The decision is the test's where the interval has an end on the
// alternative's side, held to it; an interval with no such end (the
// line, a half-line the other way, or the line without a gap) cannot show
// the effect beyond any margin, and the decision says not shown.
EquivalenceTest ratioMarginTest(const RatioInputs& in, const TestSettings& s) {
    const double margin = *settings::marginOrDefault(s, std::nullopt);
    TestSettings checked = s;
    checked.margin = margin;
    settings::check(checked);
    const settings::Side side = settings::alternativeSide(s.hypothesis, s.better);
    const bool above = side == settings::Side::above;
    const settings::Bounds bounds = settings::oneSidedBounds(margin, side, settings::Scale::ratio);
    const Value noOtherBound = Value::missing("a one-sided question has only its margin");
    const Value oneTest = Value::missing("a one-sided question has one test, at its margin");
    EquivalenceTest eq = ratioTestFrame(in, s, bounds);
    eq.standardError = eq.standardErrorLower = std::sqrt(in.testVariance.at(margin));
    const double t = fieller::tAt(in.mean1, in.mean2, in.testVariance, margin);
    eq.tLower = above ? t : -HUGE_VAL;
    eq.tUpper = above ? -HUGE_VAL : t;
    MarginTest m{margin, side, false, t, oneTest, false};
    eq.pTost = eq.pMet = eq.pMetLower = eq.pMetUpper = oneTest;
    std::string why;
    try {
        eq.crit95 = memoisedCriticalValue(s.alpha, in.testDf, 1);
        eq.crit05 = -eq.crit95;
    } catch (const std::exception& error) {
        why = std::string("the t distribution could not give the critical value (") + error.what() +
              ")";
    }
    if (why.empty() && !(eq.standardError > 0 && std::isfinite(eq.standardError)))
        why = "the standard error is not a positive number";
    if (!why.empty()) {
        m.p = eq.pUpper = eq.pLower = eq.ciTostLow = eq.ciTostHigh = Value::missing(why);
        eq.oneSided = m;
        return eq;
    }
    m.p = probabilityAtMost(above ? -t : t, eq.df);
    eq.ciTostShape = fieller::interval(in.mean1, in.mean2, in.testVariance, eq.crit95);
    m.shown = hasEndOn(eq.ciTostShape.shape, side) && (above ? t > eq.crit95 : t < eq.crit05);
    if (hasEndOn(eq.ciTostShape.shape, side)) {
        double& end = above ? eq.ciTostShape.low : eq.ciTostShape.high;
        end = endHeldToDecision(end, margin, side, m.shown);
    }
    intervalEnds(eq.ciTostShape, eq.ciTostLow, eq.ciTostHigh);
    eq.pLower = above ? m.p : noOtherBound;
    eq.pUpper = above ? noOtherBound : m.p;
    eq.oneSided = m;
    return eq;
}

DesignReport ratioReport(Design design, const RatioInputs& in, OrdinaryTest ordinary,
                         const TestSettings& s) {
    DesignReport report;
    report.design = design;
    report.difference = in.mean1 / in.mean2;
    try {
        const double critical = memoisedCriticalValue(s.alpha, in.ordinaryDf, 2);
        ordinary.ciTestShape = fieller::interval(in.mean1, in.mean2, in.ordinaryVariance, critical);
        intervalEnds(ordinary.ciTestShape, ordinary.ciTestLow, ordinary.ciTestHigh);
    } catch (const std::exception& error) {
        ordinary.ciTestLow = ordinary.ciTestHigh =
            Value::missing(std::string("the t distribution could not give the critical value (") +
                           error.what() + ")");
    }
    report.ordinary = ordinary;
    report.effect.sd = report.effect.d = report.effect.g = report.effect.dCiTostLow =
        report.effect.dCiTostHigh = Value::missing(noStandardisedEffect);
    report.sensitivity.bound80 = report.sensitivity.bound90 = Value::missing(noStandardisedEffect);

    if (settings::isOneSided(s.hypothesis)) {
        report.equivalence = ratioMarginTest(in, s);
        report.conclusion = conclusionOf(
            settings::oneSidedDecision(s.hypothesis, report.equivalence->oneSided->shown), false);
        return report;
    }
    const settings::Bounds bounds = settings::ratioBounds(s);
    EquivalenceTest eq = ratioTestFrame(in, s, bounds);
    eq.standardError = std::sqrt(in.testVariance.at(bounds.upper));
    eq.standardErrorLower = std::sqrt(in.testVariance.at(bounds.lower));
    eq.tUpper = fieller::tAt(in.mean1, in.mean2, in.testVariance, bounds.upper);
    eq.tLower = fieller::tAt(in.mean1, in.mean2, in.testVariance, bounds.lower);
    std::string why;
    try {
        eq.crit95 = memoisedCriticalValue(s.alpha, in.testDf, 1);
        eq.crit05 = -eq.crit95;
    } catch (const std::exception& error) {
        why = std::string("the t distribution could not give the critical value (") + error.what() +
              ")";
    }
    const auto positive = [](double x) { return x > 0 && std::isfinite(x); };
    if (why.empty() && !(positive(eq.standardError) && positive(eq.standardErrorLower)))
        why = "the standard error is not a positive number";
    if (!why.empty()) {
        eq.pUpper = eq.pLower = eq.pTost = eq.ciTostLow = eq.ciTostHigh = eq.pMetLower =
            eq.pMetUpper = eq.pMet = Value::missing(why);
    } else {
        eq.pUpper = probabilityAtMost(eq.tUpper, eq.df);
        eq.pLower = probabilityAtMost(-eq.tLower, eq.df);
        eq.pTost = larger(eq.pUpper, eq.pLower);
        eq.ciTostShape = fieller::interval(in.mean1, in.mean2, in.testVariance, eq.crit95);
        intervalEnds(eq.ciTostShape, eq.ciTostLow, eq.ciTostHigh);
        eq.trivial = eq.tUpper < eq.crit05 && eq.tLower > eq.crit95;
        eq.pMetLower = probabilityAtMost(eq.tLower, eq.df);
        eq.pMetUpper = probabilityAtMost(-eq.tUpper, eq.df);
        eq.pMet = smaller(eq.pMetLower, eq.pMetUpper);
        eq.beyondBounds = eq.tLower < eq.crit05 || eq.tUpper > eq.crit95;
    }
    report.equivalence = eq;
    const bool minimalEffect = s.hypothesis == settings::Hypothesis::minimalEffect;
    const TostDecision decision =
        minimalEffect
            ? (eq.beyondBounds ? TostDecision::beyondBounds : TostDecision::notShownBeyondBounds)
            : (eq.trivial ? TostDecision::equivalent : TostDecision::notShownEquivalent);
    report.conclusion = conclusionOf(decision, ordinary.p2 < s.alpha);
    return report;
}

}  // namespace

void checkRatioInputs(const RunRecord& record) {
    const IndependentRecord& r = record.independent;
    if (!(r.mean2 > 0) || !std::isfinite(r.mean1 / r.mean2)) {
        throw SettingsError(settings::error::ratioReference,
                            "The ratio of the means needs a mean of group 2 above 0 (the "
                            "reference), and it is " +
                                number_text::shortestText(r.mean2) + ".");
    }
    if (!record.matched) return;
    const double sdd = record.matched->sdMatched;
    if (!(sdd >= std::fabs(r.sd1 - r.sd2) && sdd <= r.sd1 + r.sd2)) {
        throw SettingsError(settings::error::ratioSds,
                            "The SD of the difference scores (" + number_text::shortestText(sdd) +
                                ") must lie between the difference and the sum of the groups' "
                                "SDs for a correlation between -1 and 1 to fit them.");
    }
}

DesignReport ratioIndependentReport(const IndependentRecord& r, const TestSettings& s) {
    const bool welchOwn = s.standardError == settings::StandardError::welch;
    const double estimate = r.mean1 / r.mean2;
    const fieller::Variance welch = fieller::welch(r.sd1, r.n1, r.sd2, r.n2);
    const fieller::Variance pooled = fieller::pooled(r.pooledVariance, r.n1, r.n2);
    OrdinaryTest ordinary;
    ordinary.welch = r.welchSelected || welchOwn;
    ordinary.t = ordinary.welch ? r.welchT : r.studentT;
    ordinary.df = ordinary.welch ? r.welchDF : r.studentDF;
    ordinary.standardError = ordinary.welch ? r.welchSE : r.studentSE;
    ordinary.p2 = ordinary.welch ? r.welchP2 : r.studentP2;
    const RatioInputs in{
        r.mean1,
        r.mean2,
        welchOwn ? welch : pooled,
        welchOwn ? fieller::welchDf(r.sd1, r.n1, r.sd2, r.n2, estimate) : r.studentDF,
        ordinary.welch ? welch : pooled,
        ordinary.df};
    return ratioReport(Design::independent, in, ordinary, s);
}

DesignReport ratioMatchedReport(const IndependentRecord& groups, const MatchedRecord& r,
                                const TestSettings& s) {
    // The ratio's test of 1 is m1 - m2 over the SD of the difference scores:
    // from the groups' means, which the mean of the difference scores typed
    // beside them need not equal.
    const fieller::Variance v = fieller::matched(groups.sd1, groups.sd2, r.sdMatched, r.n);
    OrdinaryTest ordinary;
    ordinary.t = fieller::tAt(groups.mean1, groups.mean2, v, 1);
    ordinary.df = r.df;
    ordinary.standardError = std::sqrt(v.at(1));
    const Value p1 = probabilityAtMost(-std::fabs(ordinary.t), r.df);
    ordinary.p2 = p1 ? std::min(1.0, 2 * *p1.value) : NAN;
    const RatioInputs in{groups.mean1, groups.mean2, v, r.df, v, r.df};
    return ratioReport(Design::matched, in, ordinary, s);
}

}  // namespace tarnwick::report

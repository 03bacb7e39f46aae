// The report under every kind of setting against Boost.Math at 50 digits,
// computed from the inputs as typed: the standard error, df, raw bounds, the
// one-sided p values in both directions, both intervals and d's interval,
// each from its definition, never from the report's intermediate values.

#include <gtest/gtest.h>

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <optional>
#include <string>

#include "box_fixture.h"
#include "report.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;
using settings::BoundUnits;
using settings::Hypothesis;
using settings::StandardError;
using settings::TestSettings;
using testing_support::Inputs;

Real real(const std::string& text) { return text.empty() ? Real(0) : Real(text); }

// The truth, in 50 digits, for one design of one row.
struct Truth {
    Real difference, se, df, lower, upper, sd, t, scale, dfStudent;
};

Truth truthOf(const Inputs& in, const TestSettings& s, bool matched) {
    Truth t;
    const Real n1 = real(in.n1), n2 = real(in.n2);
    if (matched) {
        t.difference = real(in.meanDiff);
        t.sd = abs(real(in.sdMatched));
        t.se = t.sd / sqrt(n1);
        t.df = n1 - 1;
        t.dfStudent = t.df;
        t.scale = 1 / sqrt(n1);
    } else {
        const Real sd1 = real(in.sd1), sd2 = real(in.sd2);
        t.difference = real(in.mean1) - real(in.mean2);
        const Real pooledVariance = (sd1 * sd1 * (n1 - 1) + sd2 * sd2 * (n2 - 1)) / (n1 + n2 - 2);
        t.sd = sqrt(pooledVariance);
        t.scale = sqrt(1 / n1 + 1 / n2);
        t.dfStudent = n1 + n2 - 2;
        const Real v1 = sd1 * sd1 / n1, v2 = sd2 * sd2 / n2;
        const Real welchDf = (v1 + v2) * (v1 + v2) / (v1 * v1 / (n1 - 1) + v2 * v2 / (n2 - 1));
        if (s.standardError == StandardError::welch) {
            t.se = sqrt(v1 + v2);
            t.df = welchDf;
        } else {
            t.se = t.sd * t.scale;
            t.df = in.welch ? welchDf : t.dfStudent;
        }
    }
    const Real delta = real(in.notTrivial);
    t.lower = s.bounds ? Real(s.bounds->lower) : -delta;
    t.upper = s.bounds ? Real(s.bounds->upper) : delta;
    if (s.units == BoundUnits::sd) {
        t.lower *= t.sd;
        t.upper *= t.sd;
    }
    t.t = t.difference / (t.sd * t.scale);
    return t;
}

Report reportOf(const Inputs& inputs, const TestSettings& s) {
    BoxTable boxes;
    testing_support::enter(boxes, inputs);
    RunRecord record;
    runCommand(boxes, &record);
    const std::optional<Report> report = makeReport(record, s);
    if (!report) throw std::runtime_error("the run did not end with results");
    return *report;
}

void expectClose(const Value& ours, const Real& truth, double relative, const std::string& what) {
    ASSERT_TRUE(ours) << what << ": " << ours.whyMissing;
    const Real error = abs(Real(*ours.value) - truth) / std::max(Real(1e-300), abs(truth));
    EXPECT_LT(static_cast<double>(error), relative)
        << what << ": ours " << *ours.value << ", truth " << static_cast<double>(truth);
}

void expectAbsolute(const Value& ours, const Real& truth, const Real& scale,
                    const std::string& what) {
    ASSERT_TRUE(ours) << what << ": " << ours.whyMissing;
    EXPECT_LT(static_cast<double>(abs(Real(*ours.value) - truth) / scale), 1e-12)
        << what << ": ours " << *ours.value << ", truth " << static_cast<double>(truth);
}

struct SettingsRow {
    const char* name;
    Inputs inputs;
    TestSettings settings;
    bool matched;  // which design's report is checked
    // What the decisions must be: equivalent, beyond the bounds.
    bool equivalent, beyondBounds;
    friend void PrintTo(const SettingsRow& r, std::ostream* out) { *out << r.name; }
};

class SettingsOracle : public testing::TestWithParam<SettingsRow> {};

TEST_P(SettingsOracle, EqualsBoostAt50Digits) {
    const SettingsRow& row = GetParam();
    const Report report = reportOf(row.inputs, row.settings);
    ASSERT_EQ(report.matched.has_value(), row.matched);
    const DesignReport& r = row.matched ? *report.matched : report.independent;
    ASSERT_TRUE(r.equivalence);
    const EquivalenceTest& eq = *r.equivalence;
    const Truth truth = truthOf(row.inputs, row.settings, row.matched);
    const Real alpha(row.settings.alpha);
    const boost::math::students_t_distribution<Real> tDist(truth.df);

    EXPECT_LT(static_cast<double>(abs(Real(eq.boundLow) - truth.lower)), 1e-14) << "lower";
    EXPECT_LT(static_cast<double>(abs(Real(eq.boundHigh) - truth.upper)), 1e-14) << "upper";
    EXPECT_LT(static_cast<double>(abs(Real(eq.standardError) - truth.se) / truth.se), 1e-14);
    EXPECT_LT(static_cast<double>(abs(Real(eq.df) - truth.df) / truth.df), 1e-14);

    const Real tUpper = (truth.difference - truth.upper) / truth.se;
    const Real tLower = (truth.difference - truth.lower) / truth.se;
    const Real pUpper = cdf(tDist, tUpper), pLower = cdf(complement(tDist, tLower));
    const Real pMetLower = cdf(tDist, tLower), pMetUpper = cdf(complement(tDist, tUpper));
    // A few ulps of the double t distribution, propagated through t.
    constexpr double pTolerance = 1e-11;
    expectClose(eq.pUpper, pUpper, pTolerance, "p (upper)");
    expectClose(eq.pLower, pLower, pTolerance, "p (lower)");
    expectClose(eq.pTost, std::max(pUpper, pLower), pTolerance, "p (TOST)");
    expectClose(eq.pMetLower, pMetLower, pTolerance, "minimal-effect p (lower)");
    expectClose(eq.pMetUpper, pMetUpper, pTolerance, "minimal-effect p (upper)");
    expectClose(eq.pMet, std::min(pMetLower, pMetUpper), pTolerance, "minimal-effect p");

    const Real critTost = quantile(complement(tDist, alpha));
    expectAbsolute(eq.ciTostLow, truth.difference - critTost * truth.se, truth.se, "tost CI low");
    expectAbsolute(eq.ciTostHigh, truth.difference + critTost * truth.se, truth.se, "tost CI high");
    EXPECT_EQ(eq.trivial, row.equivalent);
    EXPECT_EQ(eq.beyondBounds, row.beyondBounds);
    // The decisions are the p values' against alpha.
    EXPECT_EQ(eq.trivial, std::max(pUpper, pLower) < alpha);
    EXPECT_EQ(eq.beyondBounds, std::min(pMetLower, pMetUpper) < alpha);

    // The ordinary test's interval at 100(1 - alpha)%, with its own df and SE.
    const bool welchOrdinary =
        !row.matched && (row.inputs.welch || row.settings.standardError == StandardError::welch);
    const Real ordinarySe =
        row.matched || !welchOrdinary ? truth.sd * truth.scale
        : row.settings.standardError == StandardError::welch
            ? truth.se
            : truthOf(row.inputs, {.standardError = StandardError::welch}, false).se;
    const Real ordinaryDf =
        welchOrdinary ? truthOf(row.inputs, {.standardError = StandardError::welch}, false).df
                      : truth.dfStudent;
    const Real critTest =
        quantile(complement(boost::math::students_t_distribution<Real>(ordinaryDf), alpha / 2));
    expectAbsolute(r.ordinary.ciTestLow, truth.difference - critTest * ordinarySe, ordinarySe,
                   "test CI low");
    expectAbsolute(r.ordinary.ciTestHigh, truth.difference + critTest * ordinarySe, ordinarySe,
                   "test CI high");

    // d's interval is the 100(1 - 2 alpha)% one: at its ends the noncentral
    // t's cdf at the observed t is 1 - alpha and alpha.
    ASSERT_TRUE(r.effect.dCiTostLow && r.effect.dCiTostHigh);
    for (const auto& [end, target] :
         {std::pair{*r.effect.dCiTostLow.value, 1 - alpha}, {*r.effect.dCiTostHigh.value, alpha}}) {
        const Real lambda = Real(end) / truth.scale;
        const Real at =
            cdf(boost::math::non_central_t_distribution<Real>(truth.dfStudent, lambda), truth.t);
        EXPECT_LT(static_cast<double>(abs(at - target)), 1e-10) << "d CI end " << end;
    }
    // The bounds over the standardiser.
    expectAbsolute(eq.boundDLow, truth.lower / truth.sd, Real(1), "bound d low");
    expectAbsolute(eq.boundDHigh, truth.upper / truth.sd, Real(1), "bound d high");
}

const Inputs runA{};  // D = 1, SD 2, 10 per group, delta 3
const Inputs runB{.mean1 = "25",
                  .sd1 = "5",
                  .n1 = "20",
                  .mean2 = "23",
                  .sd2 = "8",
                  .n2 = "15",
                  .notTrivial = "6"};
const Inputs runBWelchDf{.mean1 = "25",
                         .sd1 = "5",
                         .n1 = "20",
                         .mean2 = "23",
                         .sd2 = "8",
                         .n2 = "15",
                         .notTrivial = "6",
                         .welch = true};
const Inputs large{.mean1 = "10.3",
                   .sd1 = "1",
                   .n1 = "500",
                   .mean2 = "10",
                   .sd2 = "1",
                   .n2 = "500",
                   .notTrivial = "0.5"};
const Inputs matched{.n1 = "30",
                     .n2 = "30",
                     .notTrivial = "1",
                     .meanDiff = "0.5",
                     .sdMatched = "1",
                     .matched = true};
const Inputs matchedNegative{.n1 = "12",
                             .n2 = "12",
                             .notTrivial = "0.4",
                             .meanDiff = "-1.5",
                             .sdMatched = "2",
                             .matched = true};
const Inputs noDelta{.notTrivial = ""};

using B = settings::Bounds;

INSTANTIATE_TEST_SUITE_P(
    Report, SettingsOracle,
    testing::Values(
        SettingsRow{"Alpha001", runA, {.alpha = 0.001}, false, false, false},
        SettingsRow{"Alpha01", runA, {.alpha = 0.01}, false, false, false},
        SettingsRow{"Alpha025", runA, {.alpha = 0.025}, false, true, false},
        SettingsRow{"Alpha10", runB, {.alpha = 0.1}, false, true, false},
        SettingsRow{"Alpha20WelchDf", runBWelchDf, {.alpha = 0.2}, false, true, false},
        SettingsRow{"AsymmetricAroundZero", runA, {.bounds = B{-0.3, 2.5}}, false, false, false},
        SettingsRow{"BoundsAboveZero", large, {.bounds = B{0.1, 0.6}}, false, true, false},
        SettingsRow{"BoundsBelowZero", runA, {.bounds = B{-4, -1}}, false, false, true},
        SettingsRow{"BoundsWithoutDelta", noDelta, {.bounds = B{-2.5, 3.5}}, false, true, false},
        SettingsRow{"SdUnitsIndependent",
                    runB,
                    {.alpha = 0.025, .units = BoundUnits::sd},
                    false,
                    true,
                    false},
        SettingsRow{"SdUnitsAsymmetric",
                    large,
                    {.bounds = B{-0.2, 0.5}, .units = BoundUnits::sd},
                    false,
                    true,
                    false},
        SettingsRow{"SdUnitsMatched",
                    matched,
                    {.bounds = B{-0.9, 0.95}, .units = BoundUnits::sd},
                    true,
                    true,
                    false},
        SettingsRow{"WelchOwn", runB, {.standardError = StandardError::welch}, false, false, false},
        SettingsRow{"WelchOwnAlpha001",
                    runBWelchDf,
                    {.alpha = 0.001, .standardError = StandardError::welch},
                    false,
                    false,
                    false},
        SettingsRow{"MinimalEffectBelow",
                    Inputs{.mean1 = "6.5"},
                    {.bounds = B{-0.5, 0.2}, .hypothesis = Hypothesis::minimalEffect},
                    false,
                    false,
                    true},
        SettingsRow{"MinimalEffectNotShown",
                    runA,
                    {.alpha = 0.1, .hypothesis = Hypothesis::minimalEffect},
                    false,
                    true,
                    false},
        SettingsRow{
            "MinimalEffectAboveAlpha001",
            large,
            {.alpha = 0.001, .bounds = B{-0.1, 0.1}, .hypothesis = Hypothesis::minimalEffect},
            false,
            false,
            true},
        SettingsRow{"MinimalEffectMatchedSdUnits",
                    matchedNegative,
                    {.alpha = 0.1,
                     .bounds = B{-0.2, 0.2},
                     .units = BoundUnits::sd,
                     .hypothesis = Hypothesis::minimalEffect},
                    true,
                    false,
                    true},
        SettingsRow{"MinimalEffectWelch",
                    runBWelchDf,
                    {.alpha = 0.2,
                     .bounds = B{-0.5, 1},
                     .standardError = StandardError::welch,
                     .hypothesis = Hypothesis::minimalEffect},
                    false,
                    false,
                    false},
        SettingsRow{"MatchedAlpha20", matched, {.alpha = 0.2}, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::report

// The ratio scale's report against the definitions of Fieller's test at 50
// digits (Boost.Multiprecision and Boost.Math): for each ratio theta,
// T(theta) = (m1 - theta m2) / sqrt(var(m1 - theta m2)), with the variance
// of independent groups (pooled: sp^2 (1/n1 + theta^2/n2); Welch's:
// SD1^2/n1 + theta^2 SD2^2/n2, with the Welch-Satterthwaite df at the
// estimate) or of matched pairs (SD1^2 + theta^2 SD2^2 - 2 theta cov)/N,
// cov = (SD1^2 + SD2^2 - SDd^2)/2 (Fieller 1954, J R Stat Soc B 16:175;
// the variance of x - theta y from the SD of x - y). The interval is the set
// of theta with |T(theta)| <= t(1 - alpha, df): each end the report gives
// must have |T| = t, and points inside and outside it must fall on the
// sides its shape says, so no quadratic is solved here.

#include <gtest/gtest.h>

#include <boost/math/distributions/students_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "box_fixture.h"
#include "report.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;
using testing_support::Inputs;

struct Row {
    std::string name, design, mean1, sd1, n1, mean2, sd2, n2, sdd, standardError, alpha, lower,
        upper, hypothesis, shape, decision;
    friend void PrintTo(const Row& r, std::ostream* out) { *out << r.name; }
};

std::vector<Row> rows() {
    std::ifstream in(TARNWICK_REPORT_DATA "/fieller_rows.txt");
    std::vector<Row> out;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Row r;
        fields >> r.name >> r.design >> r.mean1 >> r.sd1 >> r.n1 >> r.mean2 >> r.sd2 >> r.n2 >>
            r.sdd >> r.standardError >> r.alpha >> r.lower >> r.upper >> r.hypothesis >> r.shape >>
            r.decision;
        if (fields.fail()) throw std::runtime_error("a short row: " + line);
        out.push_back(r);
    }
    return out;
}

// The truth of one row at 50 digits.
struct Truth {
    Real m1, m2, s1, s2, n1, n2, sdd, df;
    bool matched, welch;
    Real variance(const Real& theta) const {
        if (matched) {
            const Real cov = (s1 * s1 + s2 * s2 - sdd * sdd) / 2;
            return (s1 * s1 + theta * theta * s2 * s2 - 2 * theta * cov) / n1;
        }
        if (welch) return s1 * s1 / n1 + theta * theta * s2 * s2 / n2;
        const Real sp2 = (s1 * s1 * (n1 - 1) + s2 * s2 * (n2 - 1)) / (n1 + n2 - 2);
        return sp2 * (1 / n1 + theta * theta / n2);
    }
    Real t(const Real& theta) const { return (m1 - theta * m2) / sqrt(variance(theta)); }
};

Truth truthOf(const Row& r) {
    Truth t{Real(r.mean1),
            Real(r.mean2),
            Real(r.sd1),
            Real(r.sd2),
            Real(r.n1),
            Real(r.n2),
            Real(r.sdd == "-" ? "0" : r.sdd),
            0,
            r.design == "matched",
            r.standardError == "welch"};
    if (t.matched) {
        t.df = t.n1 - 1;
    } else if (t.welch) {
        const Real theta = t.m1 / t.m2;
        const Real v1 = t.s1 * t.s1 / t.n1, v2 = theta * theta * t.s2 * t.s2 / t.n2;
        t.df = (v1 + v2) * (v1 + v2) / (v1 * v1 / (t.n1 - 1) + v2 * v2 / (t.n2 - 1));
    } else {
        t.df = t.n1 + t.n2 - 2;
    }
    return t;
}

Report reportOf(const Row& row) {
    Inputs in{row.mean1, row.sd1, row.n1, row.mean2, row.sd2, row.n2, "1"};
    if (row.design == "matched") {
        in.matched = true;
        in.sdMatched = row.sdd;
        in.meanDiff = std::to_string(std::stod(row.mean1) - std::stod(row.mean2));
    }
    settings::TestSettings s;
    s.scale = settings::Scale::ratio;
    s.alpha = std::stod(row.alpha);
    if (row.lower != "-") s.bounds = settings::Bounds{std::stod(row.lower), std::stod(row.upper)};
    s.standardError = row.standardError == "welch" ? settings::StandardError::welch
                                                   : settings::StandardError::pooled;
    s.hypothesis = row.hypothesis == "minimal_effect" ? settings::Hypothesis::minimalEffect
                                                      : settings::Hypothesis::equivalence;
    BoxTable boxes;
    testing_support::enter(boxes, in);
    RunRecord record;
    runCommand(boxes, &record);
    return makeReport(record, s).value();
}

void expectRelative(double ours, const Real& truth, double tolerance, const std::string& what) {
    EXPECT_LT(static_cast<double>(abs(Real(ours) - truth) / abs(truth)), tolerance)
        << what << ": ours " << ours << ", truth " << static_cast<double>(truth);
}

class FiellerOracle : public testing::TestWithParam<Row> {};

TEST_P(FiellerOracle, EqualsTheDefinitionAt50Digits) {
    const Row& row = GetParam();
    const Report report = reportOf(row);
    const DesignReport& r = row.design == "matched" ? report.matched.value() : report.independent;
    const EquivalenceTest& eq = r.equivalence.value();
    const Truth truth = truthOf(row);
    const boost::math::students_t_distribution<Real> tDist(truth.df);
    const Real lower(row.lower == "-" ? "0.8" : row.lower);
    const Real upper(row.upper == "-" ? "1.25" : row.upper);
    const Real crit = quantile(complement(tDist, Real(row.alpha)));

    expectRelative(r.difference, truth.m1 / truth.m2, 1e-15, "estimate");
    expectRelative(eq.df, truth.df, 1e-13, "df");
    expectRelative(eq.crit95, crit, 1e-12, "critical t");
    expectRelative(eq.standardErrorLower, sqrt(truth.variance(lower)), 1e-14, "SE at lower");
    expectRelative(eq.standardError, sqrt(truth.variance(upper)), 1e-14, "SE at upper");
    expectRelative(eq.tLower, truth.t(lower), 1e-12, "t (lower)");
    expectRelative(eq.tUpper, truth.t(upper), 1e-12, "t (upper)");
    const Real pUpper = cdf(tDist, truth.t(upper));
    const Real pLower = cdf(complement(tDist, truth.t(lower)));
    expectRelative(eq.pUpper.value.value(), pUpper, 1e-10, "p (upper)");
    expectRelative(eq.pLower.value.value(), pLower, 1e-10, "p (lower)");
    expectRelative(eq.pMetLower.value.value(), cdf(tDist, truth.t(lower)), 1e-10, "p met lower");
    expectRelative(eq.pMetUpper.value.value(), cdf(complement(tDist, truth.t(upper))), 1e-10,
                   "p met upper");

    const bool decided = row.hypothesis == "minimal_effect" ? eq.beyondBounds : eq.trivial;
    EXPECT_EQ(decided, row.decision == "yes");

    // The interval: its ends are where |T| = t, and its shape says which
    // side of each end is inside.
    const auto inside = [&](const Real& theta) { return abs(truth.t(theta)) <= crit; };
    const fieller::Interval& i = eq.ciTostShape;
    const char* const shapes[] = {"bounded", "outside", "fromLow", "toHigh", "whole"};
    ASSERT_EQ(shapes[static_cast<int>(i.shape)], row.shape);
    if (i.shape == fieller::Shape::wholeLine) {
        for (const char* theta : {"-1e6", "-1", "0", "0.8", "1", "1.25", "1e6"})
            EXPECT_TRUE(inside(Real(theta))) << theta;
        EXPECT_FALSE(eq.ciTostLow);
        return;
    }
    for (const double end : {i.low, i.high})
        expectRelative(static_cast<double>(abs(truth.t(Real(end)))), crit, 1e-9, "|T| at an end");
    const Real low(i.low), high(i.high), step = (high - low) * Real("1e-6");
    const bool middleInside = i.shape == fieller::Shape::bounded;
    EXPECT_EQ(inside((low + high) / 2), middleInside);
    EXPECT_EQ(inside(low - step), !middleInside);
    EXPECT_EQ(inside(high + step), !middleInside);
    if (middleInside) {
        EXPECT_EQ(eq.ciTostLow.value.value(), i.low);
        EXPECT_EQ(eq.ciTostHigh.value.value(), i.high);
    } else {
        EXPECT_FALSE(eq.ciTostLow);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FiellerOracle, testing::ValuesIn(rows()),
                         [](const auto& info) { return info.param.name; });

// The shapes the roots of the quadratic take, on coefficients exact in
// binary, so that each answer is exact: a linear case each way, a single
// point, a whole line and a complement.
TEST(FiellerShapes, EveryShapeFromExactCoefficients) {
    using fieller::Shape;
    const struct {
        double m1, m2;
        fieller::Variance v;
        double t;
        Shape shape;
        double low, high;
    } cases[] = {
        {3, 2, {1, 0, 1}, 2, Shape::fromLow, 5.0 / 12, 0},
        {-3, 2, {1, 0, 1}, 2, Shape::toHigh, 0, -5.0 / 12},
        {0, 0, {1, 0, 1}, 1, Shape::wholeLine, 0, 0},
        {2, 1, {0, 0, 0}, 2, Shape::bounded, 2, 2},
        {1, 1, {1, 0, 4}, 1, Shape::outside, -2.0 / 3, 0},  // -3 theta^2 - 2 theta <= 0
        {3, 2, {9, 0, 3}, 1, Shape::bounded, 0, 12},        // theta^2 - 12 theta <= 0
    };
    for (const auto& c : cases) {
        const fieller::Interval i = fieller::interval(c.m1, c.m2, c.v, c.t);
        EXPECT_EQ(i.shape, c.shape) << c.m1 << "/" << c.m2;
        if (c.shape != Shape::toHigh && c.shape != Shape::wholeLine) {
            EXPECT_DOUBLE_EQ(i.low, c.low);
        }
        if (c.shape != Shape::fromLow && c.shape != Shape::wholeLine) {
            EXPECT_DOUBLE_EQ(i.high, c.high);
        }
    }
}

}  // namespace
}  // namespace tarnwick::report

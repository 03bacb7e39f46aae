// The one-sided questions against what a one-sided t test at the margin is,
// computed at 50 digits (Boost.Multiprecision and Boost.Math) from the
// inputs as typed: on the difference scale exactly what R's
// t.test(x, y, mu = margin, alternative = "greater" or "less") gives for
// Welch's test (var.equal = FALSE), the pooled one (var.equal = TRUE) and
// paired samples (paired = TRUE): t = (estimate - margin) / se,
// p = P(T_df > t) or P(T_df < t), and its one-sided interval's end
// estimate -+ qt(1 - alpha, df) se, which is the deciding end of the
// report's two-sided 100(1 - 2 alpha)% interval. On the ratio scale
// Fieller's: T(margin) = (m1 - margin m2) / sqrt(var(m1 - margin m2)), and
// the interval's ends as the roots of (m1 - theta m2)^2 = q^2 var(theta),
// solved here in 50 digits. The studies are drawn from a seeded generator
// by integer arithmetic, so that every platform draws the same table: 40
// studies, each at three alphas, in both directions, with each standard
// error.

#include <gtest/gtest.h>

#include <array>
#include <boost/math/distributions/students_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "box_fixture.h"
#include "report.h"
#include "run_command.h"

namespace tarnwick::report {
namespace {

using Real = boost::multiprecision::cpp_bin_float_50;
using settings::Better;
using settings::Hypothesis;
using settings::Scale;
using settings::Side;
using testing_support::Inputs;

// A study as typed: numbers with two decimals.
struct Study {
    std::string mean1, sd1, n1, mean2, sd2, n2, sdd;
    int index = 0;
};

// "12.34" from 1234.
std::string hundredths(long value) {
    const std::string sign = value < 0 ? "-" : "";
    const long size = value < 0 ? -value : value;
    const std::string cents = std::to_string(size % 100);
    return sign + std::to_string(size / 100) + "." + (cents.size() == 1 ? "0" : "") + cents;
}

std::vector<Study> studies() {
    std::mt19937 draw(20261209);  // its outputs are fixed by the standard
    const auto between = [&](long low, long high) {
        return low + static_cast<long>(draw() % static_cast<std::uint32_t>(high - low + 1));
    };
    std::vector<Study> out;
    for (int i = 0; i < 40; ++i) {
        Study s;
        s.index = i;
        const long n1 = between(5, 60), n2 = between(5, 60);
        const long m1 = between(2000, 8000), m2 = m1 + between(-800, 800);
        const long sd1 = between(100, 1500), sd2 = between(100, 1500);
        // An SD of the differences that a correlation strictly inside
        // (-1, 1) fits: between |SD1 - SD2| and SD1 + SD2.
        const long gap = sd1 > sd2 ? sd1 - sd2 : sd2 - sd1;
        const long sdd = gap + (sd1 + sd2 - gap) * between(10, 90) / 100;
        s.mean1 = hundredths(m1);
        s.mean2 = hundredths(m2);
        s.sd1 = hundredths(sd1);
        s.sd2 = hundredths(sd2);
        s.sdd = hundredths(sdd);
        s.n1 = std::to_string(n1);
        s.n2 = std::to_string(n2);
        out.push_back(s);
    }
    return out;
}

enum class Kind { welch, pooled, paired };

// One question: the hypothesis and direction whose alternative lies on
// `side`, and its margin, chosen from the study's index so that every
// hypothesis meets both directions of better.
struct Question {
    Hypothesis hypothesis;
    Better better;
    std::string margin;
};

Question questionOf(const Study& study, Side side, Scale scale, long size) {
    const bool ratio = scale == Scale::ratio;
    // size is 10..500 hundredths: a difference of 0.10 to 5.00, or a ratio
    // that far from 1 in thousandths (0.01 to 0.50 beyond it, kept above 0).
    const auto beyond = [&](int sign) {
        if (!ratio) return hundredths(sign * size);
        const long thousandths = 1000 + sign * (size / 2 + 5);
        return hundredths(thousandths / 10) + std::to_string(thousandths % 10);
    };
    switch (study.index % 3) {
        case 0:  // non-inferiority: the margin on the worse side
            return side == Side::above
                       ? Question{Hypothesis::nonInferiority, Better::higher, beyond(-1)}
                       : Question{Hypothesis::nonInferiority, Better::lower, beyond(1)};
        case 1:  // non-superiority: the margin on the better side
            return side == Side::above
                       ? Question{Hypothesis::nonSuperiority, Better::lower, beyond(-1)}
                       : Question{Hypothesis::nonSuperiority, Better::higher, beyond(1)};
        default:  // superiority: on the better side
            return side == Side::above
                       ? Question{Hypothesis::superiority, Better::higher, beyond(1)}
                       : Question{Hypothesis::superiority, Better::lower, beyond(-1)};
    }
}

struct Case {
    Study study;
    Kind kind;
    Scale scale;
    friend void PrintTo(const Case& c, std::ostream* out) { *out << c.study.index; }
};

// The truth's inputs at 50 digits.
struct Truth {
    Real m1, m2, s1, s2, n1, n2, sdd;
    Kind kind;
    // Difference scale: the estimate, its standard error and df.
    Real estimate() const { return m1 - m2; }
    Real se() const {
        if (kind == Kind::paired) return sdd / sqrt(n1);
        if (kind == Kind::welch) return sqrt(s1 * s1 / n1 + s2 * s2 / n2);
        return sqrt((s1 * s1 * (n1 - 1) + s2 * s2 * (n2 - 1)) / (n1 + n2 - 2) * (1 / n1 + 1 / n2));
    }
    // var(m1 - theta m2), Fieller's.
    Real variance(const Real& theta) const {
        if (kind == Kind::paired) {
            const Real cov = (s1 * s1 + s2 * s2 - sdd * sdd) / 2;
            return (s1 * s1 + theta * theta * s2 * s2 - 2 * theta * cov) / n1;
        }
        if (kind == Kind::welch) return s1 * s1 / n1 + theta * theta * s2 * s2 / n2;
        return (s1 * s1 * (n1 - 1) + s2 * s2 * (n2 - 1)) / (n1 + n2 - 2) *
               (1 / n1 + theta * theta / n2);
    }
    // Welch-Satterthwaite df of var(m1 - theta m2); theta = 1 is the difference's.
    Real df(const Real& theta) const {
        if (kind == Kind::paired) return n1 - 1;
        if (kind == Kind::pooled) return n1 + n2 - 2;
        const Real v1 = s1 * s1 / n1, v2 = theta * theta * s2 * s2 / n2;
        return (v1 + v2) * (v1 + v2) / (v1 * v1 / (n1 - 1) + v2 * v2 / (n2 - 1));
    }
};

DesignReport designOf(const Case& c, const settings::TestSettings& s) {
    Inputs in{c.study.mean1, c.study.sd1, c.study.n1, c.study.mean2, c.study.sd2, c.study.n2, "1"};
    if (c.kind == Kind::paired) {
        in.n2 = in.n1;
        in.matched = true;
        in.sdMatched = c.study.sdd;
        in.meanDiff = hundredths(static_cast<long>(
            std::lround(static_cast<double>((Real(c.study.mean1) - Real(c.study.mean2)) * 100))));
    }
    BoxTable boxes;
    testing_support::enter(boxes, in);
    RunRecord record;
    runCommand(boxes, &record);
    const Report report = makeReport(record, s).value();
    return c.kind == Kind::paired ? report.matched.value() : report.independent;
}

void expectRelative(double ours, const Real& truth, double tolerance, const std::string& what) {
    EXPECT_LT(static_cast<double>(abs(Real(ours) - truth) / abs(truth)), tolerance)
        << what << ": ours " << ours << ", truth " << static_cast<double>(truth);
}

class OneSidedOracle : public testing::TestWithParam<Case> {};

TEST_P(OneSidedOracle, EqualsTheOneSidedTestAtTheMarginAt50Digits) {
    const Case& c = GetParam();
    const Truth truth{Real(c.study.mean1), Real(c.study.mean2),
                      Real(c.study.sd1),   Real(c.study.sd2),
                      Real(c.study.n1),    Real(c.kind == Kind::paired ? c.study.n1 : c.study.n2),
                      Real(c.study.sdd),   c.kind};
    const bool ratio = c.scale == Scale::ratio;
    std::mt19937 sizes(static_cast<unsigned>(c.study.index));
    for (const char* alphaText : {"0.025", "0.05", "0.10"}) {
        for (const Side side : {Side::above, Side::below}) {
            const Question question =
                questionOf(c.study, side, c.scale, 10 + static_cast<long>(sizes() % 491));
            SCOPED_TRACE(std::string("alpha ") + alphaText + ", margin " + question.margin +
                         (side == Side::above ? ", greater" : ", less"));
            settings::TestSettings s;
            s.alpha = static_cast<double>(Real(alphaText));
            s.hypothesis = question.hypothesis;
            s.better = question.better;
            s.margin = static_cast<double>(Real(question.margin));
            s.scale = c.scale;
            s.standardError = c.kind == Kind::welch ? settings::StandardError::welch
                                                    : settings::StandardError::pooled;
            ASSERT_EQ(settings::alternativeSide(s.hypothesis, s.better), side);
            const DesignReport r = designOf(c, s);
            const EquivalenceTest& eq = r.equivalence.value();
            const MarginTest& m = eq.oneSided.value();
            ASSERT_EQ(m.side, side);

            const Real margin(*s.margin), alpha(alphaText);
            const Real theta = ratio ? truth.m1 / truth.m2 : Real(1);
            const Real df = ratio ? truth.df(theta) : truth.df(1);
            const boost::math::students_t_distribution<Real> tDist(df);
            const Real q = quantile(complement(tDist, alpha));
            const Real se = ratio ? sqrt(truth.variance(margin)) : truth.se();
            const Real t =
                ratio ? (truth.m1 - margin * truth.m2) / se : (truth.estimate() - margin) / se;
            const Real p = side == Side::above ? cdf(complement(tDist, t)) : cdf(tDist, t);
            expectRelative(eq.df, df, 1e-13, "df");
            expectRelative(eq.standardError, se, 1e-13, "standard error");
            EXPECT_LT(static_cast<double>(abs(Real(m.t) - t) / std::max(Real(1), abs(t))), 1e-11)
                << "t: ours " << m.t << ", truth " << static_cast<double>(t);
            expectRelative(m.p.value.value(), p, 1e-10, "p");
            EXPECT_EQ(m.shown, p < alpha) << "p " << static_cast<double>(p);
            EXPECT_EQ(rejectsNull(settings::oneSidedDecision(s.hypothesis, m.shown)), m.shown);

            Real low, high;
            if (ratio) {
                // (m2^2 - q^2 c) theta^2 - 2 (m1 m2 - q^2 b) theta + (m1^2 - q^2 a) = 0,
                // var(theta) = a - 2 b theta + c theta^2.
                const Real a = truth.variance(0),
                           c2 = (truth.variance(1) + truth.variance(-1)) / 2 - a;
                const Real b = (truth.variance(-1) - truth.variance(1)) / 4;
                const Real A = truth.m2 * truth.m2 - q * q * c2;
                const Real B = truth.m1 * truth.m2 - q * q * b;
                const Real C = truth.m1 * truth.m1 - q * q * a;
                ASSERT_GT(A, 0) << "the studies keep group 2's mean clearly above 0";
                const Real root = sqrt(B * B - A * C);
                low = (B - root) / A;
                high = (B + root) / A;
                ASSERT_EQ(eq.ciTostShape.shape, fieller::Shape::bounded);
            } else {
                low = truth.estimate() - q * se;
                high = truth.estimate() + q * se;
            }
            // The deciding end is R's one-sided interval's end at 1 - alpha.
            const Real scale = ratio ? Real(1) : se;
            EXPECT_LT(static_cast<double>(abs(Real(eq.ciTostLow.value.value()) - low) / scale),
                      1e-12)
                << "low: ours " << *eq.ciTostLow.value << ", truth " << static_cast<double>(low);
            EXPECT_LT(static_cast<double>(abs(Real(eq.ciTostHigh.value.value()) - high) / scale),
                      1e-12)
                << "high: ours " << *eq.ciTostHigh.value << ", truth " << static_cast<double>(high);
            // The decision agrees with the printed interval's deciding end.
            const double end = side == Side::above ? *eq.ciTostLow.value : *eq.ciTostHigh.value;
            EXPECT_EQ(m.shown, side == Side::above ? end > *s.margin : end < *s.margin);
        }
    }
}

std::vector<Case> cases() {
    std::vector<Case> out;
    for (const Study& study : studies())
        for (const Kind kind : {Kind::welch, Kind::pooled, Kind::paired})
            for (const Scale scale : {Scale::difference, Scale::ratio})
                out.push_back({study, kind, scale});
    return out;
}

std::string caseName(const testing::TestParamInfo<Case>& info) {
    const Case& c = info.param;
    const std::array<const char*, 3> kinds = {"welch", "pooled", "paired"};
    return "study" + std::to_string(c.study.index) + "_" + kinds[static_cast<int>(c.kind)] +
           (c.scale == Scale::ratio ? "_ratio" : "_difference");
}

INSTANTIATE_TEST_SUITE_P(Studies, OneSidedOracle, testing::ValuesIn(cases()), caseName);

}  // namespace
}  // namespace tarnwick::report

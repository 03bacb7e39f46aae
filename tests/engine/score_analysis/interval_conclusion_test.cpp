// Every analysis's printed interval and its conclusion say the same thing,
// on random small studies (2 to 12 scores a group, continuous or on a
// coarse grid that ties, alpha from .005 to .2), with bounds anywhere and
// bounds at the interval's own ends and their neighbouring doubles, where
// rounding decides:
// - equivalence: the test against the lower bound is significant exactly
//   when low > lower, the one against the upper exactly when high < upper,
//   so "equivalent" holds exactly when the interval lies inside the bounds;
// - minimal effect: the test against the lower bound is significant exactly
//   when high < lower, the other exactly when low > upper;
// - the interval does not move with the bounds beyond the rounding that
//   decides a bound on an end (a few ulps): an end found from other counts
//   than the tests' would move by a whole gap between differences.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bootstrap_analysis.h"
#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "score_error.h"
#include "trimmed_analysis.h"

namespace tarnwick::score_analysis {
namespace {

using Scores = std::vector<double>;
using Run = std::function<ScoreResult(const Scores&, const Scores&, const ScoreSettings&)>;

const BootstrapSettings fewReplicates{199, 5};

const std::pair<const char*, Run> analyses[] = {
    {"normal_independent",
     [](auto& x, auto& y, auto& s) { return normalTheoryIndependent(x, y, s); }},
    {"normal_matched", [](auto& x, auto& y, auto& s) { return normalTheoryMatched(x, y, s); }},
    {"trimmed_independent", [](auto& x, auto& y, auto& s) { return yuenIndependent(x, y, s); }},
    {"trimmed_matched", [](auto& x, auto& y, auto& s) { return yuenMatched(x, y, s); }},
    {"rank_independent", [](auto& x, auto& y, auto& s) { return rankIndependent(x, y, s); }},
    {"rank_matched", [](auto& x, auto& y, auto& s) { return rankMatched(x, y, s); }},
    {"bootstrap_independent",
     [](auto& x, auto& y, auto& s) { return bootstrapIndependent(x, y, s, fewReplicates); }},
    {"bootstrap_matched",
     [](auto& x, auto& y, auto& s) { return bootstrapMatched(x, y, s, fewReplicates); }},
};

bool closeEnds(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b)) return a == b;
    return std::fabs(a - b) <= 8 * std::numeric_limits<double>::epsilon() *
                                   std::max({std::fabs(a), std::fabs(b), 1e-300});
}

void expectAgreement(const ScoreResult& r, const ScoreSettings& s) {
    const bool lowerSignificant = r.pLower < s.alpha, upperSignificant = r.pUpper < s.alpha;
    if (s.hypothesis == Hypothesis::equivalence) {
        EXPECT_EQ(lowerSignificant, r.low > s.lower) << "low " << r.low << " lower " << s.lower;
        EXPECT_EQ(upperSignificant, r.high < s.upper) << "high " << r.high << " upper " << s.upper;
        EXPECT_EQ(r.conclusion == Conclusion::equivalent, r.low > s.lower && r.high < s.upper);
    } else {
        EXPECT_EQ(lowerSignificant, r.high < s.lower) << "high " << r.high << " lower " << s.lower;
        EXPECT_EQ(upperSignificant, r.low > s.upper) << "low " << r.low << " upper " << s.upper;
        EXPECT_EQ(r.conclusion == Conclusion::beyondBounds, r.high < s.lower || r.low > s.upper);
    }
}

TEST(IntervalAndConclusion, AgreeOnRandomSmallStudies) {
    std::mt19937_64 engine(2718);
    std::uniform_int_distribution<int> size(2, 12);
    std::uniform_int_distribution<int> kind(0, 2);
    std::normal_distribution<double> normal;
    const double alphas[] = {0.005, 0.025, 0.05, 0.1, 0.2};
    int checked = 0, unbounded = 0;
    for (int study = 0; study < 150; ++study) {
        const int n1 = size(engine), n2 = size(engine);
        const int scores = kind(engine);  // 0: continuous, 1: a grid of halves, 2: a shift
        Scores x(static_cast<std::size_t>(n1)), y(static_cast<std::size_t>(n2));
        for (double& v : x)
            v = scores == 1 ? std::round(2 * normal(engine)) / 2 : normal(engine) + 0.3;
        for (double& v : y)
            v = scores == 1 ? std::round(2 * normal(engine)) / 2 : normal(engine);
        const double alpha = alphas[study % 5];
        for (const auto& [name, run] : analyses) {
            const bool matched = std::string(name).ends_with("matched");
            Scores a = x, b = y;
            if (matched) a.resize(std::min(a.size(), b.size())), b.resize(a.size());
            SCOPED_TRACE(std::string(name) + " study " + std::to_string(study));
            ScoreResult wide;
            try {
                wide = run(a, b, {alpha, -1e6, 1e6, Hypothesis::equivalence});
            } catch (const ScoreError&) {
                continue;  // no spread, or nothing left after trimming
            }
            if (!std::isfinite(wide.low)) ++unbounded;
            std::vector<double> candidates = {wide.estimate - 1.5, wide.estimate + 1.5};
            for (const double end : {wide.low, wide.high})
                if (std::isfinite(end))
                    candidates.insert(candidates.end(), {std::nextafter(end, -HUGE_VAL), end,
                                                         std::nextafter(end, HUGE_VAL)});
            for (const double lower : candidates) {
                for (const double upper : candidates) {
                    if (!(lower < upper)) continue;
                    for (const Hypothesis h :
                         {Hypothesis::equivalence, Hypothesis::minimalEffect}) {
                        const ScoreSettings s{alpha, lower, upper, h};
                        const ScoreResult r = run(a, b, s);
                        expectAgreement(r, s);
                        EXPECT_TRUE(closeEnds(r.low, wide.low)) << r.low << " " << wide.low;
                        EXPECT_TRUE(closeEnds(r.high, wide.high)) << r.high << " " << wide.high;
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 10000);
    EXPECT_GT(unbounded, 0);  // the smallest studies reach no rank at small alpha
}

// The same on the ratio scale, where the ends are exp of the ends on the
// logs and the bounds ratios: a bound at a ratio end or the doubles beside
// it must still fall on the side its test says; an end unbounded on the
// logs is 0 as a ratio, never beyond a bound.
// A ratio end moves by a few of its own ulps where a bound decides it, or by
// a few ulps of its log, which exp scales by the log's size.
bool closeRatioEnds(double a, double b) {
    return closeEnds(a, b) || closeEnds(std::log(a), std::log(b));
}

TEST(IntervalAndConclusion, AgreeOnTheRatioScale) {
    std::mt19937_64 engine(3141);
    std::uniform_int_distribution<int> size(2, 10);
    std::normal_distribution<double> normal;
    int checked = 0;
    for (int study = 0; study < 60; ++study) {
        const int n1 = size(engine), n2 = size(engine);
        Scores x(static_cast<std::size_t>(n1)), y(static_cast<std::size_t>(n2));
        for (double& v : x)
            v = std::exp(0.3 * normal(engine) + 0.05);
        for (double& v : y)
            v = std::exp(0.3 * normal(engine));
        const double alpha = study % 2 == 0 ? 0.05 : 0.025;
        for (const auto& [name, run] : analyses) {
            const bool matched = std::string(name).ends_with("matched");
            Scores a = x, b = y;
            if (matched) a.resize(std::min(a.size(), b.size())), b.resize(a.size());
            SCOPED_TRACE(std::string(name) + " study " + std::to_string(study));
            ScoreResult wide;
            try {
                wide = run(a, b, {alpha, 1e-6, 1e6, Hypothesis::equivalence, Scale::ratio});
            } catch (const ScoreError&) {
                continue;
            }
            std::vector<double> candidates = {wide.estimate / 2, wide.estimate * 2};
            for (const double end : {wide.low, wide.high})
                if (std::isfinite(end) && end > 0)
                    candidates.insert(candidates.end(), {std::nextafter(end, 0.0), end,
                                                         std::nextafter(end, HUGE_VAL)});
            for (const double lower : candidates) {
                for (const double upper : candidates) {
                    if (!(lower < upper)) continue;
                    for (const Hypothesis h :
                         {Hypothesis::equivalence, Hypothesis::minimalEffect}) {
                        const ScoreSettings s{alpha, lower, upper, h, Scale::ratio};
                        if (!(std::log(lower) < std::log(upper))) {
                            // Neighbouring doubles whose logs meet.
                            EXPECT_THROW(run(a, b, s), ScoreError);
                            continue;
                        }
                        const ScoreResult r = run(a, b, s);
                        expectAgreement(r, s);
                        EXPECT_TRUE(closeRatioEnds(r.low, wide.low)) << r.low << " " << wide.low;
                        EXPECT_TRUE(closeRatioEnds(r.high, wide.high))
                            << r.high << " " << wide.high;
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 3000);
}

// One-sided questions: the test on the alternative's side is significant
// exactly when the interval's end on that side lies beyond the margin, for
// margins at the ends and the doubles beside them, on both scales; the
// other end does not move.
TEST(IntervalAndConclusion, OneSidedAgreeAtTheMargin) {
    std::mt19937_64 engine(1618);
    std::uniform_int_distribution<int> size(2, 10);
    std::normal_distribution<double> normal;
    int checked = 0;
    for (int study = 0; study < 40; ++study) {
        const bool ratio = study % 2 == 1;
        const Scale scale = ratio ? Scale::ratio : Scale::difference;
        const int n1 = size(engine), n2 = size(engine);
        Scores x(static_cast<std::size_t>(n1)), y(static_cast<std::size_t>(n2));
        for (double& v : x)
            v = ratio ? std::exp(0.3 * normal(engine) + 0.05) : std::round(4 * normal(engine)) / 4;
        for (double& v : y)
            v = ratio ? std::exp(0.3 * normal(engine)) : std::round(4 * normal(engine)) / 4;
        const double alpha = study % 3 == 0 ? 0.05 : 0.025;
        for (const auto& [name, run] : analyses) {
            const bool matched = std::string(name).ends_with("matched");
            Scores a = x, b = y;
            if (matched) a.resize(std::min(a.size(), b.size())), b.resize(a.size());
            SCOPED_TRACE(std::string(name) + " study " + std::to_string(study));
            ScoreResult wide;
            try {
                wide = run(a, b, {alpha, ratio ? 1e-6 : -1e6, 1e6, Hypothesis::equivalence, scale});
            } catch (const ScoreError&) {
                continue;
            }
            std::vector<double> margins;
            for (const double end : {wide.low, wide.high})
                if (std::isfinite(end) && end > (ratio ? 0 : -HUGE_VAL))
                    margins.insert(margins.end(), {std::nextafter(end, -HUGE_VAL), end,
                                                   std::nextafter(end, HUGE_VAL)});
            for (const double margin : margins) {
                for (const Better better : {Better::higher, Better::lower}) {
                    for (const Hypothesis h :
                         {Hypothesis::nonInferiority, Hypothesis::nonSuperiority,
                          Hypothesis::superiority}) {
                        const ScoreSettings s = oneSidedSettings(alpha, margin, h, better, scale);
                        const ScoreResult r = run(a, b, s);
                        const bool above = sideOf(s) == Side::above;
                        const bool significant = r.p < alpha;
                        EXPECT_EQ(r.p, above ? r.pLower : r.pUpper);
                        EXPECT_EQ(significant, above ? r.low > margin : r.high < margin)
                            << r.low << " " << r.high << " margin " << margin;
                        EXPECT_EQ(r.conclusion, settings::oneSidedDecision(h, significant));
                        // The end that does not decide is the interval's own.
                        EXPECT_EQ(above ? r.high : r.low, above ? wide.high : wide.low);
                        ++checked;
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 3000);
}

}  // namespace
}  // namespace tarnwick::score_analysis

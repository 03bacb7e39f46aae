// The bootstrap's progress callback: it hears the replicates done in order,
// often enough for large groups, changes no number, and stops the analysis
// (through the report's collection of refusals too) when it answers false.

#include <gtest/gtest.h>

#include <vector>

#include "bootstrap_analysis.h"
#include "score_report.h"

namespace tarnwick::score_analysis {
namespace {

std::vector<double> scores(std::size_t n, double shift) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = shift + static_cast<double>((i * 37) % 101) / 10;
    return x;
}

struct Case {
    const char* name;
    std::size_t n;
    bool matched;
    long expectedCalls;  // B / (2^16 / draws a replicate), rounded up
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Progress : public ::testing::TestWithParam<Case> {};

TEST_P(Progress, HeardInOrderAndChangesNoNumber) {
    const Case& c = GetParam();
    const std::vector<double> x = scores(c.n, 0.3), y = scores(c.n, 0);
    const ScoreSettings settings{0.05, -1, 1, Hypothesis::equivalence};
    const auto run = [&](const BootstrapSettings& b) {
        return c.matched ? bootstrapMatched(x, y, settings, b)
                         : bootstrapIndependent(x, y, settings, b);
    };
    std::vector<long> heard;
    // One thread: the cadence is exact. With more, the caller's thread hears
    // its own block's cadence, then the others' count while it waits.
    BootstrapSettings watched{999, 5, 1};
    watched.progress = [&](long done, long replicates) {
        EXPECT_EQ(replicates, 999);
        heard.push_back(done);
        return true;
    };
    const ScoreResult plain = run({999, 5}), seen = run(watched);
    EXPECT_EQ(plain.low, seen.low);
    EXPECT_EQ(plain.high, seen.high);
    EXPECT_EQ(plain.pLower, seen.pLower);
    EXPECT_EQ(plain.pUpper, seen.pUpper);
    ASSERT_EQ(static_cast<long>(heard.size()), c.expectedCalls);
    EXPECT_EQ(heard.front(), 0);
    for (std::size_t i = 1; i < heard.size(); ++i)
        EXPECT_GT(heard[i], heard[i - 1]);
    EXPECT_LT(heard.back(), 999);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Progress,
    ::testing::Values(Case{"small groups: once", 20, false, 1},
                      // 2 x 8192 draws a replicate: every 4th replicate.
                      Case{"large groups: every 4th replicate", 8192, false, 250},
                      // 40,000 pairs: more draws than 2^16, so every replicate.
                      Case{"many pairs: every replicate", 40000, true, 999}),
    [](const auto& info) {
        return std::string(info.param.matched ? "matched" : "independent") +
               std::to_string(info.param.n);
    });

TEST(ProgressStop, StopsTheBootstrapAndPassesThroughTheReport) {
    const std::vector<double> x = scores(8192, 0.3), y = scores(8192, 0);
    const ScoreSettings settings{0.05, -1, 1, Hypothesis::equivalence};
    long calls = 0;
    BootstrapSettings stopping{999, 5, 1};
    stopping.progress = [&](long done, long) {
        ++calls;
        return done < 40;
    };
    EXPECT_THROW(bootstrapIndependent(x, y, settings, stopping), BootstrapStopped);
    EXPECT_EQ(calls, 11);  // 0, 4, ..., 40: the one at 40 said stop
    // On two threads the other thread's block stops too, and the stop is
    // thrown only after both are joined. The watcher stops at its second
    // call, not at a count of replicates: how far the other thread has got
    // by then depends on the machine's load.
    long heardOnTwo = 0;
    BootstrapSettings two{999, 5, 2};
    two.progress = [&](long, long) { return ++heardOnTwo < 2; };
    EXPECT_THROW(bootstrapIndependent(x, y, settings, two), BootstrapStopped);
    EXPECT_EQ(heardOnTwo, 2);
    // Not a refusal: the report's other analyses are not given a problem
    // sentence in its place, the whole run is dropped.
    EXPECT_THROW(score_report::analyseScores(x, y, false, settings, stopping), BootstrapStopped);
}

}  // namespace
}  // namespace tarnwick::score_analysis

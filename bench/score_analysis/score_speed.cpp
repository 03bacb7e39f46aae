// Speed of the rank-based analysis of raw scores: the Hodges-Lehmann
// estimate, its interval and both one-sided Wilcoxon tests, for 10^4 to
// 10^6 scores per group (independent) and pairs (matched). Scores are
// continuous, so every order statistic comes from the selection's sampling
// rounds rather than a small gather. The aim is a second at 10^6 per group.
// Yuen's test and the normal-theory tests on 10^6 per group for scale.

#include <benchmark/benchmark.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "trimmed_analysis.h"

namespace {

using namespace tarnwick::score_analysis;

std::vector<double> scores(long n, double shift, unsigned seed) {
    std::mt19937_64 engine(seed);
    std::normal_distribution<double> normal(shift, 1);
    std::vector<double> v(static_cast<std::size_t>(n));
    for (double& x : v)
        x = normal(engine);
    return v;
}

constexpr std::array<long, 3> sizes = {10000, 100000, 1000000};
const ScoreSettings settings{0.05, -0.1, 0.1, Hypothesis::equivalence};

void RankIndependent(benchmark::State& state) {
    const long n = sizes[state.range(0)];
    const std::vector<double> x = scores(n, 0.02, 1), y = scores(n, 0, 2);
    ScoreResult result;
    for (auto _ : state) {
        result = rankIndependent(x, y, settings);
        benchmark::DoNotOptimize(result.p);
    }
    state.SetLabel("n=" + std::to_string(n) + " per group, estimate " +
                   std::to_string(result.estimate) + ", p " + std::to_string(result.p));
}
BENCHMARK(RankIndependent)->DenseRange(0, sizes.size() - 1)->Unit(benchmark::kMillisecond);

void RankMatched(benchmark::State& state) {
    const long n = sizes[state.range(0)];
    const std::vector<double> x = scores(n, 0.02, 3), y = scores(n, 0, 4);
    ScoreResult result;
    for (auto _ : state) {
        result = rankMatched(x, y, settings);
        benchmark::DoNotOptimize(result.p);
    }
    state.SetLabel("n=" + std::to_string(n) + " pairs, estimate " +
                   std::to_string(result.estimate) + ", p " + std::to_string(result.p));
}
BENCHMARK(RankMatched)->DenseRange(0, sizes.size() - 1)->Unit(benchmark::kMillisecond);

void YuenIndependentMillion(benchmark::State& state) {
    const std::vector<double> x = scores(1000000, 0.02, 5), y = scores(1000000, 0, 6);
    for (auto _ : state)
        benchmark::DoNotOptimize(yuenIndependent(x, y, settings).p);
}
BENCHMARK(YuenIndependentMillion)->Unit(benchmark::kMillisecond);

void WelchIndependentMillion(benchmark::State& state) {
    const std::vector<double> x = scores(1000000, 0.02, 7), y = scores(1000000, 0, 8);
    for (auto _ : state)
        benchmark::DoNotOptimize(normalTheoryIndependent(x, y, settings).p);
}
BENCHMARK(WelchIndependentMillion)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

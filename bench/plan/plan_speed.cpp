// Speed of the planning engine: one exact power value at sizes from 10 to
// 10^7 per group, one smallest-size solve at answers of about 10, 1,000 and
// 100,000 per group, and one smallest-bound solve (what the report and the
// batch program ask twice per design for their sensitivity sentence).

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <string>

#include "plan.h"

namespace {

using tarnwick::plan::Sizes;
using tarnwick::plan::Study;

Study symmetric(double bound, double difference) {
    Study study;
    study.lower = -bound;
    study.upper = bound;
    study.difference = difference;
    return study;
}

constexpr std::array<long, 5> powerSizes = {10, 1000, 100000, 1000000, 10000000};

void Power(benchmark::State& state) {
    const long n = powerSizes[state.range(0)];
    // Bounds that put the power near 0.8, where the integrand is widest.
    const Study study = symmetric(4.2 / std::sqrt(static_cast<double>(n)), 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarnwick::plan::power(study, {n, n}));
    }
    const double power = tarnwick::plan::power(study, {n, n});
    state.SetLabel("n=" + std::to_string(n) + " power=" + std::to_string(power));
}
BENCHMARK(Power)->DenseRange(0, powerSizes.size() - 1)->Unit(benchmark::kMicrosecond);

// Bounds whose 80% answers are about 10, 1,000 and 100,000 per group.
constexpr std::array<double, 3> sizeBounds = {1.45, 0.1309, 0.01309};

void SmallestSize(benchmark::State& state) {
    const Study study = symmetric(sizeBounds[state.range(0)], 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarnwick::plan::smallestSize(study, 0.8).sizes.n1);
    }
    const long answer = tarnwick::plan::smallestSize(study, 0.8).sizes.n1;
    state.SetLabel("answer=" + std::to_string(answer));
}
BENCHMARK(SmallestSize)->DenseRange(0, sizeBounds.size() - 1)->Unit(benchmark::kMicrosecond);

// A true difference other than 0 is solved afresh on every call; at 0 the
// root in standard-error units is kept per df, as the report's sentence
// and the batch program's columns ask it, so a repeat is a lookup.
void SmallestBound(benchmark::State& state) {
    const Study study = symmetric(0.5, state.range(0) == 0 ? 0.1 : 0);
    const Sizes sizes{50, 50};
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarnwick::plan::smallestBound(study, sizes, 0.8).bound);
    }
    state.SetLabel(state.range(0) == 0 ? "n=50 difference=0.1" : "n=50 difference=0 (kept)");
}
BENCHMARK(SmallestBound)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

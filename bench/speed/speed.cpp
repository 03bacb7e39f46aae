// Times our Student t functions beside Boost.Math's students_t in double on the
// same arguments, and one whole press of the run button on the worked runs.
// tools/quality turns the JSON output into ours/Boost ratios.

#include <benchmark/benchmark.h>

#include <array>
#include <boost/math/distributions/students_t.hpp>
#include <vector>

#include "box_table.h"
#include "run_command.h"
#include "t_distribution.h"

namespace {

constexpr std::array<double, 7> degreesOfFreedom = {1.5, 9, 18, 33, 181.13, 79260.9, 1e6};

const std::vector<double>& tValues() {  // 0, 0.5, ..., 40
    static const std::vector<double> values = [] {
        std::vector<double> v;
        for (int i = 0; i <= 80; ++i)
            v.push_back(i * 0.5);
        return v;
    }();
    return values;
}

void setLabel(benchmark::State& state) {
    state.SetLabel("df=" + std::to_string(degreesOfFreedom[state.range(0)]));
    state.SetItemsProcessed(state.iterations() * static_cast<long>(tValues().size()));
}

void TailOurs(benchmark::State& state) {
    const double df = degreesOfFreedom[state.range(0)];
    const auto& t = tarnwick::TDistribution::instance();
    for (auto _ : state) {
        for (double x : tValues())
            benchmark::DoNotOptimize(t.TailProbability(x, df, 2));
    }
    setLabel(state);
}

void TailBoost(benchmark::State& state) {
    const boost::math::students_t_distribution<double> dist(degreesOfFreedom[state.range(0)]);
    for (auto _ : state) {
        for (double x : tValues()) {
            benchmark::DoNotOptimize(2 * boost::math::cdf(boost::math::complement(dist, x)));
        }
    }
    setLabel(state);
}

void CriticalOurs(benchmark::State& state) {
    const double df = degreesOfFreedom[state.range(0)];
    const auto& t = tarnwick::TDistribution::instance();
    for (auto _ : state)
        benchmark::DoNotOptimize(t.CriticalValue(0.05, df, 1));
    state.SetLabel("df=" + std::to_string(df));
}

void CriticalBoost(benchmark::State& state) {
    const boost::math::students_t_distribution<double> dist(degreesOfFreedom[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(boost::math::quantile(boost::math::complement(dist, 0.05)));
    }
    state.SetLabel("df=" + std::to_string(degreesOfFreedom[state.range(0)]));
}

void pressRun(benchmark::State& state, bool matched) {
    for (auto _ : state) {
        tarnwick::BoxTable boxes;
        const char* texts[][2] = {
            {"TxtMean1", "10"},     {"TxtSD1", "2"},      {"TxtN1", "10"},
            {"TxtMean2", "9"},      {"TxtSD2", "2"},      {"TxtN2", "10"},
            {"TxtNotTrivial", "2"}, {"TxtMeanDiff", "1"}, {"TxtSDMatched", "2"}};
        for (const auto& [box, text] : texts)
            boxes.setText(box, text);
        if (matched) boxes.select("opMatched");
        tarnwick::runCommand(boxes);
        benchmark::DoNotOptimize(boxes);
    }
}

void RunIndependent(benchmark::State& state) { pressRun(state, false); }
void RunMatched(benchmark::State& state) { pressRun(state, true); }

}  // namespace

BENCHMARK(TailOurs)->DenseRange(0, degreesOfFreedom.size() - 1);
BENCHMARK(TailBoost)->DenseRange(0, degreesOfFreedom.size() - 1);
BENCHMARK(CriticalOurs)->DenseRange(0, degreesOfFreedom.size() - 1);
BENCHMARK(CriticalBoost)->DenseRange(0, degreesOfFreedom.size() - 1);
BENCHMARK(RunIndependent);
BENCHMARK(RunMatched);

BENCHMARK_MAIN();

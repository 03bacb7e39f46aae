// Speed of the bioequivalence planner: one smallest-size solve for every
// design at CV 30% (true ratio 0.95, 80% power), and for the 2x2 crossover
// at answers from a dozen to about 10^5 subjects. The aim is at most 1 ms a
// solve.

#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "be_plan.h"
#include "be_reported.h"

namespace {

using tarnwick::be::BeDesign;
using tarnwick::be::BeStudy;

void EveryDesign(benchmark::State& state) {
    const BeDesign design = tarnwick::be::allDesigns()[static_cast<std::size_t>(state.range(0))];
    BeStudy study;
    study.design = design;
    study.cv = 0.3;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarnwick::be::smallestSize(study, 0.8).total);
    }
    state.SetLabel(std::string(tarnwick::be::designConstants(design).name) +
                   " n=" + std::to_string(tarnwick::be::smallestSize(study, 0.8).total));
}
BENCHMARK(EveryDesign)->DenseRange(0, 11)->Unit(benchmark::kMicrosecond);

// CV and true ratio whose 90% answers run from a dozen to about 10^5.
struct Case {
    double cv, ratio0;
};
constexpr std::array<Case, 5> crossoverCases = {
    {{0.10, 1.00}, {0.30, 0.95}, {0.60, 0.90}, {0.30, 0.82}, {0.30, 0.805}}};

void TwoByTwo(benchmark::State& state) {
    BeStudy study;
    study.cv = crossoverCases[static_cast<std::size_t>(state.range(0))].cv;
    study.ratio0 = crossoverCases[static_cast<std::size_t>(state.range(0))].ratio0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarnwick::be::smallestSize(study, 0.9).total);
    }
    state.SetLabel("CV=" + std::to_string(study.cv) + " ratio=" + std::to_string(study.ratio0) +
                   " n=" + std::to_string(tarnwick::be::smallestSize(study, 0.9).total));
}
BENCHMARK(TwoByTwo)->DenseRange(0, crossoverCases.size() - 1)->Unit(benchmark::kMicrosecond);

// From a report's numbers: the interval, p values and conclusion of a 2x2
// crossover, and the CV of a published interval.
void IntervalFromReport(benchmark::State& state) {
    BeStudy study;
    study.cv = 0.25;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tarnwick::be::intervalFromReport(study, 0.95, {12, 12}).low);
    }
}
BENCHMARK(IntervalFromReport)->Unit(benchmark::kMicrosecond);

void CvFromInterval(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            tarnwick::be::cvFromInterval(BeDesign::crossover2x2, 0.05, 0.8512, 1.0621, {12, 12}));
    }
}
BENCHMARK(CvFromInterval)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// Speed of the crossover analysis from the table's text to the answers:
// one 2x2x2 study of 10,000 subjects, and a table of 1,000 studies of 24
// subjects each (a replicate TRTR/RTRT design too). Each run reads the
// table from memory and analyses every study. The aim is below a second for
// each.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "crossover_analysis.h"
#include "crossover_table.h"

namespace {

using namespace tarnwick::crossover;

// Log-normal responses: between-subject SD 0.4, within 0.2, T/R 0.95.
std::string table(int studies, int subjects, const std::string& first, const std::string& second) {
    std::mt19937_64 engine(29);
    std::normal_distribution<double> normal(0, 1);
    std::string text = "study,subject,sequence,period,treatment,response\n";
    for (int s = 0; s < studies; ++s) {
        for (int i = 0; i < subjects; ++i) {
            const std::string& sequence = i % 2 ? first : second;
            const double level = 7 + 0.4 * normal(engine);
            for (std::size_t p = 0; p < sequence.size(); ++p) {
                const double effect = sequence[p] == 'T' ? std::log(0.95) : 0;
                char cell[32];
                std::snprintf(cell, sizeof cell, "%.4f",
                              std::exp(level + effect + 0.2 * normal(engine)));
                text += "s" + std::to_string(s) + "," + std::to_string(i) + "," + sequence + "," +
                        std::to_string(p + 1) + "," + sequence[p] + "," + cell + "\n";
            }
        }
    }
    return text;
}

void readAndAnalyse(benchmark::State& state, const std::string& text) {
    double sum = 0;
    long studies = 0;
    for (auto _ : state) {
        std::FILE* input = ::fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
        const CrossoverTable read = readCrossoverTable(input, "bench", {});
        std::fclose(input);
        for (const CrossoverStudy& study : read.studies)
            sum += analyseCrossover(study, {}).ratio;
        studies = static_cast<long>(read.studies.size());
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(std::to_string(studies) + " studies, " + std::to_string(text.size()) + " bytes");
}

void TenThousandSubjects(benchmark::State& state) {
    readAndAnalyse(state, table(1, 10000, "TR", "RT"));
}
BENCHMARK(TenThousandSubjects)->Unit(benchmark::kMillisecond);

void ThousandStudies(benchmark::State& state) {
    readAndAnalyse(state, table(1000, 24, "TR", "RT"));
}
BENCHMARK(ThousandStudies)->Unit(benchmark::kMillisecond);

void ThousandReplicateStudies(benchmark::State& state) {
    readAndAnalyse(state, table(1000, 24, "TRTR", "RTRT"));
}
BENCHMARK(ThousandReplicateStudies)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();

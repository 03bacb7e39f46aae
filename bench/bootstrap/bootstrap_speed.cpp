// Wall time of the bootstrap-t analysis (B = 10,000 by default) on normal
// scores of 10,000 and 100,000 a group, independent and matched: nearly all
// of it the replicates' random draws. The goal: 100,000 a group in at most
// 3 s of wall time on a 2-core machine. Each case runs three times; the
// median wall and CPU times (the CPU time of all threads) are printed with the estimate, interval
// and p, so that a run on another build shows at once whether the numbers moved too. Usage:
// bootstrap_speed [replicates] [repetitions]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "bootstrap_analysis.h"

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

}  // namespace

int main(int argc, char** argv) {
    const long replicates = argc > 1 ? std::atol(argv[1]) : 10000;
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 3;
    const ScoreSettings settings{0.05, -0.1, 0.1, Hypothesis::equivalence};
    const BootstrapSettings bootstrap{replicates, defaultBootstrapSeed};
    std::printf("| Scores a group | Design | B | wall s | CPU s | estimate | interval | p |\n");
    std::printf("|---|---|---|---|---|---|---|---|\n");
    for (const long n : {10000L, 100000L}) {
        for (const bool matched : {false, true}) {
            const std::vector<double> x = scores(n, 0.02, 1), y = scores(n, 0, 2);
            std::vector<double> seconds, cpu;
            ScoreResult r;
            for (int i = 0; i < repetitions; ++i) {
                const auto start = std::chrono::steady_clock::now();
                const std::clock_t cpuStart = std::clock();
                r = matched ? bootstrapMatched(x, y, settings, bootstrap)
                            : bootstrapIndependent(x, y, settings, bootstrap);
                cpu.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
                seconds.push_back(
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
                        .count());
            }
            std::sort(seconds.begin(), seconds.end());
            std::sort(cpu.begin(), cpu.end());
            std::printf("| %ld | %s | %ld | %.2f | %.2f | %.6f | [%.6f, %.6f] | %.5f |\n", n,
                        matched ? "matched" : "independent", replicates,
                        seconds[seconds.size() / 2], cpu[cpu.size() / 2], r.estimate, r.low, r.high,
                        r.p);
            std::fflush(stdout);
        }
    }
}

// Accuracy of TDistribution against Boost.Math evaluated with 50 significant
// digits at the exact double inputs, in units of machine epsilon (2^-52), per
// decade of df from 0.1 to 1e7: the maximum and the median relative error of
// TailProbability(t, df, 2) over |t| from 0 to 1e6 (counting only points whose
// true value is at least 1e-300); of CriticalValue(0.05, df, 1), the value the
// analysis uses; and of CriticalValue(p, df, tails) with one and with two
// tails over p from 1e-300 to 1 - 1e-15: log-spaced in the tail, every 0.027
// in the middle, and 1 - p log-spaced from 1e-3 to 1e-15. A critical value
// beyond the double range must raise the overflow error instead; the report
// counts those and any that did not, and closes with the worst arguments.
//
// Usage: t_distribution_accuracy [df values per decade, default 40]

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

#include "run_time_error.h"
#include "t_distribution.h"

namespace {

using Real = boost::multiprecision::cpp_bin_float_50;
using Oracle = boost::math::students_t_distribution<Real>;

constexpr double epsilon = 0x1p-52;
constexpr int bandCount = 8;  // [0.1, 1), [1, 10), ..., [1e6, 1e7]

struct Worst {
    double error = 0.0;
    double first = 0.0;  // t or p
    double df = 0.0;
    int tails = 0;

    void update(double e, double f, double d, int k) {
        if (e > error) {
            *this = {e, f, d, k};
        }
    }
};

struct Errors {
    std::vector<double> tail;
    std::vector<double> fivePercent;
    std::vector<double> critical;
    int overflowsRaised = 0;
    int overflowsMissed = 0;
};

double inEpsilons(double value, const Real& truth) {
    return static_cast<double>(abs((Real(value) - truth) / truth)) / epsilon;
}

double median(std::vector<double> v) {
    if (v.empty()) {
        return 0.0;
    }
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    return *middle;
}

double maximum(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

std::vector<double> tValues() {
    std::vector<double> t = {0.0};
    for (int k = 1; k <= 160; ++k) {
        t.push_back(0.25 * k + 0.0071 * (k % 7));  // dense where large df still has a tail
    }
    for (int j = 0; j <= 120; ++j) {
        t.push_back(std::pow(10.0, -6.0 + j / 10.0));  // 1e-6 .. 1e6
    }
    return t;
}

// Shifted a little with each df so that the grid does not repeat itself.
std::vector<double> probabilities(int shift) {
    std::vector<double> p;
    for (int j = 0; j < 25; ++j) {
        p.push_back(std::pow(10.0, -300.0 + (j + 0.1 * shift) * 12.0));  // 1e-300 .. 0.06
    }
    for (int j = 0; j < 36; ++j) {
        p.push_back(0.005 + (j + 0.1 * shift) * 0.0272);  // 0.005 .. 0.98
    }
    for (int j = 0; j < 12; ++j) {
        p.push_back(1.0 - std::pow(10.0, -3.0 - (j + 0.1 * shift)));  // 1 - 1e-3 .. 1 - 1e-15
    }
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    const int perDecade = argc > 1 ? std::max(2, std::atoi(argv[1])) : 40;
    const tarnwick::TDistribution& dist = tarnwick::TDistribution::instance();
    const std::vector<double> ts = tValues();
    std::vector<Errors> bands(bandCount);
    Worst worstTail;
    Worst worstCritical;
    int dfIndex = 0;

    const auto measure = [&](double df, Errors& errors) {
        const Oracle oracle{Real(df)};
        for (const double t : ts) {
            const Real truth = 2 * cdf(complement(oracle, Real(t)));
            if (truth >= Real(1e-300)) {
                const double e = inEpsilons(dist.TailProbability(t, df, 2), truth);
                errors.tail.push_back(e);
                worstTail.update(e, t, df, 2);
            }
        }
        const Real point = quantile(complement(oracle, Real(0.05)));
        errors.fivePercent.push_back(inEpsilons(dist.CriticalValue(0.05, df, 1), point));
        for (const double p : probabilities(dfIndex++ % 10)) {
            for (const std::int16_t tails : {1, 2}) {
                const Real truth = quantile(complement(oracle, tails == 2 ? Real(p) / 2 : Real(p)));
                double value = 0.0;
                try {
                    value = dist.CriticalValue(p, df, tails);
                } catch (const tarnwick::RunTimeError& error) {
                    const bool beyond = abs(truth) > Real(std::numeric_limits<double>::max());
                    ++(beyond && error.number() == 6 ? errors.overflowsRaised
                                                     : errors.overflowsMissed);
                    continue;
                }
                const double e = inEpsilons(value, truth);
                errors.critical.push_back(e);
                worstCritical.update(e, p, df, tails);
            }
        }
    };
    for (int band = 0; band < bandCount; ++band) {
        for (int i = 0; i < perDecade; ++i) {
            double df = 0.1 * std::pow(10.0, band + static_cast<double>(i) / perDecade);
            if (i % 2 == 1) {
                df *= 1.0 + 0.0173 * (i % 5);  // fractional, off the log grid
            }
            measure(df, bands[band]);
        }
    }
    measure(1e7, bands[bandCount - 1]);  // the last band is closed

    std::printf("Relative error in units of 2^-52 (50-digit Boost.Math as the truth)\n");
    std::printf("%-16s | %9s %7s %7s | %7s | %8s %7s %7s\n", "df band", "tail pts", "max", "median",
                "0.05, 1", "crit pts", "max", "median");
    Errors all;
    for (int band = 0; band < bandCount; ++band) {
        const Errors& e = bands[band];
        all.tail.insert(all.tail.end(), e.tail.begin(), e.tail.end());
        all.fivePercent.insert(all.fivePercent.end(), e.fivePercent.begin(), e.fivePercent.end());
        all.critical.insert(all.critical.end(), e.critical.begin(), e.critical.end());
        all.overflowsRaised += e.overflowsRaised;
        all.overflowsMissed += e.overflowsMissed;
        const double low = 0.1 * std::pow(10.0, band);
        char label[32];
        std::snprintf(label, sizeof label, "[%g, %g%s", low, low * 10.0,
                      band == bandCount - 1 ? "]" : ")");
        std::printf("%-16s | %9zu %7.2f %7.2f | %7.2f | %8zu %7.2f %7.2f\n", label, e.tail.size(),
                    maximum(e.tail), median(e.tail), maximum(e.fivePercent), e.critical.size(),
                    maximum(e.critical), median(e.critical));
    }
    std::printf("%-16s | %9zu %7.2f %7.2f | %7.2f | %8zu %7.2f %7.2f\n", "all", all.tail.size(),
                maximum(all.tail), median(all.tail), maximum(all.fivePercent), all.critical.size(),
                maximum(all.critical), median(all.critical));
    std::printf("Worst TailProbability: t = %.17g, df = %.17g\n", worstTail.first, worstTail.df);
    std::printf("Worst CriticalValue: p = %.17g, df = %.17g, tails = %d\n", worstCritical.first,
                worstCritical.df, worstCritical.tails);
    std::printf(
        "Critical values beyond the double range: %d raised the overflow error, %d other "
        "errors\n",
        all.overflowsRaised, all.overflowsMissed);
    return all.overflowsMissed == 0 ? 0 : 1;
}

// Accuracy of TDistribution against Boost.Math evaluated with 50 significant
// digits at the exact double inputs, in units of machine epsilon (2^-52), per
// decade of df from 0.1 to 1e7: the maximum and the median relative error of
// TailProbability(t, df, 2) over |t| from 0 to 1e6 (counting only points whose
// true value is at least 1e-300) and of CriticalValue(0.05, df, 1).
//
// Usage: t_distribution_accuracy [df values per decade, default 40]

#include <algorithm>
#include <boost/math/distributions/students_t.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "t_distribution.h"

namespace {

using Real = boost::multiprecision::cpp_bin_float_50;
using Oracle = boost::math::students_t_distribution<Real>;

constexpr double epsilon = 0x1p-52;
constexpr int bandCount = 8;  // [0.1, 1), [1, 10), ..., [1e6, 1e7]

struct Errors {
    std::vector<double> tail;
    std::vector<double> critical;
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

}  // namespace

int main(int argc, char** argv) {
    const int perDecade = argc > 1 ? std::max(2, std::atoi(argv[1])) : 40;
    const tarnwick::TDistribution& dist = tarnwick::TDistribution::instance();
    const std::vector<double> ts = tValues();
    std::vector<Errors> bands(bandCount);

    const auto measure = [&](double df, Errors& errors) {
        const Oracle oracle{Real(df)};
        for (const double t : ts) {
            const Real truth = 2 * cdf(complement(oracle, Real(t)));
            if (truth >= Real(1e-300)) {
                errors.tail.push_back(inEpsilons(dist.TailProbability(t, df, 2), truth));
            }
        }
        const Real point = quantile(complement(oracle, Real(0.05)));
        errors.critical.push_back(inEpsilons(dist.CriticalValue(0.05, df, 1), point));
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
    std::printf("%-16s | %9s %8s %8s | %6s %8s %8s\n", "df band", "tail pts", "max", "median",
                "crit", "max", "median");
    Errors all;
    for (int band = 0; band < bandCount; ++band) {
        const Errors& e = bands[band];
        all.tail.insert(all.tail.end(), e.tail.begin(), e.tail.end());
        all.critical.insert(all.critical.end(), e.critical.begin(), e.critical.end());
        const double low = 0.1 * std::pow(10.0, band);
        char label[32];
        std::snprintf(label, sizeof label, "[%g, %g%s", low, low * 10.0,
                      band == bandCount - 1 ? "]" : ")");
        std::printf("%-16s | %9zu %8.2f %8.2f | %6zu %8.2f %8.2f\n", label, e.tail.size(),
                    maximum(e.tail), median(e.tail), e.critical.size(), maximum(e.critical),
                    median(e.critical));
    }
    std::printf("%-16s | %9zu %8.2f %8.2f | %6zu %8.2f %8.2f\n", "all", all.tail.size(),
                maximum(all.tail), median(all.tail), all.critical.size(), maximum(all.critical),
                median(all.critical));
    return 0;
}

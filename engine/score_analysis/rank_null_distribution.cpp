#include "rank_null_distribution.h"

#include <cfloat>
#include <cmath>
#include <utility>

namespace tarnwick::score_analysis {

ExactRankNull::ExactRankNull(std::vector<double> counts) : counts_(std::move(counts)) {
    for (const double c : counts_)
        total_ += c;
}

ExactRankNull ExactRankNull::rankSum(int m, int n) {
    // column[a] holds c(.; a, b) for the current b, built from b = 0 up.
    std::vector<std::vector<double>> column(static_cast<std::size_t>(m) + 1, {1.0});
    for (int b = 1; b <= n; ++b) {
        for (int a = 1; a <= m; ++a) {
            const std::vector<double>& withOneLess = column[a - 1];  // c(.; a - 1, b), new
            std::vector<double> next(static_cast<std::size_t>(a) * b + 1, 0.0);
            const std::vector<double>& previous = column[a];  // c(.; a, b - 1)
            for (std::size_t u = 0; u < previous.size(); ++u)
                next[u] = previous[u];
            for (std::size_t u = 0; u < withOneLess.size(); ++u)
                next[u + b] += withOneLess[u];
            column[a] = std::move(next);
        }
    }
    return ExactRankNull(std::move(column[m]));
}

ExactRankNull ExactRankNull::signedRank(int n) {
    std::vector<double> counts(static_cast<std::size_t>(n) * (n + 1) / 2 + 1, 0.0);
    counts[0] = 1;
    for (int k = 1; k <= n; ++k) {
        const std::size_t top = static_cast<std::size_t>(k) * (k + 1) / 2;
        for (std::size_t v = top; v >= static_cast<std::size_t>(k); --v)
            counts[v] += counts[v - k];
    }
    return ExactRankNull(std::move(counts));
}

double ExactRankNull::atMost(long q) const {
    const long top = largest();
    if (q < 0) return 0;
    if (q >= top) return 1;
    double p = 0;
    if (2 * q <= top) {
        for (long i = 0; i <= q; ++i)
            p += counts_[i] / total_;
        return p;
    }
    // By symmetry P(S <= q) = 1 - P(S <= top - q - 1).
    for (long i = 0; i < top - q; ++i)
        p += counts_[i] / total_;
    return 1 - p;
}

double ExactRankNull::lowerTail(double statistic) const {
    return atMost(static_cast<long>(std::floor(statistic + 1e-7)));
}

double ExactRankNull::upperTail(double statistic) const {
    // P(S >= s) = P(S <= top - s) by symmetry, summed over the shorter side.
    const long top = largest();
    const long s = static_cast<long>(std::floor(statistic + 1e-7));
    if (s <= 0) return 1;
    if (s > top) return 0;
    const long q = top - s;  // P(S >= s) = P(S <= q)
    if (2 * q <= top) return atMost(q);
    double p = 0;  // 1 - P(S <= s - 1), the sum over the shorter side
    for (long i = 0; i < s; ++i)
        p += counts_[i] / total_;
    return 1 - p;
}

long ExactRankNull::quantile(double p) const {
    const double target = p - 10 * DBL_EPSILON;
    double sum = 0;
    for (long q = 0;; ++q) {
        sum += counts_[q] / total_;
        if (sum >= target || q == largest()) return q;
    }
}

}  // namespace tarnwick::score_analysis

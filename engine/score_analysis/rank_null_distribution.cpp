#include "rank_null_distribution.h"

#include <cfloat>
#include <cmath>

namespace tarnwick::score_analysis {

ExactRankNull::ExactRankNull(const std::vector<Count>& counts) : cumulative_(counts.size()) {
    Count sum = 0;
    for (std::size_t q = 0; q < counts.size(); ++q)
        cumulative_[q] = sum += counts[q];
}

ExactRankNull ExactRankNull::rankSum(int m, int n) {
    // column[a] holds c(.; a, b) for the current b, built from b = 0 up.
    std::vector<std::vector<Count>> column(static_cast<std::size_t>(m) + 1, {Count{1}});
    for (int b = 1; b <= n; ++b) {
        for (int a = 1; a <= m; ++a) {
            const std::vector<Count>& withOneLess = column[a - 1];  // c(.; a - 1, b), new
            const std::vector<Count>& previous = column[a];         // c(.; a, b - 1)
            std::vector<Count> next(static_cast<std::size_t>(a) * b + 1, Count{0});
            for (std::size_t u = 0; u < previous.size(); ++u)
                next[u] = previous[u];
            for (std::size_t u = 0; u < withOneLess.size(); ++u)
                next[u + b] += withOneLess[u];
            column[a] = std::move(next);
        }
    }
    return ExactRankNull(column[m]);
}

ExactRankNull ExactRankNull::signedRank(int n) {
    std::vector<Count> counts(static_cast<std::size_t>(n) * (n + 1) / 2 + 1, Count{0});
    counts[0] = 1;
    for (int k = 1; k <= n; ++k) {
        const std::size_t top = static_cast<std::size_t>(k) * (k + 1) / 2;
        for (std::size_t v = top; v >= static_cast<std::size_t>(k); --v)
            counts[v] += counts[v - k];
    }
    return ExactRankNull(counts);
}

double ExactRankNull::atMost(long q) const {
    if (q < 0) return 0;
    if (q >= largest()) return 1;
    return static_cast<double>(cumulative_[static_cast<std::size_t>(q)]) /
           static_cast<double>(cumulative_.back());
}

double ExactRankNull::lowerTail(double statistic) const {
    return atMost(static_cast<long>(std::floor(statistic + 1e-7)));
}

double ExactRankNull::upperTail(double statistic) const {
    // P(S >= s) = P(S <= top - s) by symmetry.
    const long s = static_cast<long>(std::ceil(statistic - 1e-7));
    return atMost(largest() - s);
}

long ExactRankNull::quantile(double p) const {
    const double target = p - 10 * DBL_EPSILON;
    for (long q = 0;; ++q) {
        if (atMost(q) >= target || q == largest()) return q;
    }
}

}  // namespace tarnwick::score_analysis

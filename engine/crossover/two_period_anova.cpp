#include "two_period_anova.h"

#include <boost/math/distributions/fisher_f.hpp>
#include <cmath>

#include "boost_math_policy.h"
#include "t_distribution.h"

namespace tarnwick::crossover {
namespace {

// P(F >= f) for F with df1 and df2 degrees of freedom; with one numerator df
// that is the two-sided tail of Student's t at sqrt(f).
std::optional<double> fTail(double f, double df1, double df2) {
    if (!std::isfinite(f) || f < 0) return std::nullopt;
    if (df1 == 1) return TDistribution::instance().TailProbability(std::sqrt(f), df2, 2);
    using FisherF = boost::math::fisher_f_distribution<double, BoostMathPolicy>;
    const double p = cdf(complement(FisherF(df1, df2), f));
    return std::isfinite(p) ? std::optional<double>(p) : std::nullopt;
}

}  // namespace

std::vector<AnovaRow> twoPeriodAnova(const std::vector<TwoPeriodSubject>& subjects) {
    double n[2] = {0, 0}, sumU[2] = {0, 0}, sumD[2] = {0, 0};
    for (const TwoPeriodSubject& s : subjects) {
        n[s.sequence] += 1;
        sumU[s.sequence] += s.first + s.second;
        sumD[s.sequence] += s.first - s.second;
    }
    const double meanU[2] = {sumU[0] / n[0], sumU[1] / n[1]};
    const double meanD[2] = {sumD[0] / n[0], sumD[1] / n[1]};
    double subjectSs = 0, residualSs = 0;
    for (const TwoPeriodSubject& s : subjects) {
        const double u = s.first + s.second - meanU[s.sequence];
        const double d = s.first - s.second - meanD[s.sequence];
        subjectSs += u * u / 2;
        residualSs += d * d / 2;
    }
    const double h = 1 / n[0] + 1 / n[1];
    const double within = n[0] + n[1] - 2;
    const auto square = [](double x) { return x * x; };
    std::vector<AnovaRow> rows = {
        {"sequence", square(meanU[0] - meanU[1]) / (2 * h), 1, 0, {}, {}},
        {"subject(sequence)", subjectSs, within, 0, {}, {}},
        {"period", square(meanD[0] + meanD[1]) / (2 * h), 1, 0, {}, {}},
        {"formulation", square(meanD[0] - meanD[1]) / (2 * h), 1, 0, {}, {}},
        {"residual", residualSs, within, 0, {}, {}},
    };
    for (AnovaRow& row : rows)
        row.ms = row.ss / row.df;
    const double subjectMs = rows[1].ms, residualMs = rows[4].ms;
    const auto test = [&](AnovaRow& row, double errorMs) {
        if (!(errorMs > 0)) return;
        row.f = row.ms / errorMs;
        row.p = fTail(*row.f, row.df, within);
        if (!row.p) row.f.reset();
    };
    test(rows[0], subjectMs);
    test(rows[1], residualMs);
    test(rows[2], residualMs);
    test(rows[3], residualMs);
    return rows;
}

}  // namespace tarnwick::crossover

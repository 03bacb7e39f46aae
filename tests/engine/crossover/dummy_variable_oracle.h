#pragma once
// An independent oracle for the crossover fit: the full fixed-effects model
// written with a dummy variable for every subject but the first (they
// absorb the sequences), every period but the first and the test
// formulation, beside an intercept, solved by the normal equations in 50
// decimal digits (Gauss-Jordan with partial pivoting). Nothing is centred
// and nothing is shared with the engine's fit.

#include <algorithm>
#include <boost/multiprecision/cpp_dec_float.hpp>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace tarnwick::crossover::testing {

using Exact = boost::multiprecision::cpp_dec_float_50;

struct OracleRow {
    std::string subject;
    int period = 0;
    bool test = false;
    double logResponse = 0;
};

struct OracleFit {
    double estimate = 0, se = 0, df = 0, residualSs = 0;
};

// Which effects enter: subjects (else one intercept only), periods, formulation.
struct Terms {
    bool subjects = true, periods = true, formulation = true;
};

// Solves with the columns `used`; returns false, naming in `aliased` the
// first column whose pivot is zero (a combination of those before it).
inline bool solve(const std::vector<std::vector<Exact>>& xs, const std::vector<Exact>& ys,
                  const std::vector<int>& used, int formulation, OracleFit& fit, int& aliased) {
    const int width = static_cast<int>(used.size());
    // [X'X | X'y | I], reduced to [I | b | (X'X)^-1].
    const int cols = 2 * width + 1;
    std::vector<std::vector<Exact>> m(width, std::vector<Exact>(cols, Exact(0)));
    for (std::size_t r = 0; r < xs.size(); ++r) {
        for (int i = 0; i < width; ++i) {
            if (xs[r][used[i]] == 0) continue;
            for (int j = 0; j < width; ++j)
                m[i][j] += xs[r][used[i]] * xs[r][used[j]];
            m[i][width] += xs[r][used[i]] * ys[r];
        }
    }
    for (int i = 0; i < width; ++i)
        m[i][width + 1 + i] = 1;
    for (int c = 0; c < width; ++c) {
        int pivot = c;
        for (int r = c + 1; r < width; ++r) {
            if (abs(m[r][c]) > abs(m[pivot][c])) pivot = r;
        }
        // Exact zero but for 50-digit rounding.
        if (abs(m[pivot][c]) < Exact("1e-35")) {
            aliased = used[c];
            return false;
        }
        std::swap(m[c], m[pivot]);
        const Exact head = m[c][c];
        for (Exact& value : m[c])
            value /= head;
        for (int r = 0; r < width; ++r) {
            if (r == c || m[r][c] == 0) continue;
            const Exact factor = m[r][c];
            for (int j = 0; j < cols; ++j)
                m[r][j] -= factor * m[c][j];
        }
    }
    Exact rss = 0;
    for (std::size_t r = 0; r < xs.size(); ++r) {
        Exact fitted = 0;
        for (int i = 0; i < width; ++i)
            fitted += xs[r][used[i]] * m[i][width];
        const Exact e = ys[r] - fitted;
        rss += e * e;
    }
    fit.df = static_cast<double>(xs.size()) - width;
    fit.residualSs = static_cast<double>(rss);
    for (int i = 0; i < width; ++i) {
        if (used[i] != formulation) continue;
        fit.estimate = static_cast<double>(m[i][width]);
        fit.se = static_cast<double>(sqrt(rss / Exact(fit.df) * m[i][width + 1 + i]));
    }
    return true;
}

inline OracleFit oracleFit(const std::vector<OracleRow>& rows, Terms terms = {}) {
    std::map<std::string, int> subjectColumn;
    std::map<int, int> periodColumn;
    for (const OracleRow& row : rows) {
        subjectColumn.emplace(row.subject, 0);
        periodColumn.emplace(row.period, 0);
    }
    int width = 1;  // the intercept
    bool first = true;
    for (auto& [name, column] : subjectColumn) {
        column = first || !terms.subjects ? -1 : width++;
        first = false;
    }
    first = true;
    for (auto& [period, column] : periodColumn) {
        column = first || !terms.periods ? -1 : width++;
        first = false;
    }
    const int formulation = terms.formulation ? width++ : -1;
    std::vector<std::vector<Exact>> xs;
    std::vector<Exact> ys;
    for (const OracleRow& row : rows) {
        std::vector<Exact> x(width, Exact(0));
        x[0] = 1;
        if (subjectColumn[row.subject] >= 0) x[subjectColumn[row.subject]] = 1;
        if (periodColumn[row.period] >= 0) x[periodColumn[row.period]] = 1;
        if (formulation >= 0 && row.test) x[formulation] = 1;
        xs.push_back(std::move(x));
        ys.emplace_back(row.logResponse);
    }
    // A period the subjects cannot tell apart (the reference's periods in a
    // full replicate) is left out and the fit taken again.
    std::vector<int> used;
    for (int i = 0; i < width; ++i)
        used.push_back(i);
    OracleFit fit;
    for (int aliased = -1; !solve(xs, ys, used, formulation, fit, aliased);)
        used.erase(std::find(used.begin(), used.end(), aliased));
    return fit;
}

}  // namespace tarnwick::crossover::testing

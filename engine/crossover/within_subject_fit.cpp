#include "within_subject_fit.h"

#include <cmath>

namespace tarnwick::crossover {
namespace {

constexpr double aliasedBelow = 1e-9;

void centre(std::vector<double>& column, std::size_t subjects,
            const std::vector<std::size_t>& subjectOf, const std::vector<double>& counts) {
    std::vector<double> sums(subjects, 0.0);
    for (std::size_t i = 0; i < column.size(); ++i)
        sums[subjectOf[i]] += column[i];
    for (std::size_t s = 0; s < subjects; ++s)
        sums[s] = counts[s] > 0 ? sums[s] / counts[s] : 0;
    for (std::size_t i = 0; i < column.size(); ++i)
        column[i] -= sums[subjectOf[i]];
}

double sumOfSquares(const std::vector<double>& column, std::size_t from) {
    double sum = 0;
    for (std::size_t i = from; i < column.size(); ++i)
        sum += column[i] * column[i];
    return sum;
}

}  // namespace

WithinFit fitWithinSubjects(std::size_t subjects, const std::vector<std::size_t>& subjectOf,
                            std::vector<std::vector<double>> columns,
                            std::vector<double> response) {
    const std::size_t n = response.size();
    std::vector<double> counts(subjects, 0.0);
    for (const std::size_t s : subjectOf)
        ++counts[s];
    for (std::vector<double>& column : columns)
        centre(column, subjects, subjectOf, counts);
    centre(response, subjects, subjectOf, counts);

    WithinFit fit;
    fit.centredSs = sumOfSquares(response, 0);
    std::size_t row = 0;  // the next pivot's row: the rank so far
    double lastR = 0, lastZ = 0;
    for (std::size_t j = 0; j < columns.size(); ++j) {
        std::vector<double>& x = columns[j];
        const double own = std::sqrt(sumOfSquares(x, 0));
        const double norm = row < n ? std::sqrt(sumOfSquares(x, row)) : 0;
        const bool last = j + 1 == columns.size();
        if (!(norm > aliasedBelow * own)) {
            if (last) fit.lastAliased = true;
            continue;
        }
        // The reflection taking x[row..] to (alpha, 0, ..., 0), alpha of the
        // sign opposite to x[row] so that v[row] loses no digits.
        const double alpha = x[row] > 0 ? -norm : norm;
        const double vHead = x[row] - alpha;
        const double vNorm2 = norm * (norm + std::fabs(x[row])) * 2;
        const auto reflect = [&](std::vector<double>& y) {
            double dot = vHead * y[row];
            for (std::size_t i = row + 1; i < n; ++i)
                dot += x[i] * y[i];
            const double scale = 2 * dot / vNorm2;
            y[row] -= scale * vHead;
            for (std::size_t i = row + 1; i < n; ++i)
                y[i] -= scale * x[i];
        };
        for (std::size_t k = j + 1; k < columns.size(); ++k)
            reflect(columns[k]);
        reflect(response);
        if (last) {
            lastR = alpha;
            lastZ = response[row];
        }
        ++row;
    }
    fit.rank = row;
    fit.residualSs = sumOfSquares(response, row);
    if (!fit.lastAliased && lastR != 0) {
        // The last column's is the last step of the back substitution.
        fit.lastCoefficient = lastZ / lastR;
        fit.lastSeFactor = 1 / std::fabs(lastR);
    }
    return fit;
}

}  // namespace tarnwick::crossover

#pragma once
// Least squares with one free level a subject, by absorbing the subjects:
// the response and every column are centred within each subject, and the
// centred columns are fitted by ordinary least squares. By the Frisch-Waugh
// theorem this gives the coefficients and the residual sum of squares of the
// full model with a dummy variable a subject (which absorbs the sequences,
// as each subject is in one), whatever periods each subject lacks.
//
// The centred columns (a handful: the periods' indicators and the
// formulation's) are fitted by Householder QR in double precision, which is
// backward stable: the coefficient's relative error is of the order of the
// rounding unit (1.1e-16) times the condition number of the centred design,
// which for the indicator columns of a crossover is a small number (about 1
// to 10). The subjects' means are taken before the deviations, so the
// responses' common level (one subject's values times 10^6 adds log 10^6 to
// its logs) cancels exactly but for rounding. A column whose part not
// explained by the columns before it has a norm below 1e-9 of its own is
// taken as aliased and left out of the rank.

#include <cstddef>
#include <vector>

namespace tarnwick::crossover {

struct WithinFit {
    std::size_t rank = 0;        // the centred columns' rank
    double residualSs = 0;       // the full model's residual sum of squares
    double centredSs = 0;        // the sum of squares of the centred response
    bool lastAliased = false;    // the last column is a combination of the others
    double lastCoefficient = 0;  // the last column's coefficient
    // The last column's coefficient's standard error over the residual SD:
    // sqrt of its diagonal element of the inverse of X'X.
    double lastSeFactor = 0;
};

// `subjectOf[i]` is observation i's subject, from 0 to subjects - 1; `columns`
// holds the design's columns (each of the observations' length, the one
// whose coefficient is wanted last); `response` the responses.
WithinFit fitWithinSubjects(std::size_t subjects, const std::vector<std::size_t>& subjectOf,
                            std::vector<std::vector<double>> columns, std::vector<double> response);

}  // namespace tarnwick::crossover

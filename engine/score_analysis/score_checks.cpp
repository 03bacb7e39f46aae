#include "score_checks.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "score_error.h"
#include "score_sort.h"
#include "shortest_text.h"

namespace tarnwick::score_analysis {
namespace {

bool allEqual(std::span<const double> scores) {
    return std::all_of(scores.begin(), scores.end(), [&](double x) { return x == scores[0]; });
}

}  // namespace

void checkGroup(std::span<const double> scores, std::string_view group) {
    const std::string name(group);
    if (scores.size() < 2)
        throw ScoreError(ScoreErrorNumber::tooFewScores,
                         "The analysis needs at least 2 scores in " + name + ", which has " +
                             std::to_string(scores.size()) + ".");
    // Counts of pairwise differences and rank sums are kept in 64 bits.
    if (scores.size() > 2'147'483'647)
        throw ScoreError(ScoreErrorNumber::tooLarge,
                         "The analysis takes at most 2,147,483,647 scores in a group.");
    for (std::size_t i = 0; i < scores.size(); ++i) {
        if (!std::isfinite(scores[i]))
            throw ScoreError(
                ScoreErrorNumber::notFinite,
                "Score " + std::to_string(i + 1) + " of " + name + " is not a finite number.");
    }
}

void checkIndependent(std::span<const double> x, std::span<const double> y) {
    checkGroup(x, "group 1");
    checkGroup(y, "group 2");
    if (allEqual(x) && allEqual(y))
        throw ScoreError(ScoreErrorNumber::noSpread,
                         "The scores within each group are all equal, so there is no spread "
                         "to compare the difference with.");
}

std::vector<double> matchedDifferences(std::span<const double> x, std::span<const double> y) {
    if (x.size() != y.size())
        throw ScoreError(ScoreErrorNumber::unequalPairs,
                         "Matched scores come in pairs, but group 1 has " +
                             std::to_string(x.size()) + " scores and group 2 has " +
                             std::to_string(y.size()) + ".");
    if (x.size() < 2)
        throw ScoreError(
            ScoreErrorNumber::tooFewScores,
            "The analysis needs at least 2 pairs, and there are " + std::to_string(x.size()) + ".");
    checkGroup(x, "group 1");
    checkGroup(y, "group 2");
    std::vector<double> differences(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        differences[i] = x[i] - y[i];
        if (!std::isfinite(differences[i]))
            throw ScoreError(ScoreErrorNumber::tooLarge, "The difference of pair " +
                                                             std::to_string(i + 1) +
                                                             " is beyond the range of a double.");
    }
    if (allEqual(differences))
        throw ScoreError(ScoreErrorNumber::noSpread,
                         "Every pair has the same difference, so there is no spread to compare "
                         "the difference with.");
    return differences;
}

double finiteOrTooLarge(double value, std::string_view what) {
    if (!std::isfinite(value))
        throw ScoreError(
            ScoreErrorNumber::tooLarge,
            "The scores are too large: " + std::string(what) + " is beyond the range of a double.");
    return value;
}

double tStatistic(double estimate, double bound, double se, std::string_view side) {
    const double t = (estimate - bound) / se;
    if (std::isfinite(t)) return t;
    throw ScoreError(ScoreErrorNumber::tooLarge,
                     "The " + std::string(side) + " bound " + shortest(bound) +
                         " is too far from the estimate " + shortest(estimate) +
                         ": their distance in standard errors of " + shortest(se) +
                         " is beyond the range of a double.");
}

std::string shortest(double value) { return number_text::shortestText(value); }

std::vector<double> sortedCopy(std::span<const double> scores) {
    std::vector<double> sorted(scores.begin(), scores.end());
    sortScores(sorted);
    return sorted;
}

}  // namespace tarnwick::score_analysis

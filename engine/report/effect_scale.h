#pragma once
// How an effect is measured and named: the one place the report's sentences,
// its test and intervals, and the plot's axis and null line take the effect
// from: the difference of means, and the ratio of means (null value 1, its
// axis a log one, its words its own).

#include <string>
#include <string_view>

namespace tarnwick::report {

struct EffectScale {
    std::string_view name;  // machine-readable: "difference"

    // The test scale: where the t values and intervals are computed, the
    // bounds and the estimate carried there and the interval ends carried
    // back. Exact inverses of each other on the scale's domain.
    double (*toTestScale)(double);
    double (*fromTestScale)(double);
    double nullValue;  // no effect, on the effect's own scale: 0

    // Words. Each is used as its comment shows, so that another scale's words
    // fill the same sentences.
    std::string_view effect;           // "the CI of the difference", "H0: difference >= 3"
    std::string_view effects;          // "differences as large as the bounds"
    std::string_view symbol;           // "is D = 1.00"
    std::string_view estimate;         // independent design: "The difference between the
                                       // means (group 1 minus group 2) is D = 1.00"
    std::string_view comparison;       // the order of the groups: "(group 1 minus group 2)"
    std::string_view matchedEstimate;  // matched design: "The mean of the difference scores
                                       // is", "matched: mean of the difference scores"
    std::string_view nullWord;         // "different from zero", "bounds (dashed) at zero"
    std::string_view nullNumber;       // "if the true difference were 0"
    std::string_view noEffect;         // "the ordinary test of no difference"
    std::string_view units;            // "-3.00 and 3.00 in raw units", "Difference in raw units"
};

// The difference of two means (group 1 minus group 2), or the mean of the
// difference scores: the calculator's own scale.
const EffectScale& differenceOfMeans();

// The ratio of two means (group 1 over group 2). Its test scale is the log
// (the plot's axis, and an analysis of logged scores); the summaries' report
// tests it by Fieller's method instead (ratio_report.h), with no transform.
const EffectScale& ratioOfMeans();

// The word with its first letter in capitals, for the start of a sentence.
std::string capitalised(std::string_view words);

}  // namespace tarnwick::report

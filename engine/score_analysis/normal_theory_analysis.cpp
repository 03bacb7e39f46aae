#include "normal_theory_analysis.h"

#include <cmath>
#include <string>
#include <vector>

#include "ratio_scale.h"
#include "score_checks.h"
#include "score_moments.h"
#include "score_reference.h"
#include "t_tests.h"

namespace tarnwick::score_analysis {

namespace {

ScoreResult independent(std::span<const double> group1, std::span<const double> group2,
                        const ScoreSettings& settings) {
    checkSettings(settings);
    checkIndependent(group1, group2);
    const double reference = commonReference(group1, group2);
    const Moments m1 = meanAndSd(lessReference(group1, reference)),
                  m2 = meanAndSd(lessReference(group2, reference));
    const double n1 = static_cast<double>(group1.size()), n2 = static_cast<double>(group2.size());
    const double estimate = finiteOrTooLarge(m1.mean - m2.mean, "the difference of the means");
    if (settings.standardError == StandardError::pooled) {
        // The pooled SD as the hypotenuse of each group's share, sqrt(df_i / df) s_i,
        // so that no square is formed.
        const double df = n1 + n2 - 2;
        const double sp =
            std::hypot(std::sqrt((n1 - 1) / df) * m1.sd, std::sqrt((n2 - 1) / df) * m2.sd);
        const double se = finiteOrTooLarge(sp * std::sqrt(1 / n1 + 1 / n2), "the standard error");
        ScoreResult result = tTests(estimate, se, df, settings);
        result.notes.text =
            "Student's t tests of the mean difference: the pooled standard error, " + dfText(df) +
            ".";
        return result;
    }
    // s / sqrt(n) for each group: their hypotenuse is the SE, and the
    // squares never need forming.
    const double r1 = m1.sd / std::sqrt(n1), r2 = m2.sd / std::sqrt(n2);
    const double se = finiteOrTooLarge(std::hypot(r1, r2), "the standard error");
    const double df = combinedDf(r1, n1 - 1, r2, n2 - 1);
    ScoreResult result = tTests(estimate, se, df, settings);
    result.notes.text =
        "Welch's t tests of the mean difference: Welch's standard error, " + dfText(df) + ".";
    return result;
}

ScoreResult matched(std::span<const double> group1, std::span<const double> group2,
                    const ScoreSettings& settings) {
    checkSettings(settings);
    const std::vector<double> d = matchedDifferences(group1, group2);
    const Moments m = meanAndSd(d);
    const double n = static_cast<double>(d.size());
    const double se = finiteOrTooLarge(m.sd / std::sqrt(n), "the standard error");
    ScoreResult result = tTests(m.mean, se, n - 1, settings);
    result.notes.text =
        "Paired t tests of the mean difference: SD of the differences over "
        "the square root of the number of pairs, df " +
        std::to_string(d.size() - 1) + ".";
    return result;
}

}  // namespace

ScoreResult normalTheoryIndependent(std::span<const double> group1, std::span<const double> group2,
                                    const ScoreSettings& settings) {
    return onItsScale(group1, group2, settings, independent);
}

ScoreResult normalTheoryMatched(std::span<const double> group1, std::span<const double> group2,
                                const ScoreSettings& settings) {
    return onItsScale(group1, group2, settings, matched);
}

}  // namespace tarnwick::score_analysis

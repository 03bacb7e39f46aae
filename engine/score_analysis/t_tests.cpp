#include "t_tests.h"

#include <cmath>

#include "fixed_text.h"
#include "reference_distributions.h"
#include "score_checks.h"
#include "score_error.h"

namespace tarnwick::score_analysis {

ScoreResult tTests(double estimate, double se, double df, const ScoreSettings& settings) {
    ScoreResult result;
    result.estimate = estimate;
    MethodNotes& notes = result.notes;
    notes.df = df;
    notes.standardError = se;
    notes.interval = notes.lower.reference = notes.upper.reference = Reference::studentT;
    const double tLower = tStatistic(estimate, settings.lower, se, "lower");
    const double tUpper = tStatistic(estimate, settings.upper, se, "upper");
    notes.lower.statistic = tLower;
    notes.upper.statistic = tUpper;
    if (!reversedTests(settings)) {
        result.pLower = tUpperTail(tLower, df);
        result.pUpper = tLowerTail(tUpper, df);
    } else {
        result.pLower = tLowerTail(tLower, df);
        result.pUpper = tUpperTail(tUpper, df);
    }
    const double critical = tUpperPoint(settings.alpha, df);
    const double halfWidth = critical * se;
    if (!std::isfinite(halfWidth))
        throw ScoreError(ScoreErrorNumber::tooLarge,
                         "The interval's half-width, the critical value " + shortest(critical) +
                             " times the standard error " + shortest(se) +
                             ", is beyond the range of a double.");
    result.low = finiteOrTooLarge(estimate - halfWidth, "the interval's lower end");
    result.high = finiteOrTooLarge(estimate + halfWidth, "the interval's upper end");
    conclude(settings, result);
    return result;
}

double combinedDf(double r1, double df1, double r2, double df2) {
    const double se = std::hypot(r1, r2);
    const double a = (r1 / se) * (r1 / se), b = (r2 / se) * (r2 / se);
    return 1 / (a * a / df1 + b * b / df2);
}

// Whole df as an integer, others to 2 decimals, "." in every locale.
std::string dfText(double df) {
    return "df " + number_text::fixedText(df, df == std::floor(df) && df < 1e15 ? 0 : 2);
}

}  // namespace tarnwick::score_analysis

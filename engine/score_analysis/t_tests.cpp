#include "t_tests.h"

#include <cmath>

#include "fixed_text.h"
#include "reference_distributions.h"
#include "score_checks.h"

namespace tarnwick::score_analysis {

ScoreResult tTests(double estimate, double se, double df, const ScoreSettings& settings) {
    ScoreResult result;
    result.estimate = estimate;
    MethodNotes& notes = result.notes;
    notes.df = df;
    notes.standardError = se;
    notes.interval = notes.lower.reference = notes.upper.reference = Reference::studentT;
    const double tLower = finiteOrTooLarge((estimate - settings.lower) / se, "a t statistic");
    const double tUpper = finiteOrTooLarge((estimate - settings.upper) / se, "a t statistic");
    notes.lower.statistic = tLower;
    notes.upper.statistic = tUpper;
    if (settings.hypothesis == Hypothesis::equivalence) {
        result.pLower = tUpperTail(tLower, df);
        result.pUpper = tLowerTail(tUpper, df);
    } else {
        result.pLower = tLowerTail(tLower, df);
        result.pUpper = tUpperTail(tUpper, df);
    }
    const double halfWidth =
        finiteOrTooLarge(tUpperPoint(settings.alpha, df) * se, "the interval's half-width");
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

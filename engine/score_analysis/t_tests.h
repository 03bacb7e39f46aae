#pragma once
// The two one-sided t tests and the 100 (1 - 2 alpha)% interval of an
// estimate with a standard error and df, shared by Yuen's test and the
// normal-theory tests.

#include <string>

#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

// Fills estimate, interval, p values, conclusion and the notes' df,
// standard error and statistics; se must be positive and finite.
ScoreResult tTests(double estimate, double se, double df, const ScoreSettings& settings);

// The df of a sum of two independent variance estimates (Welch and
// Satterthwaite), from their square roots r1 and r2 and their own df:
// (r1^2 + r2^2)^2 / (r1^4 / df1 + r2^4 / df2), in a form that cannot
// overflow: 1 / (a^2 / df1 + b^2 / df2) with a, b the shares r^2 / (r1^2 + r2^2).
double combinedDf(double r1, double df1, double r2, double df2);

// A df for the method's sentence: whole numbers as such, others to 2
// decimals ("df 9", "df 17.78"); the notes keep the full value.
std::string dfText(double df);

}  // namespace tarnwick::score_analysis

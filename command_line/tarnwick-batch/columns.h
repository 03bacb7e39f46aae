#pragma once
// The table's columns: which input columns fill which box of the window, and
// the names of the result columns, in the order they are written.

#include <array>
#include <string_view>

namespace tarnwick::batch {

struct InputColumn {
    std::string_view column;
    std::string_view box;
};

// The input columns that fill a box; an absent column leaves its box empty.
inline constexpr std::array<InputColumn, 9> boxInputColumns = {{
    {"mean1", "TxtMean1"},
    {"sd1", "TxtSD1"},
    {"n1", "TxtN1"},
    {"mean2", "TxtMean2"},
    {"sd2", "TxtSD2"},
    {"n2", "TxtN2"},
    {"bound", "TxtNotTrivial"},
    {"mean_diff", "TxtMeanDiff"},
    {"sd_diff", "TxtSDMatched"},
}};

// The input columns that choose an option of the window.
inline constexpr std::string_view designColumn = "design";  // independent or matched
inline constexpr std::string_view dfColumn = "df";          // student or welch

// The input columns that set the report's test; absent or empty, each is
// the calculator's. They never change a box.
inline constexpr std::array<std::string_view, 9> settingsColumns = {
    "alpha",           // each one-sided test's level, 0 < alpha < 0.5 (.025 one-sided)
    "lower",           // with upper: the bounds, instead of -bound and +bound
    "upper",           //   (ratio scale: ratios, one alone taken with its reciprocal)
    "bound_units",     // raw or d (multiples of the SD that standardises d)
    "standard_error",  // pooled or welch (Welch's own test, independent samples)
    "hypothesis",      // equivalence, minimal_effect, non_inferiority, non_superiority, superiority
    "scale",           // difference or ratio (the ratio of the means, Fieller's test)
    "margin",          // a one-sided question's margin, instead of lower and upper
    "better",          // higher or lower: the direction in which effects are better
};
namespace setting {
constexpr std::size_t alpha = 0, lower = 1, upper = 2, boundUnits = 3, standardError = 4,
                      hypothesis = 5, scale = 6, margin = 7, better = 8;
// The settings columns that hold numbers, read as the number columns are.
constexpr std::array<std::size_t, 4> numbers = {alpha, lower, upper, margin};
}  // namespace setting

struct BoxColumn {
    std::string_view column;
    std::string_view box;
};

// The 26 result boxes as columns, in the window's reading order (which is
// not quite the order the run command empties them in).
inline constexpr std::array<BoxColumn, 26> boxColumns = {{
    {"welch_t", "TxtWelchT"},
    {"welch_df", "TxtWelchDF"},
    {"welch_p2", "TxtWelch2PT"},
    {"welch_p1", "TxtWelch1PT"},
    {"student_t", "TxtT"},
    {"student_df", "TxtDF"},
    {"student_p2", "txt2PT"},
    {"student_p1", "txt1PT"},
    {"s_delta", "TxtSdelta"},
    {"t_upper", "TxtTUpper"},
    {"t_lower", "TxtTLower"},
    {"crit_05", "TxtCrit05"},
    {"crit_95", "TxtCrit95"},
    {"df_used", "TxtDFUsed"},
    {"verdict", "TxtInterpretation"},
    {"matched_t", "TxtMatchedT"},
    {"matched_df", "TxtMatchedDF"},
    {"matched_p2", "TxtMatched2P"},
    {"matched_p1", "TxtMatched1P"},
    {"matched_s_delta", "TxtMatchedSDelta"},
    {"matched_t_upper", "TxtMatchedTUpper"},
    {"matched_t_lower", "TxtMatchedTLower"},
    {"matched_crit_05", "TxtMatchedCritT05"},
    {"matched_crit_95", "TxtMatchedCritT95"},
    {"matched_df_used", "TxtMatchedDFUsed"},
    {"matched_verdict", "TxtMatchedInterpretation"},
}};

inline constexpr std::string_view messageColumn = "message";

// The report's columns for one design, written once with "ind_" and once with
// "matched_" in front. Intervals are named for their role, whatever alpha:
// ci_tost is the 100(1 - 2 alpha)% interval, ci_test the 100(1 - alpha)% one.
// The conclusion stays last: it is the one text column among numbers.
inline constexpr std::array<std::string_view, 19> reportColumns = {"p_upper",
                                                                   "p_lower",
                                                                   "p_tost",
                                                                   "p_met",
                                                                   "ci_tost_low",
                                                                   "ci_tost_high",
                                                                   "ci_test_low",
                                                                   "ci_test_high",
                                                                   "d",
                                                                   "d_ci_tost_low",
                                                                   "d_ci_tost_high",
                                                                   "g",
                                                                   "lower",
                                                                   "upper",
                                                                   "bound_d_low",
                                                                   "bound_d_high",
                                                                   "sensitivity_bound_80",
                                                                   "sensitivity_bound_90",
                                                                   "conclusion"};
inline constexpr std::array<std::string_view, 2> reportPrefixes = {"ind_", "matched_"};

inline constexpr std::size_t resultColumnCount =
    1 + boxColumns.size() + reportPrefixes.size() * reportColumns.size();

// The one-sided test's p value for each design, written after all the other
// result columns, and only when the table has a margin or better column:
// tables that ask no one-sided question keep their columns as they were.
inline constexpr std::array<std::string_view, 2> oneSidedColumns = {"ind_p_one_sided",
                                                                    "matched_p_one_sided"};

}  // namespace tarnwick::batch

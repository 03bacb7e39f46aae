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
// "matched_" in front.
// The conclusion stays last: it is the one text column among numbers.
inline constexpr std::array<std::string_view, 16> reportColumns = {"p_upper",
                                                                   "p_lower",
                                                                   "p_tost",
                                                                   "ci90_low",
                                                                   "ci90_high",
                                                                   "ci95_low",
                                                                   "ci95_high",
                                                                   "d",
                                                                   "d_ci90_low",
                                                                   "d_ci90_high",
                                                                   "g",
                                                                   "bound_d_low",
                                                                   "bound_d_high",
                                                                   "sensitivity_bound_80",
                                                                   "sensitivity_bound_90",
                                                                   "conclusion"};
inline constexpr std::array<std::string_view, 2> reportPrefixes = {"ind_", "matched_"};

inline constexpr std::size_t resultColumnCount =
    1 + boxColumns.size() + reportPrefixes.size() * reportColumns.size();

}  // namespace tarnwick::batch

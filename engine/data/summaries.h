#pragma once
// From a table of scores to what the calculator's boxes take: N, mean and SD
// of each group and, for matched samples, the mean and SD of the differences.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "score_table.h"

namespace tarnwick::data {

enum class Layout {
    sideBySide,  // group 1 in one column, group 2 in another; lengths may differ
    longFormat,  // a column of group values and a column of scores
    matched,     // two columns paired by row
};

struct Selection {
    Layout layout = Layout::sideBySide;
    // sideBySide and matched: the columns of group 1 and group 2.
    // longFormat: first the group column, then the score column.
    std::size_t first = 0, second = 1;
    // longFormat: the group values (as shown by groupValues) of groups 1 and 2.
    std::string group1, group2;
};

struct GroupSummary {
    long n = 0;
    double mean = 0;
    double sd = 0;     // n - 1 denominator
    long missing = 0;  // missing cells skipped (matched: in this column)
};

struct Summaries {
    GroupSummary group1, group2;
    // Matched only: group 1 minus group 2, row by row, over complete pairs;
    // the groups then summarise those same pairs.
    std::optional<GroupSummary> differences;
    long pairsDropped = 0;  // matched: rows with a score missing on either side
    // The scores summarised, in the table's order (matched: the complete
    // pairs, position by position), for the analyses of the scores themselves.
    std::vector<double> scores1, scores2;
};

// Throws DataError: a cell in a used column that is neither a number nor
// missing (its row and column named), fewer than 2 scores in a group (or
// pairs), a column or group value that is not in the table.
Summaries summarise(const ScoreTable& table, const Selection& selection);

// The distinct values of a column, in order of first appearance, spaces
// trimmed, missing values left out: the choices for group 1 and group 2.
std::vector<std::string> groupValues(const ScoreTable& table, std::size_t column);

// True when no cell of the column reads as a number (missing cells aside):
// a column of group names, or of anything but scores.
bool holdsNoNumbers(const ScoreTable& table, std::size_t column);

}  // namespace tarnwick::data

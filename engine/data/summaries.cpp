#include "summaries.h"

#include <algorithm>
#include <cmath>

#include "data_error.h"
#include "moments.h"
#include "quoted_field.h"
#include "score_cell.h"

namespace tarnwick::data {
namespace {

std::string quotedName(const ScoreTable& table, std::size_t column) {
    return "column " + std::to_string(column + 1) + " (" +
           table_io::quotedField(table.columnNames[column]) + ")";
}

// The score in a cell, or nothing when it is missing; anything else throws.
std::optional<double> scoreAt(const ScoreTable& table, const TableRow& row, std::size_t column) {
    const std::string& text = row.cells[column];
    const ScoreCell cell = readScoreCell(text, table.decimalMark);
    const long columnNumber = static_cast<long>(column) + 1;
    switch (cell.kind) {
        case CellKind::number:
            return cell.value;
        case CellKind::missing:
            return std::nullopt;
        case CellKind::tooLarge:
            throw DataError(DataErrorNumber::numberTooLarge,
                            "Row " + std::to_string(row.row) + ", " + quotedName(table, column) +
                                ": " + table_io::quotedField(text) + " is too large for a double.",
                            row.row, columnNumber);
        case CellKind::notANumber:
            break;
    }
    const std::string mark = table.decimalMark == ',' ? "a decimal comma" : "a decimal point";
    throw DataError(DataErrorNumber::notANumber,
                    "Row " + std::to_string(row.row) + ", " + quotedName(table, column) + ": " +
                        table_io::quotedField(text) + " is not a number (this table uses " + mark +
                        "; missing scores are left empty or written NA).",
                    row.row, columnNumber);
}

void requireColumn(const ScoreTable& table, std::size_t column) {
    if (column >= table.columnNames.size())
        throw DataError(DataErrorNumber::tooFewColumns,
                        "The table has " + std::to_string(table.columnNames.size()) +
                            (table.columnNames.size() == 1 ? " column" : " columns") +
                            "; two are needed. Separate them with tabs, commas or semicolons.");
}

GroupSummary summary(const std::vector<double>& scores, long missing, const std::string& group) {
    if (scores.size() < 2)
        throw DataError(DataErrorNumber::tooFewScores,
                        group + " has " + std::to_string(scores.size()) +
                            (scores.size() == 1 ? " score" : " scores") +
                            "; at least 2 are needed for an SD.");
    const moments::Moments moments = moments::meanAndSd(scores);
    switch (moments.problem) {
        case moments::Problem::none:
            break;
        case moments::Problem::scoreNotFinite:
            throw DataError(DataErrorNumber::numberTooLarge,
                            "The scores are too large to summarise in double precision.");
        case moments::Problem::sdBeyondDouble:
            throw DataError(DataErrorNumber::numberTooLarge,
                            "The SD of these scores is beyond the largest number a double holds.");
    }
    return {static_cast<long>(scores.size()), moments.mean, moments.sd, missing};
}

// Past its last filled cell a shorter column has simply ended: those empty
// cells are not missing scores.
std::size_t usedLength(const ScoreTable& table, std::size_t column) {
    std::size_t length = table.rows.size();
    while (length > 0 && trimmed(table.rows[length - 1].cells[column]).empty())
        --length;
    return length;
}

struct Column {
    std::vector<double> scores;
    long missing = 0;
};

Column readColumn(const ScoreTable& table, std::size_t column) {
    Column read;
    const std::size_t length = usedLength(table, column);
    for (std::size_t i = 0; i < length; ++i) {
        if (const auto score = scoreAt(table, table.rows[i], column))
            read.scores.push_back(*score);
        else
            ++read.missing;
    }
    return read;
}

Summaries sideBySide(const ScoreTable& table, const Selection& selection) {
    const Column first = readColumn(table, selection.first);
    const Column second = readColumn(table, selection.second);
    return {summary(first.scores, first.missing,
                    "Group 1 (" + quotedName(table, selection.first) + ")"),
            summary(second.scores, second.missing,
                    "Group 2 (" + quotedName(table, selection.second) + ")"),
            std::nullopt,
            0,
            first.scores,
            second.scores};
}

Summaries matched(const ScoreTable& table, const Selection& selection) {
    const std::size_t length =
        std::max(usedLength(table, selection.first), usedLength(table, selection.second));
    std::vector<double> first, second, differences;
    long missingFirst = 0, missingSecond = 0, dropped = 0;
    for (std::size_t i = 0; i < length; ++i) {
        // Both cells are read, so that a bad cell is reported even when its
        // partner is missing.
        const auto a = scoreAt(table, table.rows[i], selection.first);
        const auto b = scoreAt(table, table.rows[i], selection.second);
        missingFirst += a ? 0 : 1;
        missingSecond += b ? 0 : 1;
        if (!a || !b) {
            ++dropped;
            continue;
        }
        const double difference = *a - *b;
        if (!std::isfinite(difference))
            throw DataError(DataErrorNumber::numberTooLarge,
                            "Row " + std::to_string(table.rows[i].row) +
                                ": the difference of the two scores is beyond the largest "
                                "number a double holds.",
                            table.rows[i].row, 0);
        first.push_back(*a);
        second.push_back(*b);
        differences.push_back(difference);
    }
    if (differences.size() < 2)
        throw DataError(DataErrorNumber::tooFewScores,
                        "There " + std::string(differences.size() == 1 ? "is " : "are ") +
                            std::to_string(differences.size()) +
                            (differences.size() == 1 ? " complete pair" : " complete pairs") +
                            "; at least 2 are needed for matched samples.");
    Summaries result{summary(first, missingFirst, "Group 1"),
                     summary(second, missingSecond, "Group 2"),
                     summary(differences, 0, "The differences"),
                     dropped,
                     std::move(first),
                     std::move(second)};
    return result;
}

Summaries longFormat(const ScoreTable& table, const Selection& selection) {
    const std::vector<std::string> values = groupValues(table, selection.first);
    for (const std::string* group : {&selection.group1, &selection.group2}) {
        if (std::find(values.begin(), values.end(), *group) == values.end())
            throw DataError(DataErrorNumber::noSuchGroup,
                            "The group " + table_io::quotedField(*group) + " is not in " +
                                quotedName(table, selection.first) + ".");
    }
    if (selection.group1 == selection.group2)
        throw DataError(DataErrorNumber::noSuchGroup, "Group 1 and group 2 are both " +
                                                          table_io::quotedField(selection.group1) +
                                                          "; choose two different groups.");
    Column groups[2];
    for (const TableRow& row : table.rows) {
        const std::string_view value = trimmed(row.cells[selection.first]);
        const int group = value == selection.group1 ? 0 : value == selection.group2 ? 1 : -1;
        if (group < 0) continue;  // another group's score, or none
        if (const auto score = scoreAt(table, row, selection.second))
            groups[group].scores.push_back(*score);
        else
            ++groups[group].missing;
    }
    return {summary(groups[0].scores, groups[0].missing,
                    "Group 1 (" + table_io::quotedField(selection.group1) + ")"),
            summary(groups[1].scores, groups[1].missing,
                    "Group 2 (" + table_io::quotedField(selection.group2) + ")"),
            std::nullopt,
            0,
            groups[0].scores,
            groups[1].scores};
}

}  // namespace

Summaries summarise(const ScoreTable& table, const Selection& selection) {
    requireColumn(table, std::max(selection.first, selection.second));
    if (selection.first == selection.second)
        throw DataError(DataErrorNumber::tooFewColumns, "Both choices are " +
                                                            quotedName(table, selection.first) +
                                                            "; choose two different columns.");
    switch (selection.layout) {
        case Layout::sideBySide:
            return sideBySide(table, selection);
        case Layout::matched:
            return matched(table, selection);
        case Layout::longFormat:
            return longFormat(table, selection);
    }
    return {};
}

std::vector<std::string> groupValues(const ScoreTable& table, std::size_t column) {
    std::vector<std::string> values;
    if (column >= table.columnNames.size()) return values;
    for (const TableRow& row : table.rows) {
        const std::string_view value = trimmed(row.cells[column]);
        if (readScoreCell(value).kind == CellKind::missing) continue;
        if (std::find(values.begin(), values.end(), value) == values.end())
            values.emplace_back(value);
    }
    return values;
}

bool holdsNoNumbers(const ScoreTable& table, std::size_t column) {
    if (column >= table.columnNames.size()) return false;
    return std::none_of(table.rows.begin(), table.rows.end(), [&](const TableRow& row) {
        return readScoreCell(row.cells[column], table.decimalMark).kind == CellKind::number;
    });
}

}  // namespace tarnwick::data

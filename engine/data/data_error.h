#pragma once
// What can go wrong between raw scores and their summaries: a number for
// programs, one sentence for people, and where in the table, when a cell is
// to blame.

#include <string>
#include <utility>

#include "numbered_error.h"

namespace tarnwick::data {

enum class DataErrorNumber {
    unreadable = 1,      // the file cannot be opened or read
    notUtf8Text = 2,     // UTF-16, binary, or text in another encoding
    malformedTable = 3,  // quotes that do not close, and the like
    noScores = 4,        // nothing but blank lines, or only a header
    tooFewColumns = 5,   // the layout needs two columns
    notANumber = 6,      // a score cell that is neither a number nor missing
    tooFewScores = 7,    // fewer than 2 scores in a group, or pairs
    noSuchGroup = 8,     // long format: a group value that is not in the column
    numberTooLarge = 9,  // a score or a sum beyond the range of a double
    correlationOutOfRange = 10,
    invalidSd = 11,  // an SD that is not a positive number
    differencesHaveNoSpread = 12,
};

class DataError : public NumberedError<DataErrorNumber> {
public:
    // row and column count from 1; 0 when the error is not about one cell.
    DataError(DataErrorNumber number, std::string description, long row = 0, long column = 0)
        : NumberedError(number, std::move(description)), row_(row), column_(column) {}
    long row() const { return row_; }
    long column() const { return column_; }

private:
    long row_, column_;
};

}  // namespace tarnwick::data

#pragma once
// One record of the planner's table as it is planned: the number columns
// through the table's number rule (a decimal comma read or noted once), the
// words (solve, design, hypothesis, bound_units) as they stand. The program
// and its fuzzer read rows by this one rule.

#include <string>

#include "csv_reader.h"
#include "number_columns.h"
#include "plan_table.h"

namespace tarnwick::planner {

// Whether the column holds a number rather than a word.
bool isNumberColumn(InputColumn column);

class PlanRowReader {
public:
    PlanRowReader(const PlanTable& table, command_line::NumberColumns& numbers)
        : table_(table), numbers_(numbers) {}

    // Throws InputError unless the record is as wide as the header, or when a
    // number column breaks the table's number rule.
    RowTexts read(const CsvRecord& record, const std::string& fileName);

private:
    const PlanTable& table_;
    command_line::NumberColumns& numbers_;
    std::string decimalPoints_;
};

}  // namespace tarnwick::planner

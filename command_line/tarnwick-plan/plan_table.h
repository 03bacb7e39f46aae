#pragma once
// Where the columns the planner reads stand in the input table.

#include <optional>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "row_request.h"

namespace tarnwick::planner {

using table_io::CsvRecord;
using table_io::InputError;

class PlanTable {
public:
    // Throws InputError when the header names a column twice, names one of
    // the answer's columns (p among them with margin or better), or lacks solve, or lacks sd
    // without naming a column of the ratio scale (no row could be answered).
    PlanTable(const CsvRecord& header, const std::string& fileName);

    // The texts of the columns the planner reads; absent columns are empty.
    // Throws InputError unless the record is as wide as the header.
    RowTexts rowTexts(const CsvRecord& record, const std::string& fileName) const;

    const std::vector<std::string>& inputColumns() const { return inputColumns_; }
    // Whether the header names a column of the ratio scale (plan_columns.h):
    // the answers then have the ratio scale's columns too.
    bool ratioColumns() const { return ratioColumns_; }
    // Whether the header names margin or better: the answers then have the
    // one-sided test's p too.
    bool oneSidedColumns() const { return oneSidedColumns_; }
    // Columns that look meant for the planner but are spelt otherwise
    // ("SD", " alpha"); they are copied like any other column.
    const std::vector<std::string>& nearMisses() const { return nearMisses_; }

private:
    std::vector<std::string> inputColumns_;
    std::array<std::optional<std::size_t>, inputColumnCount> positions_;
    std::vector<std::string> nearMisses_;
    bool ratioColumns_ = false;
    bool oneSidedColumns_ = false;
};

}  // namespace tarnwick::planner

#include "plan_table.h"

#include <algorithm>
#include <set>

#include "column_name.h"
#include "quoted_field.h"

namespace tarnwick::planner {
namespace {

template <std::size_t N>
std::optional<std::size_t> indexIn(const std::array<std::string_view, N>& names,
                                   std::string_view name) {
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end()) return std::nullopt;
    return static_cast<std::size_t>(found - names.begin());
}

}  // namespace

PlanTable::PlanTable(const CsvRecord& header, const std::string& fileName)
    : inputColumns_(header.fields) {
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < inputColumns_.size(); ++i) {
        const std::string& name = inputColumns_[i];
        const auto fail = [&](const std::string& what) {
            throw InputError(
                fileName, header.line,
                "column " + std::to_string(i + 1) + " " + table_io::quotedField(name) + " " + what);
        };
        if (!seen.insert(name).second) fail("is named twice in the header");
        if (isAnswerColumn(name)) fail("has the name of an answer column; rename it");
        if (const auto read = indexIn(inputColumnNames, name)) {
            positions_[*read] = i;
        } else if (indexIn(inputColumnNames, table_io::foldedColumnName(name))) {
            nearMisses_.push_back(name);
        }
    }
    for (InputColumn column : ratioInputColumns)
        ratioColumns_ = ratioColumns_ || positions_[static_cast<std::size_t>(column)].has_value();
    for (InputColumn column : oneSidedInputColumns)
        oneSidedColumns_ =
            oneSidedColumns_ || positions_[static_cast<std::size_t>(column)].has_value();
    // p is an answer column only where the answers have it.
    for (std::size_t i = 0; oneSidedColumns_ && i < inputColumns_.size(); ++i) {
        if (inputColumns_[i] == oneSidedAnswerColumnName) {
            throw InputError(fileName, header.line,
                             "column " + std::to_string(i + 1) +
                                 " \"p\" has the name of an answer column; rename it");
        }
    }
    for (InputColumn column : requiredColumns) {
        // A table of the ratio scale's questions gives a CV, or an interval, instead.
        if (column == InputColumn::sd && ratioColumns_) continue;
        if (!positions_[static_cast<std::size_t>(column)]) {
            throw InputError(fileName, header.line,
                             "the header has no column \"" + std::string(nameOf(column)) +
                                 "\"; the first row must name the columns (solve, sd, ...)");
        }
    }
}

RowTexts PlanTable::rowTexts(const CsvRecord& record, const std::string& fileName) const {
    if (record.fields.size() != inputColumns_.size()) {
        throw InputError(fileName, record.line,
                         "the row has " + table_io::countOf(record.fields.size(), "field") +
                             ", the header " + std::to_string(inputColumns_.size()));
    }
    RowTexts texts;
    for (std::size_t i = 0; i < inputColumnCount; ++i) {
        if (positions_[i]) texts[i] = record.fields[*positions_[i]];
    }
    return texts;
}

}  // namespace tarnwick::planner

#pragma once
// Where the columns that the analysis reads stand in the input table, and the
// names of the output table's columns.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "columns.h"
#include "csv_reader.h"

namespace tarnwick::batch {

using table_io::CsvRecord;
using table_io::InputError;

class TableLayout {
public:
    // Throws InputError when the header names a column twice, names one of
    // the result columns (the output would then have two columns of that
    // name), or names none of the columns the analysis reads.
    TableLayout(const CsvRecord& header, const std::string& fileName);

    std::size_t inputWidth() const { return inputColumns_.size(); }
    // Position of each of boxInputColumns in a record, absent when not in the header.
    const std::vector<std::optional<std::size_t>>& boxPositions() const { return boxPositions_; }
    std::optional<std::size_t> designPosition() const { return designPosition_; }
    std::optional<std::size_t> dfPosition() const { return dfPosition_; }
    // Position of each of settingsColumns, absent when not in the header.
    const std::vector<std::optional<std::size_t>>& settingsPositions() const {
        return settingsPositions_;
    }

    // The table has a margin or a better column, so the output has the
    // one-sided columns (oneSidedColumns).
    bool oneSidedColumnsWritten() const;

    // The input's columns, then the result columns.
    std::vector<std::string> outputColumns() const;
    // Columns that look meant for the analysis but are not spelt as it reads
    // them ("Mean1", " sd1"); they are copied like any other column.
    const std::vector<std::string>& nearMisses() const { return nearMisses_; }

    // Throws InputError unless the record has exactly as many fields as the header.
    void checkWidth(const CsvRecord& record, const std::string& fileName) const;

private:
    std::vector<std::string> inputColumns_;
    std::vector<std::optional<std::size_t>> boxPositions_;
    std::optional<std::size_t> designPosition_, dfPosition_;
    std::vector<std::optional<std::size_t>> settingsPositions_;
    std::vector<std::string> nearMisses_;
};

// Whether the analysis reads a column of this name.
bool isReadColumn(std::string_view name);

// The result columns in the order they are written, with or without the
// one-sided ones.
std::vector<std::string> resultColumnNames(bool oneSided = false);

}  // namespace tarnwick::batch

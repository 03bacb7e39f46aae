#pragma once
// One record of the table as the analysis reads it: the box columns and the
// settings columns through the table's number rule (a decimal comma read or
// noted once), the design and df words as they stand. The program and its
// fuzzer read rows by this one rule.

#include <array>
#include <string>

#include "csv_reader.h"
#include "number_columns.h"
#include "row_analysis.h"
#include "table_layout.h"

namespace tarnwick::batch {

class RowReader {
public:
    RowReader(const TableLayout& layout, command_line::NumberColumns& numbers)
        : layout_(layout), numbers_(numbers) {}

    // Throws InputError when the record's width is not the header's. The
    // texts point into `record` and into this reader, and stay valid until
    // the next call.
    RowTexts read(const table_io::CsvRecord& record, const std::string& file);

private:
    const TableLayout& layout_;
    command_line::NumberColumns& numbers_;
    std::array<std::string, boxInputColumns.size()> boxBuffers_;
    std::array<std::string, settingsColumns.size()> settingsBuffers_;
};

}  // namespace tarnwick::batch

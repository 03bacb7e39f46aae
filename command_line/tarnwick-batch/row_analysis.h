#pragma once
// One row of the table is one press of the run button in a fresh window: its
// texts go into the boxes as they stand, the design and df options are set as
// the row asks, and the results are the 26 result boxes, the message the
// window would have shown, and the report, asked with the row's settings. A
// setting that cannot be used leaves the boxes as the window fills them and
// puts its sentence in the message instead of the report.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "box_table.h"
#include "columns.h"
#include "digits.h"
#include "output_writer.h"

namespace tarnwick::batch {

using table_io::Field;
using table_io::FieldKind;

using tarnwick::Digits;

// The row's texts for the columns the analysis reads; empty for an absent column.
struct RowTexts {
    std::array<std::string_view, boxInputColumns.size()> boxes{};
    std::string_view design, df;
    std::array<std::string_view, settingsColumns.size()> settings{};
};

// The messages of rows the window would never run.
namespace messages {
inline constexpr std::string_view unequalSizes =
    "You cannot have matched samples if your 2 samples have unequal sizes";
}

class RowAnalysis {
public:
    // oneSidedColumns: the results end with oneSidedColumns.
    explicit RowAnalysis(Digits digits, bool withOneSided = false);

    void analyse(const RowTexts& row);

    // True when the row ended with its results and no message.
    bool endedWithResults() const { return endedWithResults_; }
    // The result columns (message, boxes, report) of the last row; they stay
    // valid until the next call of analyse.
    const std::vector<Field>& results() const { return fields_; }

private:
    void refuse(std::string message);

    Digits digits_;
    bool endedWithResults_ = false;
    std::vector<std::string> texts_;
    std::vector<Field> fields_;
    // The fresh window of every row: reset, not rebuilt, so that the texts
    // keep their storage from row to row.
    BoxTable boxes_;
};

}  // namespace tarnwick::batch

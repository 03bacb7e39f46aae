#include "row_reader.h"

#include <algorithm>

namespace tarnwick::batch {

RowTexts RowReader::read(const table_io::CsvRecord& record, const std::string& file) {
    layout_.checkWidth(record, file);
    RowTexts row;
    for (std::size_t i = 0; i < row.boxes.size(); ++i) {
        const auto at = layout_.boxPositions()[i];
        if (!at) continue;
        row.boxes[i] = numbers_.read(record.fields[*at], boxBuffers_[i], file, record.line);
    }
    if (const auto at = layout_.designPosition()) row.design = record.fields[*at];
    if (const auto at = layout_.dfPosition()) row.df = record.fields[*at];
    for (std::size_t i = 0; i < row.settings.size(); ++i) {
        const auto at = layout_.settingsPositions()[i];
        if (!at) continue;
        const bool number = std::find(setting::numbers.begin(), setting::numbers.end(), i) !=
                            setting::numbers.end();
        row.settings[i] =
            number ? numbers_.read(record.fields[*at], settingsBuffers_[i], file, record.line)
                   : std::string_view(record.fields[*at]);
    }
    return row;
}

}  // namespace tarnwick::batch

#include "plan_row_reader.h"

namespace tarnwick::planner {

bool isNumberColumn(InputColumn column) {
    switch (column) {
        case InputColumn::solve:
        case InputColumn::design:
        case InputColumn::hypothesis:
        case InputColumn::bound_units:
        case InputColumn::scale:
        case InputColumn::sizes:  // "13,12": whole numbers and commas, never a decimal comma
            return false;
        default:
            return true;
    }
}

RowTexts PlanRowReader::read(const CsvRecord& record, const std::string& fileName) {
    RowTexts texts = table_.rowTexts(record, fileName);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (isNumberColumn(static_cast<InputColumn>(i)))
            texts[i] = numbers_.read(texts[i], decimalPoints_, fileName, record.line);
    }
    return texts;
}

}  // namespace tarnwick::planner

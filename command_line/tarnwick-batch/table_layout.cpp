#include "table_layout.h"

#include <algorithm>
#include <set>

#include "column_name.h"
#include "quoted_field.h"

namespace tarnwick::batch {
namespace {

std::vector<std::string_view> readColumnNames() {
    std::vector<std::string_view> names;
    for (const auto& column : boxInputColumns)
        names.push_back(column.column);
    names.push_back(designColumn);
    names.push_back(dfColumn);
    names.insert(names.end(), settingsColumns.begin(), settingsColumns.end());
    return names;
}

}  // namespace

bool isReadColumn(std::string_view name) {
    const std::vector<std::string_view> names = readColumnNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::string> resultColumnNames(bool oneSided) {
    std::vector<std::string> names{std::string(messageColumn)};
    for (const auto& column : boxColumns)
        names.emplace_back(column.column);
    for (std::string_view prefix : reportPrefixes) {
        for (std::string_view column : reportColumns)
            names.push_back(std::string(prefix) + std::string(column));
    }
    if (oneSided) names.insert(names.end(), oneSidedColumns.begin(), oneSidedColumns.end());
    return names;
}

TableLayout::TableLayout(const CsvRecord& header, const std::string& fileName)
    : inputColumns_(header.fields),
      boxPositions_(boxInputColumns.size()),
      settingsPositions_(settingsColumns.size()) {
    const std::vector<std::string> results = resultColumnNames(true);
    const std::vector<std::string_view> readNames = readColumnNames();
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < inputColumns_.size(); ++i) {
        const std::string& name = inputColumns_[i];
        const auto fail = [&](const std::string& what) {
            throw InputError(
                fileName, header.line,
                "column " + std::to_string(i + 1) + " " + table_io::quotedField(name) + " " + what);
        };
        if (!seen.insert(name).second) fail("is named twice in the header");
        if (std::find(results.begin(), results.end(), name) != results.end())
            fail("has the name of a result column; rename it");

        const auto box = std::find_if(boxInputColumns.begin(), boxInputColumns.end(),
                                      [&](const InputColumn& c) { return c.column == name; });
        if (box != boxInputColumns.end()) {
            boxPositions_[static_cast<std::size_t>(box - boxInputColumns.begin())] = i;
        } else if (name == designColumn) {
            designPosition_ = i;
        } else if (name == dfColumn) {
            dfPosition_ = i;
        } else if (const auto at = std::find(settingsColumns.begin(), settingsColumns.end(), name);
                   at != settingsColumns.end()) {
            settingsPositions_[static_cast<std::size_t>(at - settingsColumns.begin())] = i;
        } else if (std::find(readNames.begin(), readNames.end(),
                             table_io::foldedColumnName(name)) != readNames.end()) {
            nearMisses_.push_back(name);
        }
    }
    const auto any = [](const std::vector<std::optional<std::size_t>>& positions) {
        return std::any_of(positions.begin(), positions.end(),
                           [](const auto& at) { return at.has_value(); });
    };
    const bool readsAColumn =
        designPosition_ || dfPosition_ || any(boxPositions_) || any(settingsPositions_);
    if (!readsAColumn) {
        std::string expected;
        for (std::string_view name : readNames)
            expected += (expected.empty() ? "" : ", ") + std::string(name);
        throw InputError(fileName, header.line,
                         "the header names none of the columns the analysis reads (" + expected +
                             "); names are lower case, separated by commas, semicolons or tabs");
    }
}

bool TableLayout::oneSidedColumnsWritten() const {
    return settingsPositions_[setting::margin] || settingsPositions_[setting::better];
}

std::vector<std::string> TableLayout::outputColumns() const {
    std::vector<std::string> names = inputColumns_;
    for (std::string& name : resultColumnNames(oneSidedColumnsWritten()))
        names.push_back(std::move(name));
    return names;
}

void TableLayout::checkWidth(const CsvRecord& record, const std::string& fileName) const {
    if (record.fields.size() == inputColumns_.size()) return;
    throw InputError(fileName, record.line,
                     "the row has " + table_io::countOf(record.fields.size(), "field") +
                         ", the header " + std::to_string(inputColumns_.size()));
}

}  // namespace tarnwick::batch

#include "study_settings.h"

#include <vector>

#include "column_name.h"
#include "csv_reader.h"
#include "quoted_field.h"
#include "score_cell.h"
#include "score_error.h"
#include "setting_text.h"
#include "table_options.h"
#include "table_shape.h"

namespace tarnwick::scores {
namespace {

using score_analysis::ScoreError;
using score_analysis::ScoreErrorNumber;
using table_io::InputError;
using table_io::quotedField;

// The settings' own reader (one rule for every program and window): a bound
// given as `bound` means -bound and +bound. Throws settings::SettingsError.
SettingsGiven readGiven(std::string_view bound, std::string_view lower, std::string_view upper,
                        std::string_view alpha, char decimalMark) {
    SettingsGiven given;
    if (const auto e = settings::readBound(bound, settings::BoundName::symmetric, decimalMark)) {
        given.lower = -*e;
        given.upper = *e;
    } else if (const auto pair = settings::readBounds(lower, upper, decimalMark)) {
        given.lower = pair->lower;
        given.upper = pair->upper;
    }
    given.alpha = settings::readAlpha(alpha, decimalMark);
    return given;
}

}  // namespace

SettingsGiven settingsFromOptions(const std::string& bound, const std::string& lower,
                                  const std::string& upper, const std::string& alpha) {
    if (!bound.empty() && (!lower.empty() || !upper.empty()))
        throw command_line::UsageError("give --bound or --lower and --upper, not both");
    if (lower.empty() != upper.empty())
        throw command_line::UsageError("--lower and --upper go together");
    SettingsGiven given;
    try {
        given = readGiven(bound, lower, upper, alpha, '.');
    } catch (const settings::SettingsError& error) {
        throw command_line::UsageError(error.description());
    }
    return given;
}

bool isSettingsColumn(std::string_view name) {
    return name == "study" || name == "bound" || name == "lower" || name == "upper" ||
           name == "alpha";
}

SettingsTable::SettingsTable(std::FILE* input, const std::string& fileName, char delimiter,
                             bool decimalComma) {
    table_io::CsvReader reader(input, fileName);
    reader.setDelimiter(
        delimiter != 0 ? delimiter : data::detectDelimiter(std::string(reader.peekFirstLine())));
    table_io::CsvRecord record;
    if (!reader.next(record))
        throw InputError(fileName, 1,
                         "the settings table is empty; its first row must name "
                         "the columns");
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    const char* names[] = {"study", "bound", "lower", "upper", "alpha"};
    std::size_t column[5] = {none, none, none, none, none};
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const std::string folded = table_io::foldedColumnName(record.fields[i]);
        for (std::size_t k = 0; k < 5; ++k) {
            if (record.fields[i] != names[k] && folded == names[k])
                nearMisses_.push_back(record.fields[i]);
            if (record.fields[i] != names[k]) continue;
            if (column[k] != none)
                throw InputError(fileName, 1,
                                 "the column " + quotedField(record.fields[i]) + " appears twice");
            column[k] = i;
        }
    }
    if (column[0] == none)
        throw InputError(fileName, 1, "the settings table needs a \"study\" column");
    if ((column[2] == none) != (column[3] == none))
        throw InputError(fileName, 1, "the columns \"lower\" and \"upper\" go together");
    const char mark = decimalComma ? ',' : '.';
    while (reader.next(record)) {
        const auto cell = [&](std::size_t k) -> std::string_view {
            if (column[k] == none || column[k] >= record.fields.size()) return {};
            return record.fields[column[k]];
        };
        // Trimmed as the scores' study names are.
        const std::string study(
            data::trimmed(column[0] < record.fields.size() ? record.fields[column[0]] : ""));
        if (!data::trimmed(cell(1)).empty() &&
            (!data::trimmed(cell(2)).empty() || !data::trimmed(cell(3)).empty()))
            throw InputError(fileName, record.line,
                             "give \"bound\" or \"lower\" and \"upper\", not both");
        SettingsGiven given;
        try {
            given = readGiven(cell(1), cell(2), cell(3), cell(4), mark);
        } catch (const settings::SettingsError& error) {
            throw InputError(fileName, record.line, error.description());
        }
        if (!rows_.emplace(study, given).second)
            throw InputError(fileName, record.line,
                             "the study " + quotedField(study) + " has a second row of settings");
    }
}

const SettingsGiven* SettingsTable::find(const std::string& study) const {
    const auto where = rows_.find(study);
    return where == rows_.end() ? nullptr : &where->second;
}

score_analysis::ScoreSettings settingsOf(const SettingsGiven& options, const SettingsGiven* row,
                                         score_analysis::Hypothesis hypothesis) {
    SettingsGiven given = options;
    if (row != nullptr) {
        if (row->lower) {
            given.lower = row->lower;
            given.upper = row->upper;
        }
        if (row->alpha) given.alpha = row->alpha;
    }
    if (!given.lower)
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "No bounds: give --bound (or --lower and --upper), or the study a row "
                         "with bound (or lower and upper) in the settings table.");
    score_analysis::ScoreSettings settings;
    settings.lower = *given.lower;
    settings.upper = *given.upper;
    settings.alpha = given.alpha.value_or(0.05);
    settings.hypothesis = hypothesis;
    score_analysis::checkSettings(settings);
    return settings;
}

}  // namespace tarnwick::scores

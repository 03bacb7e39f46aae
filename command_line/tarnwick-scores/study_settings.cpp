#include "study_settings.h"

#include <vector>

#include "csv_reader.h"
#include "quoted_field.h"
#include "score_cell.h"
#include "score_error.h"
#include "table_options.h"
#include "table_shape.h"

namespace tarnwick::scores {
namespace {

using score_analysis::ScoreError;
using score_analysis::ScoreErrorNumber;
using table_io::InputError;
using table_io::quotedField;

std::optional<double> optionNumber(const std::string& text, const char* option) {
    if (text.empty()) return std::nullopt;
    const data::ScoreCell cell = data::readScoreCell(text, '.');
    if (cell.kind != data::CellKind::number)
        throw command_line::UsageError(std::string(option) + " needs a finite number, not " +
                                       quotedField(text));
    return cell.value;
}

// A bound given as `bound` means -bound and +bound.
void setBound(SettingsGiven& given, std::optional<double> bound, std::optional<double> lower,
              std::optional<double> upper) {
    if (bound) {
        given.lower = -*bound;
        given.upper = *bound;
    } else {
        given.lower = lower;
        given.upper = upper;
    }
}

}  // namespace

SettingsGiven settingsFromOptions(const std::string& bound, const std::string& lower,
                                  const std::string& upper, const std::string& alpha) {
    if (!bound.empty() && (!lower.empty() || !upper.empty()))
        throw command_line::UsageError("give --bound or --lower and --upper, not both");
    if (lower.empty() != upper.empty())
        throw command_line::UsageError("--lower and --upper go together");
    SettingsGiven given;
    setBound(given, optionNumber(bound, "--bound"), optionNumber(lower, "--lower"),
             optionNumber(upper, "--upper"));
    given.alpha = optionNumber(alpha, "--alpha");
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
        for (std::size_t k = 0; k < 5; ++k) {
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
        const auto cell = [&](std::size_t k) -> std::optional<double> {
            if (column[k] == none || column[k] >= record.fields.size()) return std::nullopt;
            const std::string& text = record.fields[column[k]];
            // Only an empty cell leaves the value to the options; NA, NaN and "." in
            // a settings row are refused as the options refuse them.
            if (data::trimmed(text).empty()) return std::nullopt;
            const data::ScoreCell read = data::readScoreCell(text, mark);
            if (read.kind != data::CellKind::number)
                throw InputError(fileName, record.line,
                                 std::string("\"") + names[k] + "\" is " + quotedField(text) +
                                     ", not a finite number" +
                                     (read.kind == data::CellKind::missing
                                          ? "; leave the cell empty for the options' value"
                                          : ""));
            return read.value;
        };
        // Trimmed as the scores' study names are.
        const std::string study(
            data::trimmed(column[0] < record.fields.size() ? record.fields[column[0]] : ""));
        const auto bound = cell(1), lower = cell(2), upper = cell(3);
        if (bound && (lower || upper))
            throw InputError(fileName, record.line,
                             "give \"bound\" or \"lower\" and \"upper\", not both");
        if (lower.has_value() != upper.has_value())
            throw InputError(fileName, record.line, "\"lower\" and \"upper\" go together");
        SettingsGiven given;
        setBound(given, bound, lower, upper);
        given.alpha = cell(4);
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

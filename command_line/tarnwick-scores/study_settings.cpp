#include "study_settings.h"

#include <algorithm>
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
// given as `bound` is kept as given, its pair chosen by the scale
// (boundsOf). Throws settings::SettingsError.
// A row's `scale` cell: blank leaves the options' scale.
std::optional<settings::Scale> rowScale(std::string_view cell) {
    if (data::trimmed(cell).empty()) return std::nullopt;
    return settings::readScale(data::trimmed(cell));
}

SettingsGiven readGiven(std::string_view bound, std::string_view lower, std::string_view upper,
                        std::string_view alpha, char decimalMark) {
    SettingsGiven given;
    if (const auto e = settings::readBound(bound, settings::BoundName::symmetric, decimalMark)) {
        given.bound = *e;
    } else if (const auto pair = settings::readBounds(lower, upper, decimalMark)) {
        given.lower = pair->lower;
        given.upper = pair->upper;
    }
    given.alpha = settings::readAlpha(alpha, decimalMark);
    return given;
}

// The bounds on the study's scale: a symmetric bound as -E and E, or as the
// ratios 1/E and E; none on the ratio scale, 0.80 and 1.25.
std::optional<settings::Bounds> boundsOf(const SettingsGiven& given, settings::Scale scale) {
    const bool ratio = scale == settings::Scale::ratio;
    if (given.bound) {
        const double e = *given.bound;
        if (!ratio) return settings::Bounds{-e, e};
        return settings::Bounds{std::min(e, 1 / e), std::max(e, 1 / e)};
    }
    if (given.lower) return settings::Bounds{*given.lower, *given.upper};
    if (ratio) return settings::Bounds{0.80, 1.25};
    return std::nullopt;
}

}  // namespace

settings::Scale scaleFromOption(const std::string& scale) { return settings::readScale(scale); }

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
           name == "alpha" || name == "scale";
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
    const char* names[] = {"study", "bound", "lower", "upper", "alpha", "scale"};
    std::size_t column[6] = {none, none, none, none, none, none};
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const std::string folded = table_io::foldedColumnName(record.fields[i]);
        for (std::size_t k = 0; k < 6; ++k) {
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
            given.scale = rowScale(cell(5));
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
        if (row->hasBounds()) {
            given.lower = row->lower;
            given.upper = row->upper;
            given.bound = row->bound;
        }
        if (row->alpha) given.alpha = row->alpha;
        // The options' bounds are in their scale's units: a row on another
        // scale without bounds of its own takes none of them.
        if (row->scale && row->scale != options.scale && !row->hasBounds())
            given.lower = given.upper = given.bound = std::nullopt;
        if (row->scale) given.scale = row->scale;
    }
    const settings::Scale scale = given.scale.value_or(settings::Scale::difference);
    const std::optional<settings::Bounds> bounds = boundsOf(given, scale);
    if (!bounds)
        throw ScoreError(ScoreErrorNumber::invalidSettings,
                         "No bounds: give --bound (or --lower and --upper), or the study a row "
                         "with bound (or lower and upper) in the settings table.");
    score_analysis::ScoreSettings settings;
    settings.lower = bounds->lower;
    settings.upper = bounds->upper;
    settings.scale = scale;
    settings.alpha = given.alpha.value_or(0.05);
    settings.hypothesis = hypothesis;
    score_analysis::checkSettings(settings);
    return settings;
}

}  // namespace tarnwick::scores

#include "study_settings.h"

#include <algorithm>
#include <vector>

#include "column_name.h"
#include "csv_reader.h"
#include "one_sided_words.h"
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

// A row's word cell: blank leaves the options' choice.
template <class Read>
auto rowWord(std::string_view cell, const Read& read) -> std::optional<decltype(read({}))> {
    if (data::trimmed(cell).empty()) return std::nullopt;
    return read(data::trimmed(cell));
}

bool oneSided(const std::optional<settings::Hypothesis>& hypothesis) {
    return hypothesis && settings::isOneSided(*hypothesis);
}

// The settings' own sentence, as the study's message.
[[noreturn]] void refuse(const settings::SettingsError& error) {
    throw ScoreError(ScoreErrorNumber::invalidSettings, error.description());
}

// A one-sided question's settings, checked as every front end checks them
// (the margin on its question's side).
score_analysis::ScoreSettings oneSidedSettingsOf(const SettingsGiven& given,
                                                 settings::Hypothesis hypothesis,
                                                 settings::Scale scale) {
    settings::TestSettings question;
    question.hypothesis = hypothesis;
    question.scale = scale;
    question.alpha = given.alpha.value_or(settings::defaultAlpha(hypothesis));
    question.better = given.better.value_or(settings::Better::higher);
    // Welch's standard error, as for every question this program asks.
    question.standardError = settings::StandardError::welch;
    question.margin = given.margin;
    if (given.hasBounds()) {
        question.bounds = given.bound ? settings::Bounds{-*given.bound, *given.bound}
                                      : settings::Bounds{*given.lower, *given.upper};
    }
    try {
        const score_analysis::ScoreSettings scores = score_analysis::oneSidedQuestion(question);
        score_analysis::checkSettings(scores);
        return scores;
    } catch (const settings::SettingsError& error) {
        if (error.number() != settings::error::marginMissing) refuse(error);
        throw ScoreError(
            ScoreErrorNumber::invalidSettings,
            error.description() + " Give --margin M, or the study a margin in the settings table.");
    }
}

}  // namespace

void addQuestionOptions(CLI::App& app, QuestionOptions& options) {
    app.add_option("--hypothesis", options.hypothesis,
                   "equivalence (default), minimal_effect (the reversed tests), or a one-sided "
                   "question with --margin: non_inferiority, non_superiority, superiority")
        ->check(CLI::IsMember(
            {"equivalence", "minimal_effect", "non_inferiority", "non_superiority", "superiority"}))
        ->option_text("QUESTION");
    app.add_option("--margin", options.margin,
                   "a one-sided question's margin: a difference in the scores' units, or a ratio "
                   "on the ratio scale (default 0.80 or 1.25 there; superiority: no effect)")
        ->option_text("M");
    app.add_option("--better", options.better,
                   "higher (default) or lower: the direction in which the effect is better, for "
                   "one-sided questions")
        ->check(CLI::IsMember({"higher", "lower"}))
        ->option_text("higher|lower");
}

void addQuestionFromOptions(SettingsGiven& given, const QuestionOptions& options) {
    try {
        given.hypothesis = settings::readHypothesis(options.hypothesis);
        given.margin = settings::readMargin(options.margin);
        if (!options.better.empty()) given.better = settings::readBetter(options.better);
    } catch (const settings::SettingsError& error) {
        throw command_line::UsageError(error.description());
    }
    if (oneSided(given.hypothesis) && given.hasBounds())
        throw command_line::UsageError("--hypothesis " + options.hypothesis +
                                       " takes --margin, not --bound, --lower or --upper");
    if (!oneSided(given.hypothesis) && given.margin)
        throw command_line::UsageError(
            "--margin belongs to a one-sided question: --hypothesis non_inferiority, "
            "non_superiority or superiority");
}

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
           name == "alpha" || name == "scale" || name == "hypothesis" || name == "margin" ||
           name == "better";
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
    const char* names[] = {"study", "bound",      "lower",  "upper", "alpha",
                           "scale", "hypothesis", "margin", "better"};
    constexpr std::size_t columns = std::size(names);
    std::size_t column[columns];
    std::fill(std::begin(column), std::end(column), none);
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const std::string folded = table_io::foldedColumnName(record.fields[i]);
        for (std::size_t k = 0; k < columns; ++k) {
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
    asksQuestions_ = column[6] != none || column[7] != none || column[8] != none;
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
            given.hypothesis = rowWord(cell(6), settings::readHypothesis);
            given.margin = settings::readMargin(data::trimmed(cell(7)), mark);
            given.better = rowWord(cell(8), settings::readBetter);
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

score_analysis::ScoreSettings settingsOf(const SettingsGiven& options, const SettingsGiven* row) {
    SettingsGiven given = options;
    if (row != nullptr) {
        // The options' bounds and margin are in their scale's units and
        // for their kind of question: a row on another scale, or asking a
        // question of the other kind, takes none of them.
        const bool otherScale = row->scale && row->scale != options.scale;
        const bool otherKind =
            row->hypothesis && oneSided(row->hypothesis) != oneSided(options.hypothesis);
        if (otherScale || otherKind) {
            given.lower = given.upper = given.bound = std::nullopt;
            given.margin = std::nullopt;
        }
        if (row->hasBounds()) {
            given.lower = row->lower;
            given.upper = row->upper;
            given.bound = row->bound;
        }
        if (row->alpha) given.alpha = row->alpha;
        if (row->scale) given.scale = row->scale;
        if (row->hypothesis) given.hypothesis = row->hypothesis;
        if (row->margin) given.margin = row->margin;
        if (row->better) given.better = row->better;
    }
    const settings::Scale scale = given.scale.value_or(settings::Scale::difference);
    const settings::Hypothesis hypothesis =
        given.hypothesis.value_or(settings::Hypothesis::equivalence);
    if (settings::isOneSided(hypothesis)) return oneSidedSettingsOf(given, hypothesis, scale);
    if (given.margin) {
        settings::TestSettings question;
        question.hypothesis = hypothesis;
        question.margin = given.margin;
        try {
            settings::check(question);
        } catch (const settings::SettingsError& error) {
            refuse(error);
        }
    }
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

bool questionColumnsWanted(const SettingsGiven& options, const SettingsTable& table) {
    return oneSided(options.hypothesis) || table.asksQuestions();
}

}  // namespace tarnwick::scores

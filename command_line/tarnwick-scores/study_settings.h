#pragma once
// The question, bounds, alpha and scale of each study: from the command
// line, or from a table of studies' settings (columns `study`, `bound` or
// `lower` and `upper`, `alpha`, `scale`, `hypothesis`, `margin`, `better`)
// whose values replace the command line's for its study. On the ratio scale
// the bounds are ratios: `bound` B means 1/B and B (whichever is lower
// first), and no bounds at all mean 0.80 and 1.25. A one-sided question
// (non_inferiority, non_superiority, superiority) takes a margin instead of
// bounds: on the ratio scale 0.80 or 1.25 when none is given, for
// superiority no effect, and otherwise it must be given; its alpha is .025
// when none is given. A row on another scale than the options', or asking
// a question of the other kind (one-sided or two-sided), takes none of the
// options' bounds or margin.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "score_settings.h"

namespace tarnwick::scores {

// What one source gives; a value it leaves out comes from the next.
struct SettingsGiven {
    std::optional<double> lower, upper, alpha;
    std::optional<double> bound;  // symmetric: -bound and bound, or as ratios 1/bound and bound
    std::optional<settings::Scale> scale;
    std::optional<settings::Hypothesis> hypothesis;
    std::optional<double> margin;
    std::optional<settings::Better> better;
    bool hasBounds() const { return lower || bound; }
};

// The options' texts, read with "." as the decimal mark. Throws
// command_line::UsageError for a text that is not a number, for --bound
// together with --lower or --upper, or for only one of --lower and --upper.
SettingsGiven settingsFromOptions(const std::string& bound, const std::string& lower,
                                  const std::string& upper, const std::string& alpha);

// --hypothesis, --margin and --better, declared on the program's command line.
struct QuestionOptions {
    std::string hypothesis = "equivalence";
    std::string margin, better;
};
void addQuestionOptions(CLI::App& app, QuestionOptions& options);

// The question's options into `given`, whose bounds are the options' too.
// Throws command_line::UsageError for a margin that is not a number, a
// margin with a two-sided question, or bounds with a one-sided one.
void addQuestionFromOptions(SettingsGiven& given, const QuestionOptions& options);

// --scale's word ("difference" or "ratio"; CLI checks it) as the settings' scale.
settings::Scale scaleFromOption(const std::string& scale);

class SettingsTable {
public:
    SettingsTable() = default;
    // Throws table_io::InputError (FILE:LINE) for a malformed table: no
    // `study` column, a study given twice, a number that is not one, `bound`
    // beside `lower` or `upper` in one row.
    SettingsTable(std::FILE* input, const std::string& fileName, char delimiter, bool decimalComma);

    // The row of `study`, or nothing.
    const SettingsGiven* find(const std::string& study) const;
    std::size_t size() const { return rows_.size(); }
    // The studies named here, for telling which never appeared in the scores.
    const std::map<std::string, SettingsGiven>& rows() const { return rows_; }
    // Whether the table has a `hypothesis`, `margin` or `better` column.
    bool asksQuestions() const { return asksQuestions_; }
    // Header names that are a settings column's but for case or spaces.
    const std::vector<std::string>& nearMisses() const { return nearMisses_; }

private:
    std::map<std::string, SettingsGiven> rows_;
    std::vector<std::string> nearMisses_;
    bool asksQuestions_ = false;
};

// The settings of one study: the table's row over the options. Throws
// score_analysis::ScoreError (invalidSettings) when the bounds (or a
// one-sided question's margin) are given nowhere on the difference scale,
// or are not valid settings, in the settings' own sentences.
score_analysis::ScoreSettings settingsOf(const SettingsGiven& options, const SettingsGiven* row);

// Whether the output names each study's question (columns `hypothesis`,
// `margin`, `better`): when the options ask a one-sided question or the
// settings table can ask any question.
bool questionColumnsWanted(const SettingsGiven& options, const SettingsTable& table);

// Names the settings table reads, for choosing its delimiter.
bool isSettingsColumn(std::string_view name);

}  // namespace tarnwick::scores

#pragma once
// The bounds, alpha and scale of each study: from the command line, or from
// a table of studies' settings (columns `study`, `bound` or `lower` and
// `upper`, `alpha`, `scale`) whose values replace the command line's for its
// study. On the ratio scale the bounds are ratios: `bound` B means 1/B and B
// (whichever is lower first), and no bounds at all mean 0.80 and 1.25. A row
// on another scale than the options' takes none of the options' bounds.

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
    bool hasBounds() const { return lower || bound; }
};

// The options' texts, read with "." as the decimal mark. Throws
// command_line::UsageError for a text that is not a number, for --bound
// together with --lower or --upper, or for only one of --lower and --upper.
SettingsGiven settingsFromOptions(const std::string& bound, const std::string& lower,
                                  const std::string& upper, const std::string& alpha);

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
    // Header names that are a settings column's but for case or spaces.
    const std::vector<std::string>& nearMisses() const { return nearMisses_; }

private:
    std::map<std::string, SettingsGiven> rows_;
    std::vector<std::string> nearMisses_;
};

// The settings of one study: the table's row over the options. Throws
// score_analysis::ScoreError (invalidSettings) when the bounds are given
// nowhere on the difference scale, or are not valid settings.
score_analysis::ScoreSettings settingsOf(const SettingsGiven& options, const SettingsGiven* row,
                                         score_analysis::Hypothesis hypothesis);

// Names the settings table reads, for choosing its delimiter.
bool isSettingsColumn(std::string_view name);

}  // namespace tarnwick::scores

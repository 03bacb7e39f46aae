// tarnwick-scores: equivalence tests on tables of raw scores, one row of
// answers a study: the normal-theory, rank-based, trimmed-means and
// bootstrap analyses side by side. See tarnwick-scores.1 for the interface.

#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "analysis_table.h"
#include "column_name.h"
#include "destination.h"
#include "input_file.h"
#include "output_writer.h"
#include "progress.h"
#include "quoted_field.h"
#include "score_error.h"
#include "standard_streams.h"
#include "study_answer.h"
#include "study_settings.h"
#include "study_table.h"
#include "table_options.h"

namespace {

using namespace tarnwick::scores;
using namespace tarnwick::table_io;
using namespace tarnwick::command_line;
namespace sa = tarnwick::score_analysis;

constexpr int allAnswered = 0;
constexpr int someRefused = 1;

struct Options : TableOptions {
    std::string bound, lower, upper, alpha;
    std::string design = "independent";
    QuestionOptions question;
    std::string scale = "difference";
    std::string settings;  // the table of studies' settings, if any
    std::uint64_t seed = sa::defaultBootstrapSeed;
    long replicates = 10000;
};

// The footer names each analysis's column prefix from the engine's table.
std::string footer() {
    std::string prefixes;
    for (const auto& analysis : tarnwick::score_report::analysisTable())
        prefixes += (prefixes.empty() ? "" : ", ") + std::string(analysis.name) + "_";
    return R"(INPUT is a table of scores whose first row names the columns: long, with
"group" and "score" (and "pair" for matched scores), or wide, with two score
columns (matched scores pair by row; a first row holding a number is data,
its columns then "Column 1" and "Column 2"); "study" optionally splits it
into studies. Missing scores are empty, NA, . or NaN. One row of answers a study:
study group1 group2 n1 n2 missing1 missing2 alpha lower upper (then
hypothesis margin better, with a one-sided --hypothesis or a settings table
that has one of those columns), then for each analysis
()" + prefixes +
           R"() estimate ci_low ci_high p_lower
p_upper p conclusion method, then message; a one-sided question's one test
at the margin is in p. On the ratio scale lower, upper, estimate, ci_low and
ci_high are ratios group 1 / group 2 (not percent), and each method says so.

Exit status: 0 every study answered; 1 some studies have a message (all rows
are written); 2 usage error, unreadable input or malformed table, reported
as FILE:LINE: what is wrong (FILE is <stdin> for standard input).)";
}

// The options' settings with --scale: on the ratio scale the bounds are
// ratios, and none given means 0.80 and 1.25.
SettingsGiven givenOnItsScale(const Options& options) {
    SettingsGiven given =
        settingsFromOptions(options.bound, options.lower, options.upper, options.alpha);
    given.scale = scaleFromOption(options.scale);
    addQuestionFromOptions(given, options.question);
    return given;
}

void addScaleOption(CLI::App& app, Options& options) {
    app.add_option("--scale", options.scale,
                   "difference (default): group 1 - group 2, bounds in the scores' units; ratio: "
                   "group 1 / group 2 on the logs of the scores, bounds as ratios (default 0.80 "
                   "and 1.25; --bound B means 1/B and B), estimates and interval ends as ratios")
        ->check(CLI::IsMember({"difference", "ratio"}))
        ->option_text("difference|ratio");
}

// Columns not read though their names look like ones read, as the other
// programs say of theirs.
void noteNearMisses(const std::vector<std::string>& names, const char* table) {
    for (const std::string& name : names)
        std::cerr << "tarnwick-scores: note: column " << quotedField(name) << table
                  << " is not the \"" << foldedColumnName(name)
                  << "\" column: the columns tarnwick-scores reads by name are spelt in lower "
                     "case without spaces\n";
}

// A decimal comma chosen from the scores, not asked for, is said: a comma
// may equally separate thousands.
void noteGuessedComma(const tarnwick::data::StudyTable& scores, const std::string& file) {
    if (scores.guessedCommaLine == 0) return;
    std::cerr << "tarnwick-scores: note: " << file << ":" << scores.guessedCommaLine << ": "
              << quotedField(scores.guessedCommaCell)
              << " has a decimal comma and no score a decimal point, so \",\" is read as the "
                 "decimal mark\n";
}

// Settings rows that no study of the scores uses: one note, the first few
// names and how many in all, so a settings table for other scores does not
// flood the terminal.
void noteUnusedSettings(const SettingsTable& table,
                        const std::unordered_set<const SettingsGiven*>& used) {
    constexpr std::size_t namesShown = 3;
    std::vector<std::string_view> unused;
    std::size_t count = 0;
    for (const auto& [name, row] : table.rows()) {
        if (used.contains(&row)) continue;
        if (++count <= namesShown) unused.push_back(name);
    }
    if (count == 0) return;
    std::cerr << "tarnwick-scores: note: the settings of " << (count == 1 ? "study " : "studies ");
    for (std::size_t i = 0; i < unused.size(); ++i)
        std::cerr << (i == 0 ? "" : ", ") << quotedField(unused[i]);
    if (count > namesShown) std::cerr << " and " << count - namesShown << " more";
    std::cerr << (count == 1 ? " are not used: no scores name it\n"
                             : " are not used: no scores name them\n");
}

// The bootstrap's settings, its replicates counted on the progress line.
sa::BootstrapSettings bootstrapOf(const Options& options, Progress& progress) {
    sa::BootstrapSettings bootstrap{options.replicates, options.seed};
    bootstrap.progress = [&progress](long done, long replicates) {
        progress.stepsDone(done, replicates, "bootstrap replicates");
        return true;
    };
    return bootstrap;
}

int run(const Options& options) {
    const SettingsGiven given = givenOnItsScale(options);
    if (options.settings.empty()) {
        if (!given.hasBounds() && given.scale != tarnwick::settings::Scale::ratio &&
            !tarnwick::settings::isOneSided(*given.hypothesis))
            throw UsageError(
                "give the bounds: --bound E, --lower L --upper U, or --settings "
                "FILE with a bound for each study");
        // Settings from the options hold for every study: a fault in them is the command
        // line's, not each row's.
        try {
            settingsOf(given, nullptr);
        } catch (const sa::ScoreError& error) {
            throw UsageError(error.description());
        }
    }
    if (options.settings == "-" && (options.input.empty() || options.input == "-"))
        throw UsageError("the scores and the settings cannot both come from standard input");

    Destination destination(options.output);
    SettingsTable table;
    if (!options.settings.empty()) {
        const InputFile settingsFile(options.settings);
        table = SettingsTable(settingsFile.stream(), settingsFile.name(), askedDelimiter(options),
                              options.decimalComma);
    }
    const InputFile input(options.input);
    tarnwick::data::StudyReadOptions read;
    read.design = options.design == "matched" ? Design::matched : Design::independent;
    read.delimiter = askedDelimiter(options);
    read.decimalComma = options.decimalComma;

    const Digits digits = digitsOf(options);
    // Opened with the first answer, so a table refused before it writes nothing.
    const bool questionColumns = questionColumnsWanted(given, table);
    std::optional<OutputWriter> out;
    const auto openOutput = [&] {
        if (!out)
            out.emplace(destination.stream(), outputFormatOf(options, OutputFormat::csv),
                        answerColumns(questionColumns));
    };
    Progress progress("tarnwick-scores", destination.progressWanted(options.quiet));
    const sa::BootstrapSettings bootstrap = bootstrapOf(options, progress);
    std::unordered_set<const SettingsGiven*> used;
    bool someStudyRefused = false;
    const auto answerOne = [&](const tarnwick::data::Study& study) {
        std::optional<sa::ScoreSettings> settings;
        std::string problem;
        const SettingsGiven* row = table.find(study.name);
        used.insert(row);
        try {
            settings = settingsOf(given, row);
        } catch (const sa::ScoreError& error) {
            problem = error.description();
        }
        const StudyAnswer answer = answerStudy(study, read.design, settings, problem, bootstrap);
        someStudyRefused = someStudyRefused || !answer.answered();
        openOutput();
        if (out->format() == OutputFormat::text)
            out->writeText(answerText(study, answer, digits));
        else
            out->writeRow(answerFields(study, answer, digits, questionColumns));
        progress.rowDone();
    };
    // A file whose studies' rows stand together is answered study by study as read.
    read.ready = [&](tarnwick::data::Study&& study) { answerOne(study); };
    const tarnwick::data::StudyTable scores =
        tarnwick::data::readStudyTable(input.stream(), input.name(), read);
    for (const tarnwick::data::Study& study : scores.studies)
        answerOne(study);

    progress.finish();
    noteNearMisses(scores.nearMisses, "");
    noteNearMisses(table.nearMisses(), " of the settings table");
    noteGuessedComma(scores, input.name());
    noteUnusedSettings(table, used);
    openOutput();
    out->finish();
    destination.commit();
    return someStudyRefused ? someRefused : allAnswered;
}

}  // namespace

int main(int argc, char** argv) {
    if (!openClosedStandardStreams()) return failed;
    Options options;
    CLI::App app{
        "Equivalence tests (two one-sided tests) on tables of raw scores: for each study the "
        "normal-theory t tests, the rank-based (Hodges-Lehmann and Wilcoxon) tests, Yuen's "
        "trimmed means and the bootstrap-t, side by side.",
        "tarnwick-scores"};
    addTableOptions(
        app, options,
        {.input = "table of scores; - for standard input",
         .format = studyFormatHelp,
         .formats = {"csv", "jsonl", "text"},
         .digits = studyDigitsHelp,
         .delimiter = "the field delimiter of the scores and the settings table; by default "
                      "chosen from each table's header line (tab, then ; then ,)",
         .decimalComma = "read a comma as the decimal mark (\"0,5\" is 0.5) in the scores and "
                         "the settings table; by default a table of scores not separated by "
                         "commas whose scores have decimal commas and no decimal points is read "
                         "so (with a note), the settings table always with \".\""});
    app.add_option("--bound", options.bound,
                   "symmetric bounds -E and +E, in the scores' units (ratio scale: 1/E and E)")
        ->option_text("E");
    app.add_option("--lower", options.lower, "lower bound (with --upper, instead of --bound)")
        ->option_text("L");
    app.add_option("--upper", options.upper, "upper bound")->option_text("U");
    app.add_option("--alpha", options.alpha,
                   "level of each one-sided test (default 0.05; 0.025 for a one-sided question)")
        ->option_text("A");
    app.add_option("--settings", options.settings,
                   "table of studies' settings: study, bound or lower and upper, alpha, scale, "
                   "hypothesis, margin, better; "
                   "its values replace the options' for its study")
        ->option_text("FILE");
    app.add_option("--design", options.design,
                   "independent (default) or matched (pairs by the pair column, or by row)")
        ->check(CLI::IsMember({"independent", "matched"}))
        ->option_text("independent|matched");
    addQuestionOptions(app, options.question);
    addScaleOption(app, options);
    app.add_option("--seed", options.seed,
                   "the bootstrap's seed (default 5489), the same for "
                   "every study")
        ->option_text("S");
    app.add_option("--replicates", options.replicates, "bootstrap replicates (default 10000)")
        ->check(CLI::Range(1L, 10000000L))
        ->option_text("B");
    app.set_version_flag("--version", "tarnwick-scores " TARNWICK_VERSION);
    app.footer(footer());
    return parseAndRun(app, argc, argv, options, "tarnwick-scores", [&] { return run(options); });
}

// tarnwick-crossover: average bioequivalence from tables of crossover
// studies' raw data, one row of answers a study. See tarnwick-crossover.1.

#include <CLI/CLI.hpp>
#include <string>

#include "crossover_error.h"
#include "crossover_table.h"
#include "destination.h"
#include "input_file.h"
#include "output_writer.h"
#include "progress.h"
#include "setting_text.h"
#include "standard_streams.h"
#include "study_row.h"
#include "table_options.h"
#include "test_settings.h"

namespace {

using namespace tarnwick::table_io;
using namespace tarnwick::command_line;
using namespace tarnwick::crossover_program;
namespace crossover = tarnwick::crossover;
namespace settings = tarnwick::settings;

constexpr int allAnswered = 0;
constexpr int someRefused = 1;

struct Options : TableOptions {
    std::string lower, upper, alpha;
    std::string reference = "R";
    std::string response = "response";
};

constexpr const char* footer =
    R"(INPUT is a long table, one response a row, whose first row names the columns
"subject", "sequence", "period" (1, 2, ...), "treatment" and the response's
(--response), and optionally "study". Missing responses are empty, NA, . or
NaN; a response must be above 0. One row of answers a study: study subjects
observations missing design test reference estimate ci_low ci_high df
cv_within cv_reference p_lower p_upper alpha lower upper conclusion left_out
incomplete message. The estimate and the interval are ratios T/R.

Exit status: 0 every study answered; 1 some studies have a message (all rows
are written); 2 usage error, unreadable input or malformed table, reported
as FILE:LINE: what is wrong (FILE is <stdin> for standard input).)";

crossover::CrossoverSettings settingsOf(const Options& options) {
    if (options.lower.empty() != options.upper.empty())
        throw UsageError("--lower and --upper go together");
    crossover::CrossoverSettings chosen;
    try {
        if (const auto alpha = settings::readAlpha(options.alpha)) chosen.alpha = *alpha;
        if (const auto bounds = settings::readBounds(options.lower, options.upper))
            chosen.bounds = *bounds;
        // The settings hold for every study: a fault in them is the command line's.
        crossover::checkSettings(chosen);
    } catch (const settings::SettingsError& error) {
        throw UsageError(error.description());
    } catch (const crossover::CrossoverError& error) {
        throw UsageError(error.description());
    }
    return chosen;
}

int run(const Options& options) {
    const crossover::CrossoverSettings chosen = settingsOf(options);
    if (options.reference.empty()) throw UsageError("--reference needs a treatment's name");
    if (options.response.empty()) throw UsageError("--response needs a column's name");
    Destination destination(options.output);
    const InputFile input(options.input);
    crossover::CrossoverReadOptions read;
    read.reference = options.reference;
    read.response = options.response;
    read.delimiter = askedDelimiter(options);
    read.decimalComma = options.decimalComma;
    const crossover::CrossoverTable table =
        crossover::readCrossoverTable(input.stream(), input.name(), read);

    const tarnwick::Digits digits = digitsOf(options);
    OutputWriter out(destination.stream(), outputFormatOf(options, OutputFormat::csv),
                     answerColumns());
    Progress progress("tarnwick-crossover", destination.progressWanted(options.quiet));
    bool someStudyRefused = false;
    for (const crossover::CrossoverStudy& study : table.studies) {
        const StudyAnswer answer = answerStudy(study, chosen);
        someStudyRefused = someStudyRefused || !answer.result;
        if (out.format() == OutputFormat::text)
            out.writeText(answerText(study, answer, chosen));
        else
            out.writeRow(answerFields(study, answer, chosen, digits));
        progress.rowDone();
    }
    progress.finish();
    out.finish();
    destination.commit();
    return someStudyRefused ? someRefused : allAnswered;
}

}  // namespace

int main(int argc, char** argv) {
    if (!openClosedStandardStreams()) return failed;
    Options options;
    CLI::App app{
        "Average bioequivalence from crossover studies' raw data: for each study the "
        "fixed-effects model of the log responses (sequence, subject, period, formulation), "
        "the ratio T/R with its 100(1 - 2 alpha)% interval, the within-subject CVs and the two "
        "one-sided tests against the bounds.",
        "tarnwick-crossover"};
    addTableOptions(
        app, options,
        {.input = "table of responses; - for standard input",
         .format = studyFormatHelp,
         .formats = {"csv", "jsonl", "text"},
         .digits = studyDigitsHelp,
         .delimiter = "the field delimiter; by default chosen from the header line (tab, then "
                      "; then ,)",
         .decimalComma = "read a comma as the decimal mark (\"0,5\" is 0.5); by default a "
                         "table not separated by commas whose responses have decimal commas "
                         "and no decimal points is read so"});
    app.add_option("--reference", options.reference,
                   "the reference treatment's name (default R); the other is the test")
        ->option_text("NAME");
    app.add_option("--response", options.response, "the response column's name (default response)")
        ->option_text("COLUMN");
    app.add_option("--lower", options.lower, "lower bound of the ratio (default 0.80)")
        ->option_text("L");
    app.add_option("--upper", options.upper, "upper bound of the ratio (default 1.25)")
        ->option_text("U");
    app.add_option("--alpha", options.alpha,
                   "level of each one-sided test (default 0.05: a 90% interval)")
        ->option_text("A");
    app.set_version_flag("--version", "tarnwick-crossover " TARNWICK_VERSION);
    app.footer(footer);
    return parseAndRun(app, argc, argv, options, "tarnwick-crossover",
                       [&] { return run(options); });
}

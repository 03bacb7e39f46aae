// tarnwick-plan: the sample size, power or narrowest bounds of an equivalence
// study, for one case given as options or for every row of a CSV table. See
// tarnwick-plan.1 for the whole interface.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "csv_reader.h"
#include "destination.h"
#include "input_file.h"
#include "number_columns.h"
#include "output_writer.h"
#include "plan_row_reader.h"
#include "plan_table.h"
#include "progress.h"
#include "quoted_field.h"
#include "row_plan.h"
#include "standard_streams.h"
#include "table_options.h"

namespace {

using namespace tarnwick::planner;
using namespace tarnwick::table_io;
using namespace tarnwick::command_line;

constexpr int allAnswered = 0;
constexpr int someRefused = 1;

// --format is text for one case, csv for a table, unless asked.
struct Options : tarnwick::command_line::TableOptions {
    RowTexts caseTexts;  // one case from the options
};

constexpr const char* footer =
    R"(One case: --solve and the options after it describe it; the answer is a
sentence (or, with --format csv|jsonl, a one-row table). Many cases: INPUT is
a CSV table whose header names the columns solve, design, alpha, bound (or
lower and upper), difference, sd, power, ratio, n1, n2, hypothesis, margin,
better, bound_units, and for the ratio scale scale, cv, ratio0, sizes, n,
estimate, ci_lower, ci_upper (any order; absent optional columns take the
defaults); every input column is copied, then come plan_n1 plan_n2 plan_total
plan_power plan_lower plan_upper (with a column of the ratio scale also
plan_sizes plan_ci_low plan_ci_high plan_p_lower plan_p_upper plan_conclusion
plan_cv; with margin or better also p) message.

Exit status: 0 every case answered; 1 some cases have a message instead (all
rows are written); 2 usage error, unreadable input or malformed CSV, reported
as FILE:LINE: what is wrong (FILE is <stdin> for standard input).)";

// The answers as a table (CSV or JSON Lines) or as sentences, one a line.
class AnswerSink {
public:
    // `columns` are the input's; the answer's follow them, with the ratio
    // scale's before message when `ratioColumns`.
    AnswerSink(std::FILE* out, OutputFormat format, std::vector<std::string> columns,
               bool ratioColumns, bool oneSidedColumns)
        : ratioColumns_(ratioColumns),
          oneSidedColumns_(oneSidedColumns),
          out_(out, format, withAnswerColumns(columns, ratioColumns, oneSidedColumns)) {}

    void write(const std::vector<std::string>& inputFields, const RowPlan& row) {
        if (out_.format() == OutputFormat::text) {
            out_.writeText(row.sentence + "\n");
            return;
        }
        fields_.clear();
        for (const std::string& text : inputFields)
            fields_.push_back({text, FieldKind::text});
        for (const std::string& text : row.fields)
            fields_.push_back({text, FieldKind::number});
        if (ratioColumns_) {
            // plan_sizes ("13,12") and plan_conclusion are words.
            for (std::size_t i = 0; i < row.ratioFields.size(); ++i) {
                const bool word = i == 0 || i == 5;
                fields_.push_back({row.ratioFields[i], word ? FieldKind::text : FieldKind::number});
            }
        }
        if (oneSidedColumns_) fields_.push_back({row.p, FieldKind::number});
        fields_.push_back({row.message, FieldKind::text});
        out_.writeRow(fields_);
    }

    void finish() { out_.finish(); }

private:
    static std::vector<std::string> withAnswerColumns(std::vector<std::string> columns,
                                                      bool ratioColumns, bool oneSidedColumns) {
        for (std::string_view name : answerColumnNames) {
            if (name == "message" && ratioColumns) {
                for (std::string_view ratioName : ratioAnswerColumnNames)
                    columns.emplace_back(ratioName);
            }
            if (name == "message" && oneSidedColumns)
                columns.emplace_back(oneSidedAnswerColumnName);
            columns.emplace_back(name);
        }
        return columns;
    }

    bool ratioColumns_ = false;
    bool oneSidedColumns_ = false;
    OutputWriter out_;
    std::vector<Field> fields_;
};

int planOneCase(const Options& options) {
    std::vector<std::string> columns, fields;
    for (std::size_t i = 0; i < inputColumnCount; ++i) {
        if (options.caseTexts[i].empty()) continue;
        columns.emplace_back(inputColumnNames[i]);
        fields.push_back(options.caseTexts[i]);
    }
    const auto someGiven = [&](const auto& among) {
        return std::any_of(among.begin(), among.end(), [&](InputColumn column) {
            return !options.caseTexts[static_cast<std::size_t>(column)].empty();
        });
    };
    Destination destination(options.output);
    AnswerSink sink(destination.stream(), outputFormatOf(options, OutputFormat::text), columns,
                    someGiven(ratioInputColumns), someGiven(oneSidedInputColumns));
    const RowPlan row = planRow(options.caseTexts, digitsOf(options));
    sink.write(fields, row);
    sink.finish();
    destination.commit();
    return row.answered ? allAnswered : someRefused;
}

void noteNearMisses(const PlanTable& table) {
    for (const std::string& name : table.nearMisses()) {
        std::cerr << "tarnwick-plan: note: column " << quotedField(name)
                  << " is copied, not read: the columns the planner reads are spelt in lower "
                     "case without spaces\n";
    }
}

int planTable(const Options& options) {
    // The output first: a name that cannot be written to fails before any input is read.
    Destination destination(options.output);
    const InputFile input(options.input);
    CsvReader reader(input.stream(), input.name());
    const char delimiter = chooseDelimiter(options, reader, isInputColumn);
    CsvRecord record;
    if (!reader.next(record))
        throw InputError(input.name(), 1,
                         "the input is empty; its first row must name the columns");
    const PlanTable table(record, input.name());
    noteNearMisses(table);
    AnswerSink sink(destination.stream(), outputFormatOf(options, OutputFormat::csv),
                    table.inputColumns(), table.ratioColumns(), table.oneSidedColumns());
    const Digits digits = digitsOf(options);
    Progress progress("tarnwick-plan", destination.progressWanted(options.quiet));
    bool someRowRefused = false;
    NumberColumns numbers(options, delimiter, "tarnwick-plan", "the planner",
                          "such rows are not answered");
    PlanRowReader rows(table, numbers);
    while (reader.next(record)) {
        const RowPlan row = planRow(rows.read(record, input.name()), digits);
        someRowRefused = someRowRefused || !row.answered;
        sink.write(record.fields, row);
        progress.rowDone();
    }
    progress.finish();
    sink.finish();
    destination.commit();
    return someRowRefused ? someRefused : allAnswered;
}

int run(const Options& options) {
    const bool oneCase = !options.caseTexts[static_cast<std::size_t>(InputColumn::solve)].empty();
    const bool someCaseOption = std::any_of(options.caseTexts.begin(), options.caseTexts.end(),
                                            [](const std::string& text) { return !text.empty(); });
    if (oneCase && !options.input.empty())
        throw UsageError("give one case as options or a table INPUT, not both");
    if (oneCase && !options.delimiter.empty())
        throw UsageError("--delimiter is for a table INPUT, not for one case given as options");
    if (oneCase && options.decimalComma)
        throw UsageError(
            "--decimal-comma is for a table INPUT; give one case's numbers with a point");
    if (someCaseOption && !oneCase)
        throw UsageError("a case given as options needs --solve n|power|bound|ci|cv");
    return oneCase ? planOneCase(options) : planTable(options);
}

void addCaseOptions(CLI::App& app, RowTexts& texts) {
    const auto text = [&](InputColumn column) -> std::string& {
        return texts[static_cast<std::size_t>(column)];
    };
    app.add_option("--solve", text(InputColumn::solve),
                   "what to find: n (the smallest size reaching --power), power (at --n1, --n2; "
                   "a bioequivalence design: at --sizes or --n), bound (the narrowest symmetric "
                   "bounds reaching --power at --n1, --n2), ci (the interval, p values and "
                   "conclusion from --estimate, --cv and the sizes) or cv (the CV from "
                   "--ci-lower, --ci-upper and the sizes)")
        ->check(CLI::IsMember({"n", "power", "bound", "ci", "cv"}))
        ->option_text("n|power|bound|ci|cv");
    app.add_option("--design", text(InputColumn::design),
                   "independent (default) or matched (n1 pairs, --sd of the differences); or a "
                   "bioequivalence design with --cv: parallel, paired, 2x2 (2x2x2), 3x3, 3x6x3, "
                   "4x4, 2x2x3, 2x2x4, 2x4x4, 2x3x3, 2x4x2, 2x2x2r")
        ->check(
            CLI::IsMember({"independent", "matched", "parallel", "paired", "2x2", "2x2x2", "3x3",
                           "3x6x3", "4x4", "2x2x3", "2x2x4", "2x4x4", "2x3x3", "2x4x2", "2x2x2r"}))
        ->option_text("DESIGN");
    const auto number = [&](const char* name, InputColumn column, const char* help) {
        app.add_option(name, text(column), help)->option_text("X");
    };
    number("--alpha", InputColumn::alpha,
           "level of each one-sided test (default 0.05; 0.025 for a one-sided question)");
    number("--bound", InputColumn::bound, "symmetric bounds -X and +X");
    number("--lower", InputColumn::lower, "lower bound (with --upper, instead of --bound)");
    number("--upper", InputColumn::upper, "upper bound");
    number("--difference", InputColumn::difference,
           "assumed true difference, group 1 minus group 2 (default 0)");
    number("--sd", InputColumn::sd,
           "common SD of the two groups; matched: SD of the difference scores");
    number("--power", InputColumn::power, "target power for n and bound, such as 0.8");
    number("--ratio", InputColumn::ratio, "n2 / n1 (default 1)");
    number("--n1", InputColumn::n1, "size of group 1; matched: the number of pairs");
    number("--n2", InputColumn::n2, "size of group 2 (default ceil(ratio * n1))");
    app.add_option("--hypothesis", text(InputColumn::hypothesis),
                   "equivalence (default), minimal_effect (is the difference beyond a bound? "
                   "--difference must then lie outside the bounds for n), or a one-sided "
                   "question with --margin: non_inferiority, non_superiority or superiority")
        ->check(CLI::IsMember(
            {"equivalence", "minimal_effect", "non_inferiority", "non_superiority", "superiority"}))
        ->option_text("QUESTION");
    number("--margin", InputColumn::margin,
           "a one-sided question's margin, in place of the bounds: a difference, or a ratio on "
           "the ratio scale (default 0.80 or 1.25 there; 0, or 1, for superiority)");
    app.add_option("--better", text(InputColumn::better),
                   "higher (default) or lower: the direction in which a larger effect is better, "
                   "for a one-sided question")
        ->check(CLI::IsMember({"higher", "lower"}))
        ->option_text("higher|lower");
    app.add_option("--bound-units", text(InputColumn::bound_units),
                   "raw (default) or d: the bounds as multiples of --sd")
        ->check(CLI::IsMember({"raw", "d"}))
        ->option_text("raw|d");
    app.add_option("--scale", text(InputColumn::scale),
                   "difference (default) or ratio: the ratio of geometric means, tested on the "
                   "logs, with --lower and --upper as ratios (default 0.80 and 1.25)")
        ->check(CLI::IsMember({"difference", "ratio"}))
        ->option_text("difference|ratio");
    number("--cv", InputColumn::cv,
           "the CV as a fraction (0.30 for 30%): within-subject for crossover and paired "
           "designs, total for parallel groups");
    number("--ratio0", InputColumn::ratio0, "the true ratio T / R (default 0.95)");
    app.add_option("--sizes", text(InputColumn::sizes),
                   "subjects per sequence (per group), such as 13,12")
        ->option_text("N,N,...");
    number("--n", InputColumn::n, "subjects in all, split as evenly as the sequences allow");
    number("--estimate", InputColumn::estimate,
           "for ci: the point estimate, the ratio of geometric means");
    number("--ci-lower", InputColumn::ci_lower, "for cv: the published interval's lower end");
    number("--ci-upper", InputColumn::ci_upper, "for cv: the published interval's upper end");
}

}  // namespace

int main(int argc, char** argv) {
    if (!openClosedStandardStreams()) return failed;
    Options options;
    CLI::App app{
        "Plans an equivalence study (two one-sided tests for two means, or for the ratio of "
        "geometric means in a bioequivalence design): the sample size that reaches a target "
        "power, the power of given sizes, or the narrowest symmetric bounds given sizes can show; "
        "or, from a study's reported numbers, its interval or its CV; for one case or for every "
        "row of a CSV table.",
        "tarnwick-plan"};
    addTableOptions(
        app, options,
        {.input = "CSV table of cases; - for standard input",
         .format = "csv, jsonl (one JSON object a row) or text (one sentence a case); the "
                   "default is text for one case, csv for a table",
         .formats = {"csv", "jsonl", "text"},
         .digits = "shown (default): power cut at 4 decimals, found bounds rounded outward to 4 "
                   "significant digits; full: the shortest text of every double",
         .delimiter = "the input's field delimiter; by default chosen from the header line (, "
                      "unless only ; or a tab separates names the planner reads)",
         .decimalComma =
             "read a comma as the decimal mark (\"0,5\" is 0.5) in the input's number columns"});
    addCaseOptions(app, options.caseTexts);
    app.set_version_flag("--version", "tarnwick-plan " TARNWICK_VERSION);
    app.footer(footer);
    return parseAndRun(app, argc, argv, options, "tarnwick-plan", [&] { return run(options); });
}

// tarnwick-batch: the calculator's analysis and report for every row of a
// table of studies. See tarnwick-batch.1 for the whole interface.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>

#include "csv_reader.h"
#include "destination.h"
#include "input_file.h"
#include "number_columns.h"
#include "output_writer.h"
#include "progress.h"
#include "quoted_field.h"
#include "row_analysis.h"
#include "row_reader.h"
#include "standard_streams.h"
#include "table_layout.h"
#include "table_options.h"

namespace {

using namespace tarnwick::batch;
using namespace tarnwick::table_io;
using namespace tarnwick::command_line;

constexpr int allRowsHaveResults = 0;
constexpr int someRowsHaveMessages = 1;

using Options = tarnwick::command_line::TableOptions;

constexpr const char* footer =
    R"(Each row of INPUT is one press of the run button in a fresh window. Columns
read: mean1 sd1 n1 mean2 sd2 n2 bound mean_diff sd_diff design df (any order;
an absent column is an empty box). design is independent (or empty) or
matched; df is student (or empty) or welch; any other word is that row's
message. The report's test is set by the optional columns alpha (.05), lower
and upper (both or neither; -bound and +bound), bound_units (raw or d),
standard_error (pooled or welch) and hypothesis (equivalence,
minimal_effect, non_inferiority, non_superiority or superiority, the last
three with margin and better, higher or lower, and alpha .025 when empty);
empty is the calculator's. Every input column is copied, then come message,
the 26 result boxes and the report (ind_..., matched_...), and with a margin
or better column ind_p_one_sided and matched_p_one_sided.

Exit status: 0 every row has results; 1 some rows have a message instead
(all rows are written); 2 usage error, unreadable input or malformed CSV,
reported as FILE:LINE: what is wrong (FILE is <stdin> for standard input).)";

void noteNearMisses(const TableLayout& layout) {
    for (const std::string& name : layout.nearMisses()) {
        std::cerr << "tarnwick-batch: note: column " << quotedField(name)
                  << " is copied, not read: the columns the analysis reads are spelt in lower "
                     "case without spaces\n";
    }
}

int run(const Options& options) {
    // The output first: a name that cannot be written to fails before any input is read.
    Destination destination(options.output);
    const InputFile input(options.input);
    std::setvbuf(input.stream(), nullptr, _IOFBF, 1 << 16);

    CsvReader reader(input.stream(), input.name());
    const char delimiter = chooseDelimiter(options, reader, isReadColumn);
    CsvRecord record;
    if (!reader.next(record))
        throw InputError(input.name(), 1,
                         "the input is empty; its first row must name the columns");
    const TableLayout layout(record, input.name());
    noteNearMisses(layout);
    OutputWriter writer(destination.stream(), outputFormatOf(options, OutputFormat::csv),
                        layout.outputColumns());
    RowAnalysis analysis(digitsOf(options), layout.oneSidedColumnsWritten());
    Progress progress("tarnwick-batch", destination.progressWanted(options.quiet));

    bool someMessages = false;
    NumberColumns numbers(options, delimiter, "tarnwick-batch", "the analysis",
                          "such rows end with a type mismatch");
    RowReader rows(layout, numbers);
    std::vector<Field> fields;
    try {
        while (reader.next(record)) {
            const RowTexts row = rows.read(record, input.name());
            analysis.analyse(row);
            someMessages = someMessages || !analysis.endedWithResults();

            fields.clear();
            for (const std::string& text : record.fields)
                fields.push_back({text, FieldKind::text});
            fields.insert(fields.end(), analysis.results().begin(), analysis.results().end());
            writer.writeRow(fields);
            progress.rowDone();
        }
        progress.finish();
    } catch (...) {
        progress.finish();
        throw;
    }
    writer.finish();
    destination.commit();
    return someMessages ? someRowsHaveMessages : allRowsHaveResults;
}

}  // namespace

int main(int argc, char** argv) {
    if (!openClosedStandardStreams()) return failed;
    Options options;
    CLI::App app{
        "Runs the TOST equivalence analysis of the Tarnwick calculator on every row of a "
        "CSV table of summary statistics and writes one row of results each.",
        "tarnwick-batch"};
    addTableOptions(
        app, options,
        {.input = "CSV table to read; - or none for standard input",
         .format = "csv (default) or jsonl (one JSON object a row)",
         .formats = {"csv", "jsonl"},
         .digits = "shown (default): numbers exactly as the window shows them; full: the "
                   "shortest text of the unrounded double",
         .delimiter = "the input's field delimiter; by default chosen from the header line (, "
                      "unless only ; or a tab separates names the analysis reads)",
         .decimalComma = "read a comma as the decimal mark in the number columns (\"1,5\")"});
    app.set_version_flag("--version", "tarnwick-batch " TARNWICK_VERSION);
    app.footer(footer);
    return parseAndRun(app, argc, argv, options, "tarnwick-batch", [&] { return run(options); });
}

#include "table_options.h"

#include <iostream>

#include "delimiter.h"

namespace tarnwick::command_line {

void addTableOptions(CLI::App& app, TableOptions& options, const OptionHelp& help) {
    app.add_option("INPUT", options.input, help.input)->option_text("[INPUT.csv]");
    app.add_option("-o,--output", options.output,
                   "write to FILE (complete or not at all) instead of standard output")
        ->option_text("FILE");
    std::string choices;
    for (const std::string& format : help.formats)
        choices += (choices.empty() ? "" : "|") + format;
    app.add_option("--format", options.format, help.format)
        ->check(CLI::IsMember(help.formats))
        ->option_text(choices);
    app.add_option("--digits", options.digits, help.digits)
        ->check(CLI::IsMember({"shown", "full"}))
        ->option_text("shown|full");
    app.add_option("--delimiter", options.delimiter, help.delimiter)
        ->check(CLI::IsMember({",", ";", "tab"}))
        ->option_text(",|;|tab");
    app.add_flag("--decimal-comma", options.decimalComma, help.decimalComma);
    app.add_flag("-q,--quiet", options.quiet, "no progress on standard error");
}

table_io::OutputFormat outputFormatOf(const TableOptions& options,
                                      table_io::OutputFormat byDefault) {
    if (options.format == "csv") return table_io::OutputFormat::csv;
    if (options.format == "jsonl") return table_io::OutputFormat::jsonLines;
    if (options.format == "text") return table_io::OutputFormat::text;
    return byDefault;
}

Digits digitsOf(const TableOptions& options) {
    return options.digits == "full" ? Digits::full : Digits::shown;
}

char askedDelimiter(const TableOptions& options) {
    if (options.delimiter.empty()) return 0;
    return options.delimiter == "tab" ? '\t' : options.delimiter[0];
}

char chooseDelimiter(const TableOptions& options, table_io::CsvReader& reader,
                     bool (*isReadColumn)(std::string_view)) {
    char delimiter = askedDelimiter(options);
    if (delimiter == 0) delimiter = table_io::detectDelimiter(reader.peekFirstLine(), isReadColumn);
    reader.setDelimiter(delimiter);
    return delimiter;
}

int parseAndRun(CLI::App& app, int argc, char** argv, const TableOptions& options,
                const char* program, const std::function<int()>& body) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : failed;
    }
    if (options.output && options.output->empty()) {
        std::cerr << program << ": -o needs a file name (- for standard output)\n";
        return failed;
    }
    try {
        return body();
    } catch (const UsageError& error) {
        std::cerr << program << ": " << error.what() << "\nRun with --help for more information.\n";
    } catch (const table_io::InputError& error) {
        std::cout.flush();
        if (error.line() > 0) {
            std::cerr << error.what() << '\n';
        } else {
            std::cerr << error.file() << ": " << error.description() << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << program << ": " << error.what() << '\n';
    }
    return failed;
}

}  // namespace tarnwick::command_line

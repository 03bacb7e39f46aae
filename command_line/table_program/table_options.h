#pragma once
// The command line both table programs share: where the table comes from and
// where the answers go, how they are written, how the input is read, and how
// a failure reaches the user (a message on standard error and status 2).

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "digits.h"
#include "output_writer.h"

namespace tarnwick::command_line {

struct TableOptions {
    std::string input;
    std::optional<std::string> output;  // "-" or none: standard output
    std::string format;                 // empty: the program's default
    std::string digits = "shown";
    std::string delimiter;  // empty: chosen from the header line
    bool decimalComma = false;
    bool quiet = false;
};

// The help texts that differ between the programs.
struct OptionHelp {
    const char* input;
    const char* format;
    std::vector<std::string> formats;  // the words --format takes
    const char* digits;
    const char* delimiter;
    const char* decimalComma;
};

// The help of --format and --digits in the programs that write one row a study.
inline constexpr const char* studyFormatHelp =
    "csv (default), jsonl (one JSON object a study) or text (a few lines a study)";
inline constexpr const char* studyDigitsHelp =
    "shown (default): 6 significant digits; full: the shortest text of every double";

// Adds INPUT, -o, --format, --digits, --delimiter, --decimal-comma and -q.
void addTableOptions(CLI::App& app, TableOptions& options, const OptionHelp& help);

// The --format asked for, or `byDefault` when none was.
table_io::OutputFormat outputFormatOf(const TableOptions& options,
                                      table_io::OutputFormat byDefault);

// --digits as the engine's spelling.
Digits digitsOf(const TableOptions& options);

// The --delimiter asked for; 0 when the program is to choose it.
char askedDelimiter(const TableOptions& options);

// The field delimiter: the one asked for, or the one the header line shows
// (see command_line/table_io/delimiter.h), set on the reader and returned.
char chooseDelimiter(const TableOptions& options, table_io::CsvReader& reader,
                     bool (*isReadColumn)(std::string_view));

// A command line that parses but asks for something impossible.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int failed = 2;

// Parses the command line and runs `body`; what goes wrong on the way is told
// on standard error, starting with `program` (or FILE:LINE for the input),
// and gives status 2. Help and version give 0.
int parseAndRun(CLI::App& app, int argc, char** argv, const TableOptions& options,
                const char* program, const std::function<int()>& body);

}  // namespace tarnwick::command_line

// A table given to the planner, with any of its reading options, is read as
// the program reads it: the delimiter chosen, the header's columns found,
// each row's width checked and its number columns read, and the row planned.
// Every refusal is one InputError at a line of the table; a row is answered
// or has a message, never both, and every message and note is printable and
// short.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "csv_reader.h"
#include "number_columns.h"
#include "plan_row_reader.h"
#include "plan_table.h"
#include "row_plan.h"
#include "table_options.h"
#include "table_rows.h"

namespace {

using namespace tarnwick::planner;
using tarnwick::table_io::CsvReader;

void readTable(const tarnwick::command_line::TableOptions& options, std::FILE* input) {
    CsvReader reader(input, "t.csv");
    const char delimiter = tarnwick::command_line::chooseDelimiter(options, reader, isInputColumn);
    CsvRecord record;
    if (!reader.next(record)) return;
    const PlanTable table(record, "t.csv");
    tarnwick::command_line::NumberColumns numbers(options, delimiter, "tarnwick-plan",
                                                  "the planner", "such rows are not answered");
    const Digits digits = tarnwick::command_line::digitsOf(options);
    PlanRowReader rows(table, numbers);
    for (std::size_t read = 0; read < tarnwick::fuzz::rowsRead && reader.next(record); ++read) {
        const RowPlan row = planRow(rows.read(record, "t.csv"), digits);
        if (row.answered != row.message.empty()) std::abort();
        tarnwick::fuzz::requirePrintableLine(row.message);
        tarnwick::fuzz::requirePrintableLine(row.sentence);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tarnwick::fuzz::readFuzzedTable(data, size, readTable);
}

// A table given to the batch program, with any of its reading options, is
// read as the program reads it: the delimiter chosen, the header laid out,
// each row's width checked, its number and settings columns read, and the
// row analysed.
// Every refusal is one InputError at a line of the table, every row's message
// and every note printable and short, and no copied field holds a zero byte.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "csv_reader.h"
#include "number_columns.h"
#include "row_analysis.h"
#include "row_reader.h"
#include "table_layout.h"
#include "table_options.h"
#include "table_rows.h"

namespace {

using namespace tarnwick::batch;
using tarnwick::table_io::CsvReader;

void readTable(const tarnwick::command_line::TableOptions& options, std::FILE* input) {
    CsvReader reader(input, "t.csv");
    const char delimiter = tarnwick::command_line::chooseDelimiter(options, reader, isReadColumn);
    CsvRecord record;
    if (!reader.next(record)) return;
    const TableLayout layout(record, "t.csv");
    // A table with a margin or better column gains the one-sided p values.
    const std::size_t resultWidth =
        resultColumnCount + (layout.oneSidedColumnsWritten() ? oneSidedColumns.size() : 0);
    if (layout.outputColumns().size() != layout.inputWidth() + resultWidth) std::abort();
    tarnwick::command_line::NumberColumns numbers(
        options, delimiter, "tarnwick-batch", "the analysis", "such rows end with a type mismatch");
    RowAnalysis analysis(tarnwick::command_line::digitsOf(options),
                         layout.oneSidedColumnsWritten());
    RowReader rows(layout, numbers);
    for (std::size_t read = 0; read < tarnwick::fuzz::rowsRead && reader.next(record); ++read) {
        const RowTexts row = rows.read(record, "t.csv");
        analysis.analyse(row);
        if (analysis.results().size() != resultWidth) std::abort();
        const std::string_view message = analysis.results().front().text;
        if (analysis.endedWithResults() != message.empty()) std::abort();
        tarnwick::fuzz::requirePrintableLines(message);
        for (const std::string& field : record.fields) {
            if (std::memchr(field.data(), '\0', field.size()) != nullptr) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tarnwick::fuzz::readFuzzedTable(data, size, readTable);
}

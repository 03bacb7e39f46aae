// A table given to the batch program, with any of its reading options, is
// read as the program reads it: the delimiter chosen, the header laid out,
// each row's width checked, its number and settings columns read, and the
// row analysed.
// Every refusal is one InputError at a line of the table, every row's message
// and every note printable and short, and no copied field holds a zero byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "csv_reader.h"
#include "number_columns.h"
#include "row_analysis.h"
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
    if (layout.outputColumns().size() != layout.inputWidth() + resultColumnCount) std::abort();
    tarnwick::command_line::NumberColumns numbers(
        options, delimiter, "tarnwick-batch", "the analysis", "such rows end with a type mismatch");
    RowAnalysis analysis(options.digits == "full" ? Digits::full : Digits::shown);
    std::array<std::string, boxInputColumns.size()> decimalPoints;
    std::array<std::string, settingsColumns.size()> settingsDecimalPoints;
    for (std::size_t rows = 0; rows < tarnwick::fuzz::rowsRead && reader.next(record); ++rows) {
        layout.checkWidth(record, "t.csv");
        RowTexts row;
        for (std::size_t i = 0; i < row.boxes.size(); ++i) {
            const auto at = layout.boxPositions()[i];
            if (at)
                row.boxes[i] =
                    numbers.read(record.fields[*at], decimalPoints[i], "t.csv", record.line);
        }
        if (const auto at = layout.designPosition()) row.design = record.fields[*at];
        if (const auto at = layout.dfPosition()) row.df = record.fields[*at];
        for (std::size_t i = 0; i < row.settings.size(); ++i) {
            const auto at = layout.settingsPositions()[i];
            if (!at) continue;
            const bool number = std::find(setting::numbers.begin(), setting::numbers.end(), i) !=
                                setting::numbers.end();
            row.settings[i] = number ? numbers.read(record.fields[*at], settingsDecimalPoints[i],
                                                    "t.csv", record.line)
                                     : std::string_view(record.fields[*at]);
        }
        analysis.analyse(row);
        if (analysis.results().size() != resultColumnCount) std::abort();
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
    if (size < 2) return 0;
    const auto options = tarnwick::fuzz::optionsFrom(data[0]);
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const tarnwick::fuzz::File input = tarnwick::fuzz::openBytes(bytes);
    const tarnwick::fuzz::CaughtNotes notes;
    try {
        readTable(options, input.get());
    } catch (const InputError& error) {
        if (error.line() < 1) std::abort();
        tarnwick::fuzz::requirePrintableLine(error.what());
    }
    return 0;
}

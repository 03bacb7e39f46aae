// The noncentral t intervals of a table's rows: how many distribution
// evaluations each takes and how long, with the batch program's own row
// analysis (tarnwick-batch without its output). Usage: interval_effort TABLE.csv

#include <cstdio>
#include <ctime>
#include <iostream>

#include "csv_reader.h"
#include "noncentral_t_interval.h"
#include "row_analysis.h"
#include "table_layout.h"

using namespace tarnwick;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: interval_effort TABLE.csv\n";
        return 2;
    }
    std::FILE* input = std::fopen(argv[1], "rb");
    if (input == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    table_io::CsvReader reader(input, argv[1]);
    table_io::CsvRecord record;
    if (!reader.next(record)) return 2;
    const batch::TableLayout layout(record, argv[1]);
    batch::RowAnalysis analysis(batch::Digits::shown);
    long rows = 0;
    const std::clock_t start = std::clock();
    while (reader.next(record)) {
        batch::RowTexts row;
        for (std::size_t i = 0; i < row.boxes.size(); ++i) {
            if (const auto at = layout.boxPositions()[i]) row.boxes[i] = record.fields[*at];
        }
        if (const auto at = layout.designPosition()) row.design = record.fields[*at];
        if (const auto at = layout.dfPosition()) row.df = record.fields[*at];
        analysis.analyse(row);
        ++rows;
    }
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    const IntervalEffort effort = intervalEffort();
    std::printf(
        "rows %ld, intervals %llu (%.2f a row), cdf evaluations %llu (%.2f an interval), "
        "%.0f rows per CPU second without writing\n",
        rows, effort.intervals, double(effort.intervals) / rows, effort.evaluations,
        double(effort.evaluations) / effort.intervals, rows / seconds);
    std::fclose(input);
}

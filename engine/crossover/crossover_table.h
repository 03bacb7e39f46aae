#pragma once
// A long table of crossover studies, one response a row, read into
// CrossoverStudy values: columns `subject`, `sequence`, `period`,
// `treatment` and the response's (by default `response`), and optionally
// `study`. Cells follow the engine's rules for tables of scores
// (score_cell.h, table_shape.h): trimmed names, missing responses empty, NA,
// . or NaN, the delimiter chosen from the header line and a decimal comma
// from the responses when the table is not separated by commas.
//
// A table that would be analysed wrongly is refused whole, as
// table_io::InputError naming the file and line: a column missing or named
// twice; an empty name cell; a period that is not a whole number from 1 to
// 99; a response that is not a number, or is zero or negative (its log is
// taken); a third treatment in a study; a subject in two sequences; a second
// row for one subject and period; a period whose treatment contradicts the
// sequence; a sequence none of whose subjects has a response.
//
// A sequence's label spells its order when every label of the study is made
// of the first letters of the two treatments' names ("TR" and "RT" for T and
// R, or for Test and Ref): period p then takes the treatment of letter p.
// Other labels ("1", "AB" with treatments X and Y) are names only, and every
// subject of a sequence must take the same treatment in the same period.

#include <cstdio>
#include <string>
#include <vector>

#include "crossover_study.h"
#include "csv_reader.h"

namespace tarnwick::crossover {

struct CrossoverReadOptions {
    std::string reference = "R";        // the reference treatment's name
    std::string response = "response";  // the response column's name
    // The treatment column's name: a window that names the columns itself
    // calls it as its own layout does.
    std::string treatment = "treatment";
    char delimiter = 0;         // 0: chosen from the header line
    bool decimalComma = false;  // false: chosen from the responses
};

struct CrossoverTable {
    std::vector<CrossoverStudy> studies;  // in order of first appearance
    bool hasStudyColumn = false;
    char delimiter = ',';
    char decimalMark = '.';
};

// Reads the whole table from `input`, named `fileName` in errors. Throws
// table_io::InputError as above.
CrossoverTable readCrossoverTable(std::FILE* input, const std::string& fileName,
                                  const CrossoverReadOptions& options);

// The same from rows already split into fields (a window's grid): `header`
// names the columns, each record carries its line. `delimiter` only words
// the hints of refusals.
CrossoverTable crossoverTableOf(const std::vector<std::string>& header,
                                std::vector<table_io::CsvRecord> rows, const std::string& fileName,
                                const CrossoverReadOptions& options, char delimiter);

}  // namespace tarnwick::crossover

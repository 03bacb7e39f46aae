#pragma once
// A table of raw scores read into studies: long (a `group` and a `score`
// column, and for matched scores a `pair` column) or wide (two score
// columns, side by side; matched scores pair by row), with an optional
// `study` column. Cells are read by the data window's rules (score_cell.h,
// table_shape.h): its missing values, its choice of delimiter from the
// header line and of a decimal comma from the cells, and a first row holding
// a number read as data under the names "Column 1", "Column 2", so a table
// reads the same in both. This is tarnwick-scores' reader; the data window's
// grid of cells is score_table.h. Study names, group names and pair ids are
// trimmed; cells shown in messages are quoted by table_io::quotedField.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "design.h"

namespace tarnwick::data {

using tarnwick::Design;

struct Study {
    std::string name;                    // the `study` cell; empty when there is no such column
    std::string label1, label2;          // the groups' values (long) or column names (wide)
    std::vector<double> group1, group2;  // matched: complete pairs, in the same order
    long missing1 = 0, missing2 = 0;     // missing scores (matched: a pair lacking this group's)
    long firstLine = 0;                  // where the study's first row is
    std::string problem;  // a study that cannot be analysed as it stands: more than two groups
};

struct StudyTable {
    std::vector<Study> studies;  // in order of first appearance
    bool wide = false;
    bool hasStudyColumn = false;
    char delimiter = ',';
    char decimalMark = '.';
    // Header names that differ from a name read ("study", "group", "score",
    // "pair") only in case or spaces, and so are not read as it.
    std::vector<std::string> nearMisses;
    // The first score read with a decimal comma when the mark was chosen from
    // the scores (not asked for), and its line; 0 otherwise.
    long guessedCommaLine = 0;
    std::string guessedCommaCell;
};

struct StudyReadOptions {
    Design design = Design::independent;
    char delimiter = 0;         // 0: chosen from the header line
    bool decimalComma = false;  // false: chosen from the cells
    // When set, and the input can be read twice (a file, not a pipe) and the
    // rows of each study stand together, each study is handed here as soon
    // as its last row is read and the table's `studies` stay empty: memory
    // for one study at a time. Otherwise every study is kept.
    std::function<void(Study&&)> ready;
};

// Reads the whole table from `input`, named `fileName` in errors. Throws
// table_io::InputError (FILE:LINE) for a malformed table: an empty input, missing
// columns, a row with fewer fields than the header (or more that are not
// empty), a score that is neither a number nor missing, an empty group, a
// pair given twice. A table separated by commas, or read with a decimal
// comma, goes into its studies row by row; otherwise the decimal mark is
// chosen from the scores (detectDecimalMark's rule) as they come, and only
// the rows from the first score that reads either way until the mark is
// known are kept as text: a table of decimal points is never held.
StudyTable readStudyTable(std::FILE* input, const std::string& fileName,
                          const StudyReadOptions& options);

}  // namespace tarnwick::data

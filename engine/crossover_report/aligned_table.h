#pragma once
// A table in plain text for a fixed-width font: a caption line, then the
// column names and the rows, each column as wide as its widest cell plus two
// spaces, text to the left and numbers to the right.

#include <string>
#include <vector>

namespace tarnwick::crossover_report {

struct TableColumn {
    std::string name;
    bool number = false;  // right-aligned
};

// The caption, the header and one line a row, no line ending in spaces.
// Widths are counted in bytes, so a name in UTF-8 beyond ASCII may stand out
// of line; the tables' own words are ASCII.
std::vector<std::string> alignedTable(const std::string& caption,
                                      const std::vector<TableColumn>& columns,
                                      const std::vector<std::vector<std::string>>& rows);

}  // namespace tarnwick::crossover_report

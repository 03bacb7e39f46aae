#pragma once
// A table of scores read from pasted text or from a file, with its delimiter,
// decimal mark and header row found out, and every row as wide as the widest.

#include <string>
#include <vector>

namespace tarnwick::data {

enum class HeaderRow { detect, present, absent };

struct TableRow {
    long row = 0;  // where the row starts in the text: its line, from 1
    std::vector<std::string> cells;
};

struct ScoreTable {
    std::vector<std::string> columnNames;  // the header's, or "Column 1", "Column 2", ...
    std::vector<TableRow> rows;            // the data rows, header excluded
    char delimiter = ',';
    char decimalMark = '.';
    bool hasHeader = false;
};

// Reads a table from the bytes of a file or of pasted text: UTF-8 with or
// without a byte order mark, lines ending in LF or CRLF, fields as RFC 4180
// quotes them. Throws DataError for UTF-16, binary or malformed input and for
// a table without a data row.
ScoreTable readScoreTable(const std::string& bytes, HeaderRow header = HeaderRow::detect);

// The same, from a file; at most maxFileBytes are read.
constexpr long maxFileBytes = 64L << 20;
ScoreTable readScoreTableFile(const std::string& path, HeaderRow header = HeaderRow::detect);

// The file's bytes, for callers that read a file once and the table again
// when the header choice changes. Throws DataError when it cannot be read.
std::string readFileBytes(const std::string& path);

}  // namespace tarnwick::data

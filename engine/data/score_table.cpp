#include "score_table.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "csv_reader.h"
#include "data_error.h"
#include "score_cell.h"
#include "table_shape.h"

namespace tarnwick::data {
namespace {

constexpr char utf8ByteOrderMark[] = "\xEF\xBB\xBF";

bool startsWith(const std::string& bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && bytes.compare(0, prefix.size(), prefix) == 0;
}

// The CSV reader would stop at the first field that is not UTF-8 with "field 1
// is not valid UTF-8"; a file saved in another form deserves a sentence that
// says what it is and what to do.
void requireUtf8Text(const std::string& bytes) {
    const std::string saveAs = " Save it as CSV (UTF-8) or copy and paste the scores.";
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF"))
        throw DataError(DataErrorNumber::notUtf8Text, "The text is in UTF-16, not UTF-8." + saveAs);
    if (startsWith(bytes, std::string_view("PK\x03\x04", 4)))
        throw DataError(
            DataErrorNumber::notUtf8Text,
            "This is a spreadsheet workbook or another archive, not a table of text." + saveAs);
    const std::size_t firstNul = bytes.find('\0');
    if (firstNul == std::string::npos) return;
    // UTF-16 without a byte order mark: every other byte of plain text is zero.
    std::size_t evenZeros = 0, oddZeros = 0;
    const std::size_t looked = std::min<std::size_t>(bytes.size(), 512);
    for (std::size_t i = 0; i < looked; ++i) {
        if (bytes[i] == '\0') ++(i % 2 == 0 ? evenZeros : oddZeros);
    }
    const bool utf16 = looked >= 4 && (evenZeros * 2 >= looked - 1 || oddZeros * 2 >= looked - 1) &&
                       std::min(evenZeros, oddZeros) == 0;
    if (utf16)
        throw DataError(DataErrorNumber::notUtf8Text, "The text is in UTF-16, not UTF-8." + saveAs);
    throw DataError(DataErrorNumber::notUtf8Text,
                    "This is a binary file, not a table of text (it holds a zero byte at byte " +
                        std::to_string(firstNul + 1) + ")." + saveAs);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::vector<table_io::CsvRecord> readRecords(const std::string& bytes, char delimiter) {
    std::vector<table_io::CsvRecord> records;
    if (bytes.empty()) return records;
    // fmemopen reads the caller's buffer in place; "r" never writes to it.
    File input(fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r"));
    if (!input)
        throw DataError(DataErrorNumber::unreadable,
                        std::string("The text cannot be read: ") + std::strerror(errno) + ".");
    try {
        table_io::CsvReader reader(input.get(), "text", delimiter);
        table_io::CsvRecord record;
        while (reader.next(record))
            records.push_back(std::move(record));
    } catch (const table_io::InputError& error) {
        throw DataError(DataErrorNumber::malformedTable,
                        "Row " + std::to_string(error.line()) + ": " + error.description() + ".",
                        error.line());
    }
    return records;
}

bool isBlank(const table_io::CsvRecord& record) {
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& field) { return trimmed(field).empty(); });
}

}  // namespace

ScoreTable readScoreTable(const std::string& bytes, HeaderRow header) {
    requireUtf8Text(bytes);
    std::string_view text = bytes;
    if (startsWith(bytes, utf8ByteOrderMark)) text.remove_prefix(3);

    ScoreTable table;
    table.delimiter = detectDelimiter(text);
    std::vector<table_io::CsvRecord> records = readRecords(bytes, table.delimiter);
    // A row of empty fields (",," or spaces) carries no scores and no names.
    std::erase_if(records, isBlank);
    if (records.empty())
        throw DataError(DataErrorNumber::noScores, "There are no scores: the table is empty.");

    std::size_t width = 0;
    // The fields are moved, not copied: a table of a million rows held twice
    // took twice the memory for no use.
    std::vector<std::vector<std::string>> cells;
    cells.reserve(records.size());
    for (auto& record : records) {
        width = std::max(width, record.fields.size());
        cells.push_back(std::move(record.fields));
    }
    for (auto& row : cells)
        row.resize(width);
    table.decimalMark = detectDecimalMark(cells, table.delimiter);
    table.hasHeader = header == HeaderRow::present ||
                      (header == HeaderRow::detect && looksLikeHeader(cells, table.decimalMark));

    for (std::size_t column = 0; column < width; ++column) {
        std::string name = table.hasHeader ? std::string(trimmed(cells.front()[column])) : "";
        if (name.empty()) name = "Column " + std::to_string(column + 1);
        table.columnNames.push_back(std::move(name));
    }
    for (std::size_t i = table.hasHeader ? 1 : 0; i < records.size(); ++i)
        table.rows.push_back({records[i].line, std::move(cells[i])});
    if (table.rows.empty())
        throw DataError(DataErrorNumber::noScores,
                        "There are no scores: the table has a header row and nothing below it.");
    return table;
}

std::string readFileBytes(const std::string& path) {
    const auto cannotRead = [&path](const std::string& why) {
        return DataError(DataErrorNumber::unreadable,
                         "The file " + path + " cannot be read: " + why + ".");
    };
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) throw cannotRead(std::strerror(errno));
    std::string bytes;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, got);
        if (static_cast<long>(bytes.size()) > maxFileBytes)
            throw cannotRead("it is larger than " + std::to_string(maxFileBytes >> 20) +
                             " MiB, far more than a table of scores");
    }
    if (std::ferror(file.get())) throw cannotRead(std::strerror(errno));
    return bytes;
}

ScoreTable readScoreTableFile(const std::string& path, HeaderRow header) {
    return readScoreTable(readFileBytes(path), header);
}

}  // namespace tarnwick::data

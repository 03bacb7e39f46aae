#pragma once
// Writes the output table: CSV (RFC 4180 quoting, LF line ends, a header row)
// or JSON Lines (one object a row, keys in column order).

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::table_io {

enum class OutputFormat { csv, jsonLines };

enum class FieldKind {
    text,    // always a string in JSON
    number,  // a JSON number when the text is one ("-2.23607", "1E+15"), else a string
};

// An empty text is an empty CSV field and a JSON null, whatever its kind.
struct Field {
    std::string_view text;
    FieldKind kind = FieldKind::text;
};

class OutputWriter {
public:
    // Writes to `out`, which the caller keeps open; the CSV header is written at once.
    OutputWriter(std::FILE* out, OutputFormat format, const std::vector<std::string>& columns);

    // One field for each column. Throws std::runtime_error when writing fails.
    void writeRow(const std::vector<Field>& fields);
    // Flushes; throws std::runtime_error when anything written has failed.
    void finish();

private:
    void writeCsvRow(const std::vector<Field>& fields);
    void writeJsonRow(const std::vector<Field>& fields);
    void put(std::string_view text);

    std::FILE* out_;
    OutputFormat format_;
    std::size_t width_;
    std::vector<std::string> jsonKeys_;  // each already written as "name":
    std::string line_;
};

// True when `text` is a number by the JSON grammar (RFC 8259).
bool isJsonNumber(std::string_view text);

}  // namespace tarnwick::table_io

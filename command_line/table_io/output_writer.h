#pragma once
// Writes the answers: a table in CSV (RFC 4180 quoting, LF line ends, a header
// row) or JSON Lines (one object a row, keys in column order), or text for
// people, each answer's lines as the program words them.

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace tarnwick::table_io {

enum class OutputFormat { csv, jsonLines, text };

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
    // Writes to `out`, which the caller keeps open; the CSV header is written
    // at once. Text has no columns.
    OutputWriter(std::FILE* out, OutputFormat format, const std::vector<std::string>& columns);

    OutputFormat format() const { return format_; }

    // One field for each column of a table. Throws std::runtime_error when
    // writing fails.
    void writeRow(const std::vector<Field>& fields);
    // The same, from fields that say whether each is a number ({text, number}).
    template <class Marked>
    requires std::is_same_v<decltype(Marked::number), bool>
    void writeRow(const std::vector<Marked>& marked) {
        std::vector<Field> fields;
        fields.reserve(marked.size());
        for (const Marked& field : marked)
            fields.push_back({field.text, field.number ? FieldKind::number : FieldKind::text});
        writeRow(fields);
    }
    // An answer's text, as it stands, when the format is text.
    void writeText(std::string_view text);
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

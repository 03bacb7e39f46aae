// Any bytes, with any of the three delimiters, either read as records or stop
// with one InputError at a line of the input. What reads holds neither a
// zero byte nor anything but UTF-8, reads back the same when written again
// with every field quoted, and quotes as a short printable message; its
// decimal commas become points without moving a byte.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "decimal_comma.h"
#include "message_checks.h"
#include "quoted_field.h"

namespace {

using tarnwick::table_io::CsvReader;
using tarnwick::table_io::CsvRecord;
using tarnwick::table_io::InputError;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Nothing when the input is refused; the refusal must name a line within it.
std::vector<CsvRecord> readAll(const std::string& bytes, char delimiter, bool* refused) {
    std::vector<CsvRecord> records;
    *refused = false;
    if (bytes.empty()) return records;
    std::unique_ptr<std::FILE, FileCloser> input(
        fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r"));
    if (!input) std::abort();
    try {
        CsvReader reader(input.get(), "t.csv", delimiter);
        CsvRecord record;
        while (reader.next(record))
            records.push_back(std::move(record));
    } catch (const InputError& error) {
        long lines = 1;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const bool crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
            if (bytes[i] == '\n' || (bytes[i] == '\r' && !crlf)) ++lines;
        }
        if (error.line() < 1 || error.line() > lines) std::abort();
        tarnwick::fuzz::requirePrintableLine(error.what());
        *refused = true;
        records.clear();
    }
    return records;
}

std::string quotedRecords(const std::vector<CsvRecord>& records, char delimiter) {
    std::string text;
    for (const CsvRecord& record : records) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            if (i > 0) text += delimiter;
            text += '"';
            for (const char c : record.fields[i]) {
                if (c == '"') text += '"';
                text += c;
            }
            text += '"';
        }
        text += '\n';
    }
    return text;
}

}  // namespace

// Input: one byte choosing the delimiter, then the table.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr char delimiters[] = {',', ';', '\t'};
    const char delimiter = delimiters[data[0] % 3];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    bool refused = false;
    const std::vector<CsvRecord> records = readAll(bytes, delimiter, &refused);
    if (refused) return 0;
    long lastLine = 0;
    std::string points;
    for (const CsvRecord& record : records) {
        if (record.line < 1 || record.line < lastLine || record.fields.empty()) std::abort();
        lastLine = record.line;
        for (const std::string& field : record.fields) {
            if (std::memchr(field.data(), '\0', field.size()) != nullptr) std::abort();
            tarnwick::fuzz::requirePrintableLine(tarnwick::table_io::quotedField(field));
            tarnwick::table_io::withDecimalPoints(field, points);
            if (points.size() != field.size() || points.find(',') != std::string::npos)
                std::abort();
            if (tarnwick::table_io::hasDecimalComma(field) && field.find(',') == std::string::npos)
                std::abort();
        }
    }

    bool again = false;
    const std::vector<CsvRecord> reread =
        readAll(quotedRecords(records, delimiter), delimiter, &again);
    if (again || reread.size() != records.size()) std::abort();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (reread[i].fields != records[i].fields) std::abort();
    }
    return 0;
}

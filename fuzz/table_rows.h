#pragma once
// What the batch and plan harnesses share: the first byte of an input as the
// table options a user could give, the rest as the table, the notes the
// programs write on standard error caught so they can be checked, and a
// refusal that must be one InputError at a line of the table.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "csv_reader.h"
#include "message_checks.h"
#include "table_options.h"

namespace tarnwick::fuzz {

// Bits 0-1: the delimiter (chosen from the header, ",", ";" or "tab");
// bit 2: --decimal-comma; bit 3: --digits full.
inline command_line::TableOptions optionsFrom(std::uint8_t bits) {
    constexpr const char* delimiters[] = {"", ",", ";", "tab"};
    command_line::TableOptions options;
    options.delimiter = delimiters[bits & 3];
    options.decimalComma = (bits & 4) != 0;
    options.digits = (bits & 8) != 0 ? "full" : "shown";
    return options;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

inline File openBytes(const std::string& bytes) {
    // The caller gives at least one byte: fmemopen refuses a buffer of none.
    File file(fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "r"));
    if (!file) std::abort();
    return file;
}

// Standard error, caught for as long as the object lives; each note a line.
class CaughtNotes {
public:
    CaughtNotes() : saved_(std::cerr.rdbuf(notes_.rdbuf())) {}
    ~CaughtNotes() {
        std::cerr.rdbuf(saved_);
        requirePrintableLines(notes_.str());
    }
    CaughtNotes(const CaughtNotes&) = delete;
    CaughtNotes& operator=(const CaughtNotes&) = delete;

private:
    std::ostringstream notes_;
    std::streambuf* saved_;
};

// Rows past these are not read: one row of every kind fits in a few, and
// every row runs a whole analysis.
inline constexpr std::size_t rowsRead = 8;

// Reads the input as a program reads a table: `readTable(options, file)` with
// the options of the first byte and a file of the rest, its notes caught.
template <class ReadTable>
int readFuzzedTable(const std::uint8_t* data, std::size_t size, ReadTable readTable) {
    if (size < 2) return 0;
    const command_line::TableOptions options = optionsFrom(data[0]);
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const File input = openBytes(bytes);
    const CaughtNotes notes;
    try {
        readTable(options, input.get());
    } catch (const table_io::InputError& error) {
        if (error.line() < 1) std::abort();
        requirePrintableLine(error.what());
    }
    return 0;
}

}  // namespace tarnwick::fuzz

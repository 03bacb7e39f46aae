#pragma once
// Reads an RFC 4180 table record by record, with the physical line on which
// each record starts, so that every complaint about the input can say where.

#include <csv.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::table_io {

// Malformed or unreadable input, at a line of a named input ("-" style names
// are the caller's business). what() is "FILE:LINE: description".
class InputError : public std::runtime_error {
public:
    InputError(std::string file, long line, std::string description);
    const std::string& file() const { return file_; }
    long line() const { return line_; }
    const std::string& description() const { return description_; }

private:
    std::string file_;
    long line_;
    std::string description_;
};

struct CsvRecord {
    long line = 0;  // physical line where it starts: from 1, LF, CR and CRLF each end one
    std::vector<std::string> fields;
};

// Fields are taken exactly as they stand: no spaces trimmed, quotes only as
// RFC 4180 allows them, every field valid UTF-8 without a zero byte. A byte-order mark at the
// start is skipped; lines end in LF, CRLF or a lone CR; blank lines are skipped.
class CsvReader {
public:
    // Reads from `input`, which the caller keeps open; `fileName` names it in
    // errors. Fields are separated by `delimiter` (',', ';' or a tab).
    CsvReader(std::FILE* input, std::string fileName, char delimiter = ',');
    ~CsvReader();
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // The next record, or false at the end of the input. Throws InputError.
    bool next(CsvRecord& record);

    // The first line of the input (up to 64 KiB of it, without its line end
    // and a byte-order mark), read but not consumed, so that the delimiter
    // can be chosen from it before the first call of next.
    std::string_view peekFirstLine();
    void setDelimiter(char delimiter);

private:
    static void onField(void* data, std::size_t size, void* self);
    static void onRecordEnd(int terminator, void* self);
    void feedLine(const char* data, std::size_t size);
    bool fill();
    [[noreturn]] void fail(long line, std::string description) const;
    void failOnPendingError() const;

    std::FILE* input_;
    std::string fileName_;
    csv_parser parser_{};
    std::vector<char> buffer_;
    std::size_t bufferStart_ = 0, bufferEnd_ = 0;
    bool atStart_ = true, atEnd_ = false;
    long line_ = 1;  // the line whose bytes are being fed
    bool inRecord_ = false;
    char lastFed_ = '\0';  // the last byte given to the parser, across reads
    CsvRecord current_;
    std::vector<CsvRecord> ready_;  // completed while feeding the last line
    std::size_t nextReady_ = 0;
    // An error seen inside a libcsv callback, raised once control is back in C++.
    long pendingErrorLine_ = 0;
    std::string pendingError_;
};

}  // namespace tarnwick::table_io

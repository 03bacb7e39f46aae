#include "csv_reader.h"

#include <cerrno>
#include <cstring>

namespace tarnwick::table_io {
namespace {

constexpr std::size_t readSize = 1 << 16;
constexpr unsigned char byteOrderMark[] = {0xEF, 0xBB, 0xBF};

// RFC 4180 counts spaces as part of a field; libcsv would trim them.
int noSpaces(unsigned char) { return 0; }

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Well-formed UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool isValidUtf8(const unsigned char* s, std::size_t size) {
    std::size_t i = 0;
    while (i < size) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (size - i < length || s[i + 1] < low || s[i + 1] > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if (!isContinuation(s[i + k])) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

InputError::InputError(std::string file, long line, std::string description)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + description),
      file_(std::move(file)),
      line_(line),
      description_(std::move(description)) {}

CsvReader::CsvReader(std::FILE* input, std::string fileName, char delimiter)
    : input_(input), fileName_(std::move(fileName)), buffer_(readSize) {
    if (csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI) != 0)
        throw std::runtime_error("cannot set up the CSV parser");
    csv_set_space_func(&parser_, noSpaces);
    csv_set_delim(&parser_, static_cast<unsigned char>(delimiter));
}

CsvReader::~CsvReader() { csv_free(&parser_); }

void CsvReader::fail(long line, std::string description) const {
    throw InputError(fileName_, line, std::move(description));
}

void CsvReader::failOnPendingError() const {
    if (!pendingError_.empty()) fail(pendingErrorLine_, pendingError_);
}

// libcsv is C: nothing may be thrown through it, so its callbacks only note
// an error, and it is raised when csv_parse has returned.
void CsvReader::onField(void* data, std::size_t size, void* self) {
    auto& reader = *static_cast<CsvReader*>(self);
    if (!reader.pendingError_.empty()) return;
    if (!reader.inRecord_) {  // a record after a lone carriage return on the same line
        reader.inRecord_ = true;
        reader.current_.line = reader.line_;
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (size > 0 && !isValidUtf8(bytes, size)) {
        reader.pendingErrorLine_ = reader.line_;
        reader.pendingError_ =
            "field " + std::to_string(reader.current_.fields.size() + 1) + " is not valid UTF-8";
        return;
    }
    // A zero byte is valid UTF-8 but never text: copied on, it would cut the
    // output's line short for every reader written in C.
    if (size > 0 && std::memchr(data, '\0', size) != nullptr) {
        reader.pendingErrorLine_ = reader.line_;
        reader.pendingError_ = "field " + std::to_string(reader.current_.fields.size() + 1) +
                               " holds a zero byte (NUL), which a table of text never holds";
        return;
    }
    reader.current_.fields.emplace_back(static_cast<const char*>(data), size);
}

void CsvReader::onRecordEnd(int, void* self) {
    auto& reader = *static_cast<CsvReader*>(self);
    if (!reader.pendingError_.empty()) return;
    reader.ready_.push_back(std::move(reader.current_));
    reader.current_ = CsvRecord{};
    reader.inRecord_ = false;
}

void CsvReader::feedLine(const char* data, std::size_t size) {
    if (!inRecord_) {
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] != '\n' && data[i] != '\r') {
                inRecord_ = true;
                current_.line = line_;
                break;
            }
        }
    }
    const std::size_t parsed = csv_parse(&parser_, data, size, onField, onRecordEnd, this);
    failOnPendingError();
    if (parsed < size) {
        if (csv_error(&parser_) != CSV_EPARSE) fail(line_, csv_strerror(csv_error(&parser_)));
        // A quoted field has either ended, and something other than a comma or
        // a line end follows its closing quote, or a field holds a quote
        // without being quoted. The closing quote may have been the last byte
        // of the read before.
        const char before = parsed > 0 ? data[parsed - 1] : lastFed_;
        const bool quotedFieldEnded = before == '"' && data[parsed] != '"';
        fail(line_, quotedFieldEnded
                        ? "text after the closing quote of a field; a quote inside a quoted "
                          "field is written twice (\"\")"
                        : "a quote inside a field that does not start with a quote; quote the "
                          "whole field and write the quote twice (\"\")");
    }
    if (size > 0) lastFed_ = data[size - 1];
}

bool CsvReader::fill() {
    bufferStart_ = 0;
    bufferEnd_ = std::fread(buffer_.data(), 1, buffer_.size(), input_);
    if (bufferEnd_ == 0 && std::ferror(input_))
        fail(line_, std::string("cannot read: ") + std::strerror(errno));
    if (atStart_) {
        atStart_ = false;
        if (bufferEnd_ >= 3 && std::memcmp(buffer_.data(), byteOrderMark, 3) == 0) bufferStart_ = 3;
    }
    return bufferEnd_ > 0;
}

void CsvReader::setDelimiter(char delimiter) {
    csv_set_delim(&parser_, static_cast<unsigned char>(delimiter));
}

std::string_view CsvReader::peekFirstLine() {
    if (atStart_) fill();
    const char* start = buffer_.data() + bufferStart_;
    std::size_t size = 0;
    while (bufferStart_ + size < bufferEnd_ && start[size] != '\n' && start[size] != '\r')
        ++size;
    return {start, size};
}

bool CsvReader::next(CsvRecord& record) {
    while (nextReady_ == ready_.size()) {
        ready_.clear();
        nextReady_ = 0;
        if (atEnd_) return false;
        if (bufferStart_ == bufferEnd_ && !fill()) {
            atEnd_ = true;
            const long openedAt = current_.line;
            const bool unterminated = csv_fini(&parser_, onField, onRecordEnd, this) != 0 ||
                                      csv_error(&parser_) == CSV_EPARSE;
            failOnPendingError();
            if (unterminated) {
                fail(openedAt, "a quoted field is not closed: the input ends inside it");
            }
            continue;
        }
        const char* start = buffer_.data() + bufferStart_;
        const std::size_t available = bufferEnd_ - bufferStart_;
        std::size_t size = available;
        bool endsLine = false;
        if (lastFed_ == '\r' && *start == '\n') {
            size = 1;  // the LF of a CRLF that a read split, counted with its CR
        } else {
            for (std::size_t i = 0; i < available; ++i) {
                if (start[i] != '\n' && start[i] != '\r') continue;
                endsLine = true;
                size =
                    start[i] == '\r' && i + 1 < available && start[i + 1] == '\n' ? i + 2 : i + 1;
                break;
            }
        }
        feedLine(start, size);
        bufferStart_ += size;
        if (endsLine) ++line_;
    }
    record = std::move(ready_[nextReady_++]);
    return true;
}

}  // namespace tarnwick::table_io

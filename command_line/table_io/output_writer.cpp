#include "output_writer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace tarnwick::table_io {
namespace {

// One pass over the text (find_first_of searches the set once for every character).
bool needsQuotes(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

void appendCsvField(std::string& line, std::string_view text) {
    if (!needsQuotes(text)) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

void appendJsonString(std::string& line, std::string_view text) {
    line += nlohmann::json(text).dump();
}

[[noreturn]] void writeFailed() {
    throw std::runtime_error(std::string("cannot write the output: ") + std::strerror(errno));
}

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

bool isJsonNumber(std::string_view text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        return i > start;
    };
    if (i < text.size() && text[i] == '-') ++i;
    if (i < text.size() && text[i] == '0') {
        ++i;
    } else if (!digits()) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (!digits()) return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (!digits()) return false;
    }
    return i == text.size();
}

OutputWriter::OutputWriter(std::FILE* out, OutputFormat format,
                           const std::vector<std::string>& columns)
    : out_(out), format_(format), width_(columns.size()) {
    if (format_ == OutputFormat::jsonLines) {
        for (const std::string& column : columns) {
            jsonKeys_.push_back(nlohmann::json(column).dump() + ":");
        }
        return;
    }
    if (format_ == OutputFormat::text) return;
    line_.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) line_ += ',';
        appendCsvField(line_, columns[i]);
    }
    line_ += '\n';
    put(line_);
}

void OutputWriter::writeRow(const std::vector<Field>& fields) {
    if (format_ == OutputFormat::text) throw std::logic_error("a table row in text");
    if (fields.size() != width_) throw std::logic_error("a row of the wrong width");
    line_.clear();
    if (format_ == OutputFormat::csv) {
        writeCsvRow(fields);
    } else {
        writeJsonRow(fields);
    }
    put(line_);
}

void OutputWriter::writeCsvRow(const std::vector<Field>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line_ += ',';
        appendCsvField(line_, fields[i].text);
    }
    line_ += '\n';
}

void OutputWriter::writeJsonRow(const std::vector<Field>& fields) {
    line_ += '{';
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line_ += ',';
        line_ += jsonKeys_[i];
        const Field& field = fields[i];
        if (field.text.empty()) {
            line_ += "null";
        } else if (field.kind == FieldKind::number && isJsonNumber(field.text)) {
            line_ += field.text;
        } else {
            appendJsonString(line_, field.text);
        }
    }
    line_ += "}\n";
}

void OutputWriter::writeText(std::string_view text) {
    if (format_ != OutputFormat::text) throw std::logic_error("text in a table");
    put(text);
}

void OutputWriter::put(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), out_) != text.size()) writeFailed();
}

void OutputWriter::finish() {
    if (std::fflush(out_) != 0 || std::ferror(out_)) writeFailed();
}

}  // namespace tarnwick::table_io

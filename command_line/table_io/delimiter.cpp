#include "delimiter.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "csv_reader.h"

namespace tarnwick::table_io {

std::optional<std::vector<std::string>> splitHeader(std::string_view headerLine, char delimiter) {
    if (headerLine.empty()) return std::nullopt;
    std::string text(headerLine);
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> stream(
        ::fmemopen(text.data(), text.size(), "rb"), &std::fclose);
    if (!stream) return std::nullopt;
    try {
        CsvReader reader(stream.get(), "header", delimiter);
        CsvRecord record;
        if (!reader.next(record)) return std::nullopt;
        return record.fields;
    } catch (const InputError&) {
        return std::nullopt;
    }
}

char detectDelimiter(std::string_view headerLine,
                     const std::function<bool(std::string_view)>& isKnown) {
    const auto namesOneKnown = [&](char delimiter) {
        const auto names = splitHeader(headerLine, delimiter);
        return names && std::any_of(names->begin(), names->end(),
                                    [&](const std::string& name) { return isKnown(name); });
    };
    // A line with a known comma-separated name is comma-separated, whatever
    // else it holds.
    if (namesOneKnown(',')) return ',';
    for (char candidate : {';', '\t'}) {
        if (namesOneKnown(candidate)) return candidate;
    }
    return ',';
}

}  // namespace tarnwick::table_io

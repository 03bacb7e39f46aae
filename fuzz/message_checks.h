#pragma once
// What every harness asks of a message built from the input: one line of
// printable text, short whatever the input held, since a field in it is
// escaped and cut.

#include <cstddef>
#include <cstdlib>
#include <string_view>

namespace tarnwick::fuzz {

// Longer than any sentence of ours with a few cut fields in it, and far
// shorter than the megabyte field that once went into a message whole.
inline constexpr std::size_t longestMessage = 2000;

inline void requirePrintableLine(std::string_view message) {
    if (message.size() > longestMessage) std::abort();
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) std::abort();
    }
}

// Several messages of one row are kept one to a line.
inline void requirePrintableLines(std::string_view messages) {
    while (!messages.empty()) {
        const std::size_t end = messages.find('\n');
        requirePrintableLine(messages.substr(0, end));
        if (end == std::string_view::npos) break;
        messages.remove_prefix(end + 1);
    }
}

}  // namespace tarnwick::fuzz

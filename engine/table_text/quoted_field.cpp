#include "quoted_field.h"

namespace tarnwick::table_io {
namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, const char* prefix, unsigned char byte) {
    out += prefix;
    out += hexDigits[byte >> 4];
    out += hexDigits[byte & 0xF];
}

// The length of the well-formed UTF-8 character at `at`, or 0 when the bytes
// there are not one (a message must never cut a character in two, and must
// not pass on bytes a terminal would take for something else).
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char c = byte(0);
    if (c < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
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
        return 0;
    }
    if (text.size() - at < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) return 0;
    }
    return length;
}

}  // namespace

std::string quotedField(std::string_view field) {
    std::string out = "\"";
    std::size_t characters = 0, at = 0;
    bool cut = false;
    while (at < field.size()) {
        if (characters == shownFieldCharacters) {
            cut = true;
            break;
        }
        const auto c = static_cast<unsigned char>(field[at]);
        const std::size_t length = characterLength(field, at);
        if (length == 0) {
            appendHex(out, "\\x", c);
            at += 1;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            appendHex(out, "\\x", c);
        } else if (c == 0xC2 && static_cast<unsigned char>(field[at + 1]) < 0xA0) {
            appendHex(out, "\\u00", static_cast<unsigned char>(field[at + 1]));
        } else {
            out.append(field.substr(at, length));
        }
        at += length;
        ++characters;
    }
    if (!cut) return out + "\"";
    // The whole length, counted as the characters shown were: a byte that is
    // not UTF-8 counts as one.
    std::size_t total = characters;
    while (at < field.size()) {
        const std::size_t length = characterLength(field, at);
        at += length == 0 ? 1 : length;
        ++total;
    }
    return out + "...\" (" + countOf(total, "character") + ")";
}

std::string countOf(std::size_t count, std::string_view singular, std::string_view plural) {
    std::string out = std::to_string(count) + " ";
    if (count == 1) return out.append(singular);
    if (plural.empty()) return out.append(singular).append("s");
    return out.append(plural);
}

}  // namespace tarnwick::table_io

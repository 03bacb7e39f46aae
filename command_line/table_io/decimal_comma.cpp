#include "decimal_comma.h"

namespace tarnwick::table_io {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool hasDecimalComma(std::string_view text) {
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == ',' && isDigit(text[i - 1]) && isDigit(text[i + 1])) return true;
    }
    return false;
}

void withDecimalPoints(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out) {
        if (c == ',') c = '.';
    }
}

}  // namespace tarnwick::table_io

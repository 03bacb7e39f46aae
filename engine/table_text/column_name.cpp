#include "column_name.h"

#include <cctype>

namespace tarnwick::table_io {

std::string foldedColumnName(std::string_view name) {
    std::string result;
    for (unsigned char c : name) {
        if (!std::isspace(c)) result.push_back(static_cast<char>(std::tolower(c)));
    }
    return result;
}

}  // namespace tarnwick::table_io

#include "table_shape.h"

#include <algorithm>
#include <array>

#include "score_cell.h"

namespace tarnwick::data {
namespace {

constexpr std::size_t linesLookedAt = 20;

// How often `delimiter` occurs outside quotes on each of the first lines that
// are not blank. A quoted field may span lines; its line ends are not counted.
std::vector<long> countsPerLine(std::string_view text, char delimiter) {
    std::vector<long> counts;
    long count = 0;
    bool quoted = false, blank = true;
    for (std::size_t i = 0; i <= text.size() && counts.size() < linesLookedAt; ++i) {
        const char c = i < text.size() ? text[i] : '\n';
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') {
            if (!blank) counts.push_back(count);
            count = 0;
            blank = true;
            continue;
        }
        blank = false;
        if (c == delimiter) ++count;
    }
    return counts;
}

}  // namespace

char detectDelimiter(std::string_view text) {
    constexpr std::array<char, 3> candidates = {'\t', ';', ','};
    char onEveryLine = 0;
    for (const char candidate : candidates) {
        const std::vector<long> counts = countsPerLine(text, candidate);
        if (counts.empty()) continue;
        const auto [fewest, most] = std::minmax_element(counts.begin(), counts.end());
        if (*fewest == 0) continue;
        if (*fewest == *most) return candidate;
        if (onEveryLine == 0) onEveryLine = candidate;
    }
    return onEveryLine != 0 ? onEveryLine : ',';
}

char detectDecimalMark(const std::vector<std::vector<std::string>>& rows, char delimiter) {
    if (delimiter == ',') return '.';
    bool comma = false;
    for (const auto& row : rows) {
        for (const std::string& cell : row) {
            if (cell.find('.') != std::string::npos &&
                readScoreCell(cell, '.').kind == CellKind::number) {
                return '.';
            }
            if (cell.find(',') != std::string::npos &&
                readScoreCell(cell, ',').kind == CellKind::number) {
                comma = true;
            }
        }
    }
    return comma ? ',' : '.';
}

bool holdsANumber(const std::vector<std::string>& row, char decimalMark) {
    return std::any_of(row.begin(), row.end(), [decimalMark](const std::string& cell) {
        return readScoreCell(cell, decimalMark).kind == CellKind::number;
    });
}

bool looksLikeHeader(const std::vector<std::vector<std::string>>& rows, char decimalMark) {
    if (rows.size() < 2) return false;
    const auto kindAt = [&](std::size_t row, std::size_t column) {
        return column < rows[row].size() ? readScoreCell(rows[row][column], decimalMark).kind
                                         : CellKind::missing;
    };
    if (holdsANumber(rows.front(), decimalMark)) return false;
    for (std::size_t column = 0; column < rows.front().size(); ++column) {
        if (kindAt(0, column) != CellKind::notANumber) continue;
        // Mostly numbers below: a mistyped score further down must not turn
        // the names into data, or the error would point at the name.
        long numbers = 0, others = 0;
        for (std::size_t row = 1; row < rows.size(); ++row) {
            const CellKind kind = kindAt(row, column);
            numbers += kind == CellKind::number ? 1 : 0;
            others += kind == CellKind::notANumber || kind == CellKind::tooLarge ? 1 : 0;
        }
        if (numbers > others) return true;
    }
    return false;
}

}  // namespace tarnwick::data

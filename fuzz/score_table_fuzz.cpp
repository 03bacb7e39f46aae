// Any pasted text or file, with any header choice, becomes a table of scores
// or one DataError with a number and a one-line sentence. A table is
// rectangular and every layout of its first columns either summarises to
// finite numbers, written back as text that reads as the very same doubles,
// or is refused the same way.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data_error.h"
#include "message_checks.h"
#include "plain_number_text.h"
#include "score_cell.h"
#include "score_table.h"
#include "summaries.h"

namespace {

using namespace tarnwick::data;

void requireSentence(const DataError& error) {
    const int number = static_cast<int>(error.number());
    if (number < 1 || number > 12 || error.description().empty()) std::abort();
    tarnwick::fuzz::requirePrintableLine(error.description());
}

// What "Fill the boxes" writes must read back as the number computed.
void requireReadsBack(double value) {
    if (!std::isfinite(value)) std::abort();
    const ScoreCell back = readScoreCell(plainNumberText(value), '.');
    if (back.kind != CellKind::number || back.value != value) std::abort();
}

void requireSound(const GroupSummary& group) {
    if (group.n < 2 || group.missing < 0 || !(group.sd >= 0)) std::abort();
    requireReadsBack(group.mean);
    requireReadsBack(group.sd);
}

void summariseAs(const ScoreTable& table, const Selection& selection) {
    try {
        const Summaries summaries = summarise(table, selection);
        requireSound(summaries.group1);
        requireSound(summaries.group2);
        if (selection.layout == Layout::matched) {
            if (!summaries.differences) std::abort();
            requireSound(*summaries.differences);
            if (summaries.group1.n != summaries.differences->n) std::abort();
        }
    } catch (const DataError& error) {
        requireSentence(error);
    }
}

}  // namespace

// Input: one byte choosing the header row (detect, present, absent), then the bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr HeaderRow headers[] = {HeaderRow::detect, HeaderRow::present, HeaderRow::absent};
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    ScoreTable table;
    try {
        table = readScoreTable(bytes, headers[data[0] % 3]);
    } catch (const DataError& error) {
        requireSentence(error);
        return 0;
    }
    if (table.rows.empty() || table.columnNames.empty()) std::abort();
    if (table.delimiter != ',' && table.delimiter != ';' && table.delimiter != '\t') std::abort();
    if (table.decimalMark != '.' && table.decimalMark != ',') std::abort();
    for (const TableRow& row : table.rows) {
        if (row.cells.size() != table.columnNames.size() || row.row < 1) std::abort();
        for (const std::string& cell : row.cells) {
            const ScoreCell score = readScoreCell(cell, table.decimalMark);
            if (score.kind == CellKind::number) requireReadsBack(score.value);
        }
    }

    const std::size_t width = table.columnNames.size();
    const std::size_t second = width > 1 ? 1 : 0;
    summariseAs(table, {Layout::sideBySide, 0, second, "", ""});
    summariseAs(table, {Layout::matched, 0, second, "", ""});
    if (width > 2) summariseAs(table, {Layout::sideBySide, 2, 0, "", ""});
    const std::vector<std::string> groups = groupValues(table, 0);
    if (groups.size() >= 2)
        summariseAs(table, {Layout::longFormat, 0, second, groups[0], groups[1]});
    if (!groups.empty()) summariseAs(table, {Layout::longFormat, 0, second, groups[0], groups[0]});
    return 0;
}

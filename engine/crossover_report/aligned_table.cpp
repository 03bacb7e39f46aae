#include "aligned_table.h"

#include <algorithm>

namespace tarnwick::crossover_report {

std::vector<std::string> alignedTable(const std::string& caption,
                                      const std::vector<TableColumn>& columns,
                                      const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const TableColumn& column : columns)
        widths.push_back(column.name.size());
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    const auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::string& cell = c < cells.size() ? cells[c] : std::string();
            const std::string pad(widths[c] - cell.size(), ' ');
            if (c > 0) text += "  ";
            text += columns[c].number ? pad + cell : cell + pad;
        }
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    };
    std::vector<std::string> lines{caption};
    std::vector<std::string> names;
    for (const TableColumn& column : columns)
        names.push_back(column.name);
    lines.push_back(line(names));
    for (const auto& row : rows)
        lines.push_back(line(row));
    return lines;
}

}  // namespace tarnwick::crossover_report

// Runs the calculator's run command against an in-memory table of boxes, so the
// analysis can be driven and checked from outside without a window.
//
// Commands on standard input, one a line, fields separated by one TAB:
//   set<TAB>NAME<TAB>TEXT   set the text of an input or result box (TEXT may be empty)
//   select<TAB>NAME         select an option button and clear its partner
//   run                     press the run button
// After each run: one "message<TAB>TITLE<TAB>ICON<TAB>TEXT" line per message box
// shown, then "box<TAB>NAME<TAB>TEXT<TAB>COLOUR" for the 26 result boxes in the
// order the run command empties them, then "end". A malformed line is reported
// on standard error with its number, and the driver exits with status 2.

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "box_names.h"
#include "box_table.h"
#include "run_command.h"

namespace {

using tarnwick::BoxTable;
using tarnwick::MessageIcon;

std::string_view iconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::information:
            return "information";
        case MessageIcon::error:
            return "error";
        case MessageIcon::none:
            break;
    }
    return "none";
}

std::string colourText(tarnwick::Colour colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(colour));
    return buffer;
}

void report(const BoxTable& boxes) {
    for (const auto& message : boxes.messages()) {
        std::cout << "message\t" << message.title << '\t' << iconName(message.icon) << '\t'
                  << message.prompt << '\n';
    }
    for (std::string_view name : tarnwick::names::resultBoxes) {
        std::cout << "box\t" << name << '\t' << boxes.text(name) << '\t'
                  << colourText(boxes.colour(name)) << '\n';
    }
    std::cout << "end" << std::endl;
}

// Splits off the field before the next TAB; the rest stays in `line`.
std::optional<std::string_view> nextField(std::string_view& line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    std::string_view field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
    return field;
}

// Carries out one command line; false when the line is malformed.
bool execute(std::string_view line, BoxTable& boxes) {
    if (line == "run") {
        boxes.clearMessages();
        tarnwick::runCommand(boxes);
        report(boxes);
        return true;
    }
    const auto command = nextField(line);
    if (!command) return false;
    if (*command == "select") {
        if (!BoxTable::isOption(line)) return false;
        boxes.select(line);
        return true;
    }
    if (*command == "set") {
        const auto name = nextField(line);
        if (!name || !BoxTable::isBox(*name) || line.find('\t') != std::string_view::npos) {
            return false;
        }
        boxes.setText(*name, line);
        return true;
    }
    return false;
}

}  // namespace

int main() {
    BoxTable boxes;
    std::string line;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!execute(line, boxes)) {
            std::cout.flush();
            std::cerr << "box_driver: line " << number << ": malformed command: " << line << '\n';
            return 2;
        }
    }
    return 0;
}

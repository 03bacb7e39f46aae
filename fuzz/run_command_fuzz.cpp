// A whole press of the run button with arbitrary texts in the nine input boxes
// and arbitrary options must end in one of its documented ways: results and no
// message, or exactly one message; a refusal by the run button changes no box;
// and no result box ever shows something that is not a number or a verdict.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "box_names.h"
#include "box_table.h"
#include "number_text.h"
#include "run_command.h"
#include "run_time_error.h"

namespace {

using tarnwick::BoxTable;

bool isRunButtonRefusal(const tarnwick::ShownMessage& message) {
    return message.title == "Tarnwick" && message.icon == tarnwick::MessageIcon::none &&
           message.prompt.rfind("Error ", 0) != 0;
}

bool showsAllowedText(std::string_view text) {
    if (text.empty() || text.rfind("Difference is ", 0) == 0 ||
        text == "You Must Enter A Value In The Blue Box") {
        return true;
    }
    try {
        tarnwick::textToNumber(text);
        return true;
    } catch (const tarnwick::RunTimeError&) {
        return false;
    }
}

}  // namespace

// Input: one byte of option bits, then the nine box texts separated by '\n'.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    BoxTable boxes;
    boxes.select(data[0] & 1 ? tarnwick::names::opMatched : tarnwick::names::opIndependent);
    boxes.select(data[0] & 2 ? tarnwick::names::opWelch : tarnwick::names::opStudent);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    for (std::string_view box : tarnwick::names::inputBoxes) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        boxes.setText(box, rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    const auto before = boxes.boxes();

    tarnwick::runCommand(boxes);

    if (boxes.messages().size() > 1) std::abort();
    if (boxes.messages().size() == 1 && isRunButtonRefusal(boxes.messages().front()) &&
        boxes.boxes() != before) {
        std::abort();
    }
    for (std::string_view box : tarnwick::names::resultBoxes) {
        if (!showsAllowedText(boxes.text(box))) std::abort();
    }
    return 0;
}

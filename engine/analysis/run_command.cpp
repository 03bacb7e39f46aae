#include "run_command.h"

#include <array>
#include <string>

#include "box_names.h"
#include "differences.h"
#include "guarded.h"
#include "number_text.h"
#include "run_time_error.h"

namespace tarnwick {
namespace {

constexpr std::string_view missingGroupData = "You must enter some data in all the white boxes.";
constexpr std::string_view equalMeans =
    "The difference between the two mean scores must be more than zero.";
// The keystroke filters let a lone "-" or ".", or "3-5", through to a mean box;
// such a text, or a mean too large to subtract, is refused before anything changes.
constexpr std::string_view meanNotANumber =
    "The mean scores must be numbers of a sensible size, such as 12.5 or -3.";

void refuse(BoxAccess& boxes, std::string_view prompt) {
    boxes.showMessage(prompt, MessageIcon::none, applicationTitle);
}

}  // namespace

void runCommand(BoxAccess& boxes, RunRecord* record) {
    if (record != nullptr) *record = RunRecord{};
    std::array<std::string, names::groupBoxes.size()> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = boxes.text(names::groupBoxes[i]);
    for (const std::string& text : texts) {
        if (text.empty()) return refuse(boxes, missingGroupData);
    }

    double difference = 0;
    try {
        difference = guarded::sub(textToNumber(texts[0]), textToNumber(texts[1]));
    } catch (const RunTimeError&) {
        return refuse(boxes, meanNotANumber);
    }
    if (difference == 0) return refuse(boxes, equalMeans);

    for (std::string_view box : names::resultBoxes)
        boxes.setText(box, "");
    Differences(boxes, record);
}

}  // namespace tarnwick

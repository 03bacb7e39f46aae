// The run button's checks: a refusal shows one message and changes nothing;
// otherwise both result frames are emptied, in order, before the analysis runs.

#include "run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_fixture.h"
#include "box_names.h"

namespace tarnwick {
namespace {

using testing_support::Inputs;

struct Refusal {
    const char* name;
    Inputs inputs;
    const char* prompt;
    friend void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }
};

constexpr const char* whiteBoxes = "You must enter some data in all the white boxes.";
constexpr const char* sameMeans =
    "The difference between the two mean scores must be more than zero.";
constexpr const char* notNumbers =
    "The mean scores must be numbers of a sensible size, such as 12.5 or -3.";

class Refusals : public testing::TestWithParam<Refusal> {};

TEST_P(Refusals, ShowOneMessageAndChangeNothing) {
    // A previous run's results and colours are on screen.
    BoxTable boxes;
    testing_support::enter(boxes, Inputs{.mean1 = "20", .notTrivial = "1"});
    runCommand(boxes);
    ASSERT_TRUE(boxes.messages().empty());
    testing_support::enter(boxes, GetParam().inputs);
    const auto before = boxes.boxes();

    runCommand(boxes);

    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages().front(),
              (ShownMessage{GetParam().prompt, MessageIcon::none, "Tarnwick"}));
    EXPECT_EQ(boxes.boxes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    RunCommand, Refusals,
    testing::Values(
        Refusal{"EmptyMean1", Inputs{.mean1 = ""}, whiteBoxes},
        Refusal{"EmptyMean2", Inputs{.mean2 = ""}, whiteBoxes},
        Refusal{"EmptySD1", Inputs{.sd1 = ""}, whiteBoxes},
        Refusal{"EmptySD2", Inputs{.sd2 = ""}, whiteBoxes},
        Refusal{"EmptyN1", Inputs{.n1 = ""}, whiteBoxes},
        Refusal{"EmptyN2", Inputs{.n2 = ""}, whiteBoxes},
        Refusal{"EmptyBoxBeforeEqualMeans", Inputs{.mean2 = "10", .n2 = ""}, whiteBoxes},
        Refusal{"EqualMeansWrittenDifferently", Inputs{.mean1 = "5", .mean2 = "5.0"}, sameMeans},
        Refusal{"EqualNegativeZeroes", Inputs{.mean1 = "-0", .mean2 = "0"}, sameMeans},
        Refusal{"LoneMinus", Inputs{.mean1 = "-"}, notNumbers},
        Refusal{"LonePoint", Inputs{.mean2 = "."}, notNumbers},
        Refusal{"MinusPoint", Inputs{.mean1 = "-."}, notNumbers},
        Refusal{"DigitBeforeMinus", Inputs{.mean2 = "3-5"}, notNumbers},
        Refusal{"MeanBeyondDouble", Inputs{.mean1 = "1e400"}, notNumbers},
        Refusal{"DifferenceBeyondDouble", Inputs{.mean1 = "1e308", .mean2 = "-1e308"}, notNumbers}),
    [](const auto& info) { return std::string(info.param.name); });

// Records the order of the analysis's writes while passing them on.
class RecordingBoxes final : public BoxAccess {
public:
    std::string text(std::string_view box) const override { return table.text(box); }
    void setText(std::string_view box, std::string_view text) override {
        writes.emplace_back(box);
        table.setText(box, text);
    }
    void setTextColour(std::string_view box, Colour colour) override {
        table.setTextColour(box, colour);
    }
    bool isSelected(std::string_view option) const override { return table.isSelected(option); }
    void showMessage(std::string_view prompt, MessageIcon icon, std::string_view title) override {
        table.showMessage(prompt, icon, title);
    }

    BoxTable table;
    std::vector<std::string> writes;
};

TEST(RunCommand, EmptiesBothFramesInOrderBeforeTheAnalysis) {
    RecordingBoxes boxes;
    testing_support::enter(boxes.table, Inputs{});
    for (std::string_view box : names::resultBoxes)
        boxes.table.setText(box, "stale");

    runCommand(boxes);

    ASSERT_GE(boxes.writes.size(), names::resultBoxes.size());
    const std::vector<std::string> emptied(boxes.writes.begin(),
                                           boxes.writes.begin() + names::resultBoxes.size());
    EXPECT_EQ(emptied,
              std::vector<std::string>(names::resultBoxes.begin(), names::resultBoxes.end()));
    // The independent design leaves the matched frame as emptied.
    for (std::size_t i = 15; i < names::resultBoxes.size(); ++i) {
        EXPECT_EQ(boxes.table.text(names::resultBoxes[i]), "");
    }
}

TEST(RunCommand, LeavesTheRemainingChecksToTheAnalysis) {
    // Blanks are not empty, and only the means are converted here.
    BoxTable boxes = testing_support::runWith(Inputs{.sd1 = " "});
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages().front().prompt,
              "Error 13 (Type mismatch) in procedure Differences, line 210.");

    // An empty blue box and missing matched inputs are not refused here either.
    boxes = testing_support::runWith(Inputs{.notTrivial = "", .matched = true});
    ASSERT_EQ(boxes.messages().size(), 1u);
    EXPECT_EQ(boxes.messages().front().title, "Input Error");
    EXPECT_EQ(boxes.text("TxtTUpper"), "You Must Enter A Value In The Blue Box");
}

}  // namespace
}  // namespace tarnwick

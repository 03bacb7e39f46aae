// What --help prints, whole, for every program: the help is the first
// manual a user reads, so a word lost or two glued together is a fault.
// The expected texts are kept in help/; when a change to the help is meant,
// the new text goes there (and into the manual page) with it.

#include <gtest/gtest.h>

#include <string>

#include "batch_process.h"

namespace tarnwick::batch::testing {
namespace {

struct HelpCase {
    const char* program;  // the built program
    const char* name;
};

class HelpText : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpText, IsTheKeptTextWhole) {
    const Outcome help = run(GetParam().program, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    const std::string kept = std::string(HELP_DIR "/") + GetParam().name + ".txt";
    EXPECT_EQ(help.out, readFile(kept)) << "compare with " << kept;
}

INSTANTIATE_TEST_SUITE_P(Programs, HelpText,
                         ::testing::Values(HelpCase{BATCH_PROGRAM, "tarnwick-batch"},
                                           HelpCase{PLAN_PROGRAM, "tarnwick-plan"},
                                           HelpCase{SCORES_PROGRAM, "tarnwick-scores"},
                                           HelpCase{CROSSOVER_PROGRAM, "tarnwick-crossover"}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             return name.substr(name.find('-') + 1);
                         });

}  // namespace
}  // namespace tarnwick::batch::testing

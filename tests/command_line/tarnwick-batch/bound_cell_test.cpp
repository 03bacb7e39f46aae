// A `bound` cell is the half-width of symmetric bounds: a negative number is
// refused with the row's sentence (status 1), never read as bounds whose
// lower end lies above the upper. (Zero is the calculator box's own case.)

#include <gtest/gtest.h>

#include "batch_process.h"

namespace tarnwick::batch::testing {
namespace {

struct BoundCell {
    const char* name;
    const char* cell;
    int status;
    const char* lower;  // ind_lower: empty when refused
};

void PrintTo(const BoundCell& row, std::ostream* out) { *out << row.name; }

class BoundCells : public ::testing::TestWithParam<BoundCell> {};

TEST_P(BoundCells, AreReadOrRefused) {
    const BoundCell& row = GetParam();
    ScratchFolder scratch;
    writeFile(scratch.path / "in.csv",
              std::string("mean1,sd1,n1,mean2,sd2,n2,bound\n10,2,10,9,2,10,") + row.cell + "\n");
    const Outcome outcome = run(BATCH_PROGRAM, {(scratch.path / "in.csv").string()});
    EXPECT_EQ(outcome.status, row.status) << outcome.err;
    const Table t = parseCsv(outcome.out);
    ASSERT_EQ(t.rows.size(), 1u);
    EXPECT_EQ(t.at(0, "ind_lower"), row.lower);
    const std::string& message = t.at(0, "message");
    EXPECT_EQ(message.rfind("The bound must lie above 0", 0) == 0, row.status == 1) << message;
}

INSTANTIATE_TEST_SUITE_P(Cells, BoundCells,
                         ::testing::Values(BoundCell{"Positive", "3", 0, "-3"},
                                           BoundCell{"Negative", "-3", 1, ""},
                                           BoundCell{"NegativeInSpaces", " -3 ", 1, ""},
                                           BoundCell{"TinyNegative", "-1e-300", 1, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::batch::testing

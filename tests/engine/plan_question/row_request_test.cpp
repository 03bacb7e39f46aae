// Reading a row as a planning question: the defaults of absent values, the
// two ways of giving bounds, the second group's size, and one clear sentence
// for every row that cannot be read (nothing given is silently ignored).

#include <gtest/gtest.h>

#include <sstream>

#include "golden_file.h"
#include "row_request.h"

namespace tarnwick::planner {
namespace {

// "solve=n;sd=1.2" as the texts of a row.
RowTexts row(const std::string& cells) {
    RowTexts texts;
    std::istringstream items(cells);
    for (std::string item; std::getline(items, item, ';');) {
        const auto equals = item.find('=');
        const std::string name = item.substr(0, equals);
        std::size_t i = 0;
        while (i < inputColumnCount && inputColumnNames[i] != name)
            ++i;
        if (i == inputColumnCount) throw std::invalid_argument("no column " + name);
        texts[i] = item.substr(equals + 1);
    }
    return texts;
}

struct Accepted {
    const char* name;
    const char* cells;
    Question question;
    plan::Design design;
    double alpha, lower, upper, difference, target, ratio;
    long n1, n2;
};

using plan::Design;
constexpr auto ind = Design::independent;
constexpr auto matched = Design::matched;

const Accepted acceptedRows[] = {
    {"defaults", "solve=n;sd=1.2;bound=0.5;power=0.9", Question::size, ind, 0.05, -0.5, 0.5, 0, 0.9,
     1, 0, 0},
    {"asymmetric_bounds", "solve=n;sd=1;lower=-0.3;upper=0.5;power=0.8;difference=0.1;alpha=0.025",
     Question::size, ind, 0.025, -0.3, 0.5, 0.1, 0.8, 1, 0, 0},
    {"ratio_for_size", "solve=n;sd=1;bound=1;power=0.8;ratio=2.5", Question::size, ind, 0.05, -1, 1,
     0, 0.8, 2.5, 0, 0},
    {"power_n2_defaults_to_n1", "solve=power;sd=1;bound=1;n1=20", Question::power, ind, 0.05, -1, 1,
     0, 0, 1, 20, 20},
    {"power_n2_from_ratio_rounded_up", "solve=power;sd=1;bound=1;n1=7;ratio=1.5", Question::power,
     ind, 0.05, -1, 1, 0, 0, 1.5, 7, 11},
    {"ratio_product_a_whole_number_despite_rounding", "solve=power;sd=1;bound=1;n1=100;ratio=1.1",
     Question::power, ind, 0.05, -1, 1, 0, 0, 1.1, 100, 110},
    {"n2_and_agreeing_ratio", "solve=power;sd=1;bound=1;n1=10;n2=20;ratio=2", Question::power, ind,
     0.05, -1, 1, 0, 0, 2, 10, 20},
    {"sizes_with_exponent", "solve=power;sd=1;bound=1;n1=1e3;n2=2E3", Question::power, ind, 0.05,
     -1, 1, 0, 0, 1, 1000, 2000},
    {"matched_pairs_in_n1", "solve=power;design=matched;sd=1;bound=1;n1=15", Question::power,
     matched, 0.05, -1, 1, 0, 0, 1, 15, 0},
    {"matched_n2_repeating_n1", "solve=power;design=matched;sd=1;bound=1;n1=15;n2=15;ratio=1",
     Question::power, matched, 0.05, -1, 1, 0, 0, 1, 15, 0},
    {"bound_question", "solve=bound;sd=2;power=0.9;n1=30;n2=40", Question::bound, ind, 0.05, -0.5,
     0.5, 0, 0.9, 1, 30, 40},
    // Whole and beyond 2^53: read as just above the maximum, which the
    // planner then refuses in its own words, not as a size that is not whole.
    {"size_beyond_a_double", "solve=power;sd=1;bound=1;n1=1e300", Question::power, ind, 0.05, -1, 1,
     0, 0, 1, plan::maxSize + 1, plan::maxSize + 1},
    {"sizes_beyond_a_double_matched", "solve=power;design=matched;sd=1;bound=1;n1=1e19;n2=1e19",
     Question::power, matched, 0.05, -1, 1, 0, 0, 1, plan::maxSize + 1, 0},
};

class AcceptedRow : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedRow, ReadsAsTheQuestionMeant) {
    const Accepted& c = GetParam();
    const Request request = readRequest(row(c.cells));
    EXPECT_EQ(request.question, c.question);
    EXPECT_EQ(request.study.design, c.design);
    EXPECT_EQ(request.study.alpha, c.alpha);
    if (c.question != Question::bound) {
        EXPECT_EQ(request.study.lower, c.lower);
        EXPECT_EQ(request.study.upper, c.upper);
    }
    EXPECT_EQ(request.study.difference, c.difference);
    if (c.question != Question::power) {
        EXPECT_EQ(request.targetPower, c.target);
    }
    EXPECT_EQ(request.ratio, c.ratio);
    EXPECT_EQ(request.sizes, (plan::Sizes{c.n1, c.n2}));
}

INSTANTIATE_TEST_SUITE_P(Rows, AcceptedRow, ::testing::ValuesIn(acceptedRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Each refused row's number is checked here, its whole sentence against
// data/refusals.txt.
struct Refused {
    const char* name;
    const char* cells;
    RequestProblem problem;
};

using P = RequestProblem;
const Refused refusedRows[] = {
    {"no_question", "sd=1;bound=1;power=0.8", P::unknownQuestion},
    {"unknown_question", "solve=N;sd=1;bound=1;power=0.8", P::unknownQuestion},
    {"unknown_design", "solve=n;design=paired;sd=1;bound=1;power=0.8", P::unknownDesign},
    {"comma_decimal_mark", "solve=n;sd=1,2;bound=1;power=0.8", P::notANumber},
    {"spaces_around_a_number", "solve=n;sd= 1;bound=1;power=0.8", P::notANumber},
    {"infinite", "solve=n;sd=inf;bound=1;power=0.8", P::notANumber},
    {"not_a_number_text", "solve=n;sd=nan;bound=1;power=0.8", P::notANumber},
    {"no_sd", "solve=n;bound=1;power=0.8", P::missingValue},
    {"no_bounds", "solve=n;sd=1;power=0.8", P::missingValue},
    {"lower_without_upper", "solve=n;sd=1;lower=-1;power=0.8", P::missingValue},
    {"no_target", "solve=n;sd=1;bound=1", P::missingValue},
    {"no_n1", "solve=power;sd=1;bound=1;n2=10", P::missingValue},
    {"bound_and_lower", "solve=n;sd=1;bound=1;lower=-1;upper=1;power=0.8", P::boundsTwice},
    {"negative_bound", "solve=n;sd=1;bound=-0.5;power=0.8", P::boundNotPositive},
    {"zero_bound", "solve=n;sd=1;bound=0;power=0.8", P::boundNotPositive},
    {"bounds_for_bound_question", "solve=bound;sd=1;bound=1;power=0.8;n1=10", P::unusedValue},
    {"sizes_for_size_question", "solve=n;sd=1;bound=1;power=0.8;n1=10", P::unusedValue},
    {"target_for_power_question", "solve=power;sd=1;bound=1;power=0.8;n1=10", P::unusedValue},
    {"matched_second_size", "solve=power;design=matched;sd=1;bound=1;n1=10;n2=12", P::unusedValue},
    {"matched_ratio", "solve=n;design=matched;sd=1;bound=1;power=0.8;ratio=2", P::unusedValue},
    {"fractional_size", "solve=power;sd=1;bound=1;n1=10.5", P::sizeNotWhole},
    {"ratio_times_n1_beyond_a_double", "solve=power;sd=1;bound=1;n1=10;ratio=1e300",
     P::sizeNotWhole},
    {"zero_ratio", "solve=n;sd=1;bound=1;power=0.8;ratio=0", P::ratioNotPositive},
    {"control_characters_escaped", "solve=n\x1b[2J\r;sd=1;bound=1;power=0.8", P::unknownQuestion},
    {"long_text_cut_with_its_length",
     "solve=n;sd=1.000000000000000000000000000000000000000000000000x;bound=1;power=0.8",
     P::notANumber},
    {"n2_and_ratio_disagree", "solve=power;sd=1;bound=1;n1=10;n2=12;ratio=2", P::sizesDisagree},
};

TEST(RefusedRow, GetsOneSentenceWithItsNumber) {
    std::string sentences;
    for (const Refused& c : refusedRows) {
        try {
            readRequest(row(c.cells));
            ADD_FAILURE() << c.name << " accepted";
        } catch (const RequestError& error) {
            EXPECT_EQ(error.number(), static_cast<int>(c.problem)) << c.name;
            sentences += std::string("[") + c.name + "]\n" + error.description() + "\n";
        }
    }
    testing::compareWithGolden(sentences, "refusals.txt");
}

}  // namespace
}  // namespace tarnwick::planner

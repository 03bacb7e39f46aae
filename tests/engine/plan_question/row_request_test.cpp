// Reading a row as a planning question: the defaults of absent values, the
// two ways of giving bounds, the second group's size, and one clear sentence
// for every row that cannot be read (nothing given is silently ignored).

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "golden_file.h"
#include "row_request.h"
#include "setting_text.h"

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

// Rows of the bioequivalence designs, on either scale.
struct AcceptedBe {
    const char* name;
    const char* cells;
    Question question;
    be::BeDesign design;
    be::Scale scale;
    double alpha, lower, upper, ratio0, cv, target;
    std::vector<long> sizes;
    double estimate, ciLower, ciUpper;
};

using be::BeDesign;
constexpr auto ratioScale = be::Scale::ratio;
constexpr auto rawScale = be::Scale::difference;

const AcceptedBe acceptedBeRows[] = {
    {"ratio_scale_defaults_to_parallel_groups",
     "solve=n;scale=ratio;cv=0.3;power=0.8",
     Question::size,
     BeDesign::parallel,
     ratioScale,
     0.05,
     0.8,
     1.25,
     0.95,
     0.3,
     0.8,
     {},
     0,
     0,
     0},
    {"a_design_alone_means_the_ratio_scale",
     "solve=power;design=2x2x2;cv=0.25;sizes=13, 12",
     Question::power,
     BeDesign::crossover2x2,
     ratioScale,
     0.05,
     0.8,
     1.25,
     0.95,
     0.25,
     0.8,
     {13, 12},
     0,
     0,
     0},
    {"one_bound_and_its_reciprocal",
     "solve=n;design=2x2;cv=0.2;upper=1.1111;power=0.9",
     Question::size,
     BeDesign::crossover2x2,
     ratioScale,
     0.05,
     1 / 1.1111,
     1.1111,
     0.95,
     0.2,
     0.9,
     {},
     0,
     0,
     0},
    {"raw_scale_bound_mirrored",
     "solve=n;scale=difference;design=2x2;cv=0.2;lower=0.85;power=0.8",
     Question::size,
     BeDesign::crossover2x2,
     rawScale,
     0.05,
     0.85,
     1.15,
     0.95,
     0.2,
     0.8,
     {},
     0,
     0,
     0},
    {"raw_scale_defaults",
     "solve=n;scale=difference;design=2x2;cv=0.2;power=0.8;ratio0=1",
     Question::size,
     BeDesign::crossover2x2,
     rawScale,
     0.05,
     0.8,
     1.2,
     1,
     0.2,
     0.8,
     {},
     0,
     0,
     0},
    {"total_split_as_evenly_as_sequences_allow",
     "solve=power;design=3x3;cv=0.2;n=20",
     Question::power,
     BeDesign::latin3x3,
     ratioScale,
     0.05,
     0.8,
     1.25,
     0.95,
     0.2,
     0.8,
     {7, 7, 6},
     0,
     0,
     0},
    {"interval",
     "solve=ci;design=2x2;cv=0.3;estimate=1.02;sizes=13,12;alpha=0.025",
     Question::interval,
     BeDesign::crossover2x2,
     ratioScale,
     0.025,
     0.8,
     1.25,
     0.95,
     0.3,
     0.8,
     {13, 12},
     1.02,
     0,
     0},
    {"cv_from_an_interval",
     "solve=cv;design=2x4x4;ci_lower=0.85;ci_upper=1.1;n=18",
     Question::cv,
     BeDesign::replicate2x4x4,
     ratioScale,
     0.05,
     0.8,
     1.25,
     0.95,
     0,
     0.8,
     {5, 5, 4, 4},
     0,
     0.85,
     1.1},
    {"a_mixed_tables_defaults_allowed",
     "solve=n;design=paired;cv=0.1;power=0.8;hypothesis=equivalence;bound_units=raw;scale=ratio",
     Question::size,
     BeDesign::paired,
     ratioScale,
     0.05,
     0.8,
     1.25,
     0.95,
     0.1,
     0.8,
     {},
     0,
     0,
     0},
};

class AcceptedBeRow : public ::testing::TestWithParam<AcceptedBe> {};

TEST_P(AcceptedBeRow, ReadsAsTheQuestionMeant) {
    const AcceptedBe& c = GetParam();
    const Request request = readRequest(row(c.cells));
    ASSERT_TRUE(request.be.has_value());
    const be::BeStudy& s = request.be->study;
    EXPECT_EQ(request.question, c.question);
    EXPECT_EQ(s.design, c.design);
    EXPECT_EQ(s.scale, c.scale);
    EXPECT_DOUBLE_EQ(s.alpha, c.alpha);
    EXPECT_DOUBLE_EQ(s.lower, c.lower);
    EXPECT_DOUBLE_EQ(s.upper, c.upper);
    EXPECT_DOUBLE_EQ(s.ratio0, c.ratio0);
    EXPECT_DOUBLE_EQ(s.cv, c.cv);
    if (c.question == Question::size) {
        EXPECT_DOUBLE_EQ(request.targetPower, c.target);
    }
    EXPECT_EQ(request.be->sequenceSizes, c.sizes);
    EXPECT_DOUBLE_EQ(request.be->estimate, c.estimate);
    EXPECT_DOUBLE_EQ(request.be->ciLower, c.ciLower);
    EXPECT_DOUBLE_EQ(request.be->ciUpper, c.ciUpper);
}

INSTANTIATE_TEST_SUITE_P(Rows, AcceptedBeRow, ::testing::ValuesIn(acceptedBeRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Each refused row's number is checked here, its whole sentence against
// data/refusals.txt.
struct Refused {
    const char* name;
    const char* cells;
    int problem;  // the planner's RequestProblem or the settings' error
};

// The planner's own refusals by their names; the settings' by their numbers.
namespace P {
constexpr int of(RequestProblem problem) { return static_cast<int>(problem); }
constexpr int unknownQuestion = of(RequestProblem::unknownQuestion);
constexpr int notANumber = of(RequestProblem::notANumber);
constexpr int missingValue = of(RequestProblem::missingValue);
constexpr int unusedValue = of(RequestProblem::unusedValue);
constexpr int boundsTwice = of(RequestProblem::boundsTwice);
constexpr int sizeNotWhole = of(RequestProblem::sizeNotWhole);
constexpr int ratioNotPositive = of(RequestProblem::ratioNotPositive);
constexpr int sizesDisagree = of(RequestProblem::sizesDisagree);
constexpr int unknownDesign = settings::error::unknownWord;
constexpr int unknownWord = settings::error::unknownWord;
constexpr int sizesTwice = of(RequestProblem::sizesTwice);
constexpr int sizesNotAList = of(RequestProblem::sizesNotAList);
constexpr int notOnThisScale = of(RequestProblem::notOnThisScale);
constexpr int boundNotPositive = settings::error::boundNotPositive;
}  // namespace P
const Refused refusedRows[] = {
    {"no_question", "sd=1;bound=1;power=0.8", P::unknownQuestion},
    {"unknown_question", "solve=N;sd=1;bound=1;power=0.8", P::unknownQuestion},
    {"unknown_design", "solve=n;design=crossover;sd=1;bound=1;power=0.8", P::unknownDesign},
    {"comma_decimal_mark", "solve=n;sd=1,2;bound=1;power=0.8", P::notANumber},
    {"spaces_around_a_number", "solve=n;sd= 1;bound=1;power=0.8", P::notANumber},
    {"infinite", "solve=n;sd=inf;bound=1;power=0.8", P::notANumber},
    {"not_a_number_text", "solve=n;sd=nan;bound=1;power=0.8", P::notANumber},
    {"no_sd", "solve=n;bound=1;power=0.8", P::missingValue},
    {"no_bounds", "solve=n;sd=1;power=0.8", P::missingValue},
    {"lower_without_upper", "solve=n;sd=1;lower=-1;power=0.8", settings::error::boundMissing},
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
    // The ratio scale and the bioequivalence designs.
    {"ratio_scale_independent", "solve=n;scale=ratio;design=independent;cv=0.3;power=0.8",
     P::notOnThisScale},
    {"unknown_scale", "solve=n;scale=log;design=2x2;cv=0.3;power=0.8", P::unknownWord},
    {"bound_of_a_crossover", "solve=bound;design=2x2;cv=0.3;power=0.8;n=20", P::notOnThisScale},
    {"ci_on_the_difference_scale", "solve=ci;scale=difference;design=2x2;estimate=0.95;cv=0.3;n=24",
     P::notOnThisScale},
    {"minimal_effect_of_a_crossover",
     "solve=n;design=2x2;cv=0.3;power=0.8;hypothesis=minimal_effect", P::notOnThisScale},
    {"sd_of_a_crossover", "solve=n;design=2x2;sd=1;cv=0.3;power=0.8", P::unusedValue},
    {"cv_of_independent_groups", "solve=n;sd=1;bound=1;power=0.8;cv=0.3", P::unusedValue},
    {"sizes_and_n", "solve=power;design=2x2;cv=0.3;sizes=12,12;n=24", P::sizesTwice},
    {"sizes_not_a_list", "solve=power;design=2x2;cv=0.3;sizes=12/12", P::sizesNotAList},
    {"sizes_with_a_fraction", "solve=power;design=2x2;cv=0.3;sizes=12.5,12", P::sizesNotAList},
    {"sizes_with_an_empty_entry", "solve=power;design=2x2;cv=0.3;sizes=12,,12", P::sizesNotAList},
    {"no_sizes", "solve=power;design=2x2;cv=0.3", P::missingValue},
    {"no_cv", "solve=n;design=2x2;power=0.8", P::missingValue},
    {"no_total_cv_of_parallel_groups", "solve=n;scale=ratio;power=0.8", P::missingValue},
    {"no_estimate", "solve=ci;design=2x2;cv=0.3;n=24", P::missingValue},
    {"no_ci_upper", "solve=cv;design=2x2;ci_lower=0.8;n=24", P::missingValue},
    {"ratio0_for_ci", "solve=ci;design=2x2;cv=0.3;n=24;estimate=0.95;ratio0=0.95", P::unusedValue},
    {"cv_for_cv", "solve=cv;design=2x2;cv=0.3;ci_lower=0.8;ci_upper=1.1;n=24", P::unusedValue},
    {"bounds_for_cv", "solve=cv;design=2x2;ci_lower=0.8;ci_upper=1.1;n=24;lower=0.8",
     P::unusedValue},
    {"target_for_a_crossovers_power", "solve=power;design=2x2;cv=0.3;n=24;power=0.8",
     P::unusedValue},
    {"sizes_for_a_crossovers_size", "solve=n;design=2x2;cv=0.3;power=0.8;n=24", P::unusedValue},
};

TEST(RefusedRow, GetsOneSentenceWithItsNumber) {
    std::string sentences;
    for (const Refused& c : refusedRows) {
        try {
            readRequest(row(c.cells));
            ADD_FAILURE() << c.name << " accepted";
        } catch (const NumberedError<int>& error) {
            EXPECT_EQ(error.number(), c.problem) << c.name;
            sentences += std::string("[") + c.name + "]\n" + error.description() + "\n";
        }
    }
    testing::compareWithGolden(sentences, "refusals.txt");
}

}  // namespace
}  // namespace tarnwick::planner

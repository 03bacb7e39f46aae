// The design table against the model it stands for, and the arithmetic of
// sizes per sequence.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "be_design.h"

namespace tarnwick::be {
namespace {

// Each crossover design's residual df from its fixed-effects model: n p
// observations less n subject means, the period effects beyond the first
// and the formulation effects beyond the first. The df in the table must
// be that count for every n (the repeated crossover's published df, 3n - 2,
// are those of four observations a subject with one period effect).
struct ModelRow {
    BeDesign design;
    int periods, periodEffects, formulationEffects;
};

class DfFromModel : public testing::TestWithParam<ModelRow> {};

TEST_P(DfFromModel, ObservationsLessParameters) {
    const ModelRow& row = GetParam();
    for (const long n : {6L, 12L, 24L, 60L, 1200L}) {
        const long count = n * row.periods - n - row.periodEffects - row.formulationEffects;
        EXPECT_EQ(degreesOfFreedom(row.design, n), static_cast<double>(count))
            << designConstants(row.design).name << " n=" << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Crossovers, DfFromModel,
                         testing::Values(ModelRow{BeDesign::paired, 2, 0, 1},
                                         ModelRow{BeDesign::crossover2x2, 2, 1, 1},
                                         ModelRow{BeDesign::latin3x3, 3, 2, 2},
                                         ModelRow{BeDesign::williams3x6x3, 3, 2, 2},
                                         ModelRow{BeDesign::latin4x4, 4, 3, 3},
                                         ModelRow{BeDesign::replicate2x2x3, 3, 2, 1},
                                         ModelRow{BeDesign::replicate2x2x4, 4, 3, 1},
                                         ModelRow{BeDesign::replicate2x4x4, 4, 3, 1},
                                         ModelRow{BeDesign::partial2x3x3, 3, 2, 1},
                                         ModelRow{BeDesign::balaam2x4x2, 2, 1, 1},
                                         ModelRow{BeDesign::repeated2x2x2r, 4, 1, 1}));

TEST(DfFromModel, ParallelGroupsLoseTwo) {
    EXPECT_EQ(degreesOfFreedom(BeDesign::parallel, 50), 48);
}

// The variance of the estimate, in units of s^2, written out for the designs
// where it is a short contrast of sequence means, at unequal sizes.
TEST(DesignConstant, VarianceOfTheEstimateAtUnequalSizes) {
    const double a = 7, b = 11, c = 5, d = 13;
    // Parallel: mean T - mean R.
    EXPECT_DOUBLE_EQ(designConstant(BeDesign::parallel, {7, 11}), 1 / a + 1 / b);
    // 2x2: half the difference of the sequences' mean period differences,
    // each difference of variance 2.
    EXPECT_DOUBLE_EQ(designConstant(BeDesign::crossover2x2, {7, 11}), (2 / a + 2 / b) / 4);
    // 2x2x4: half the sum of the sequences' mean contrasts
    // (y1 + y3 - y2 - y4) / 2, each of variance 1.
    EXPECT_DOUBLE_EQ(designConstant(BeDesign::replicate2x2x4, {7, 11}), (1 / a + 1 / b) / 4);
    // 2x2x3: the contrast (y1 + y3) / 2 - y2 has variance 1.5.
    EXPECT_DOUBLE_EQ(designConstant(BeDesign::replicate2x2x3, {7, 11}), (1.5 / a + 1.5 / b) / 4);
    // Balaam: ((TR - TT) - (RT - RR)) / 2 of mean period differences.
    EXPECT_DOUBLE_EQ(designConstant(BeDesign::balaam2x4x2, {7, 11, 5, 13}),
                     (2 / a + 2 / b + 2 / c + 2 / d) / 4);
    // Paired: the mean of the differences, each of variance 2.
    EXPECT_DOUBLE_EQ(designConstant(BeDesign::paired, {7}), 2 / a);
}

TEST(DesignConstant, BalancedIsBkOverN) {
    for (const BeDesign design : allDesigns()) {
        const DesignConstants& d = designConstants(design);
        const long n = 12L * d.sequences;
        EXPECT_DOUBLE_EQ(designConstant(design, evenSplit(design, n)),
                         d.bk / static_cast<double>(n))
            << d.name;
    }
}

TEST(EvenSplit, EarlierSequencesTakeTheRemainder) {
    EXPECT_EQ(evenSplit(BeDesign::crossover2x2, 25), (std::vector<long>{13, 12}));
    EXPECT_EQ(evenSplit(BeDesign::williams3x6x3, 52), (std::vector<long>{9, 9, 9, 9, 8, 8}));
    EXPECT_EQ(evenSplit(BeDesign::paired, 7), (std::vector<long>{7}));
    EXPECT_EQ(evenSplit(BeDesign::latin4x4, 3), (std::vector<long>{1, 1, 1, 0}));
}

TEST(DesignNames, EveryNameReadsBackAndTheAliasToo) {
    for (const BeDesign design : allDesigns()) {
        EXPECT_EQ(designNamed(designConstants(design).name), design);
    }
    EXPECT_EQ(designNamed("2x2x2"), BeDesign::crossover2x2);
    for (const char* unknown : {"", "2X2", "2x2 ", "independent", "matched", "2x2x2x"}) {
        EXPECT_FALSE(designNamed(unknown).has_value()) << '"' << unknown << '"';
    }
}

}  // namespace
}  // namespace tarnwick::be

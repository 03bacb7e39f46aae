#include "score_shape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace tarnwick::score_report {
namespace {

// Worked by hand: type 7 quantiles at (n - 1) p, Tukey's fences at 1.5 IQR,
// G1 = sqrt(n (n - 1)) / (n - 2) * m3 / m2^1.5 (values from exact fractions).
struct ShapeRow {
    const char* name;
    std::vector<double> scores;
    double q1, median, q3, lowWhisker, highWhisker;
    std::vector<double> outliers;
    double skewness;  // NaN: none
    bool ties;
};

class ShapeTest : public ::testing::TestWithParam<ShapeRow> {};

TEST_P(ShapeTest, QuartilesWhiskersOutliersSkewness) {
    const ShapeRow& row = GetParam();
    const ScoreShape shape = scoreShape(row.scores);
    EXPECT_DOUBLE_EQ(shape.q1, row.q1);
    EXPECT_DOUBLE_EQ(shape.median, row.median);
    EXPECT_DOUBLE_EQ(shape.q3, row.q3);
    EXPECT_DOUBLE_EQ(shape.lowWhisker, row.lowWhisker);
    EXPECT_DOUBLE_EQ(shape.highWhisker, row.highWhisker);
    EXPECT_EQ(shape.outliers, row.outliers);
    if (std::isnan(row.skewness))
        EXPECT_FALSE(shape.skewness.has_value());
    else
        EXPECT_NEAR(shape.skewness.value(), row.skewness, 1e-12);
    EXPECT_EQ(shape.ties, row.ties);
    EXPECT_EQ(shape.n, static_cast<long>(row.scores.size()));
}

constexpr double none = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Worked, ShapeTest,
    ::testing::Values(
        // Odd n, symmetric: quartiles fall on scores.
        ShapeRow{"five_symmetric", {5, 1, 3, 2, 4}, 2, 3, 4, 1, 5, {}, 0, false},
        // Even n: positions 0.75, 1.5, 2.25 interpolate.
        ShapeRow{
            "four_interpolated", {1, 2, 4, 8}, 1.75, 3, 5, 1, 8, {}, 1.1376243669576889, false},
        // 100 lies beyond Q3 + 1.5 IQR = 4 + 3 = 7; the whisker stops at 4.
        ShapeRow{
            "one_high_outlier", {1, 2, 3, 4, 100}, 2, 3, 4, 1, 4, {100}, 2.232395911636458, false},
        // Mirror image: a low outlier and skewness of the opposite sign.
        ShapeRow{"one_low_outlier",
                 {-100, -4, -3, -2, -1},
                 -4,
                 -3,
                 -2,
                 -4,
                 -1,
                 {-100},
                 -2.232395911636458,
                 false},
        // Two scores: no skewness; fences from the interpolated quartiles.
        ShapeRow{"two_scores", {3, 1}, 1.5, 2, 2.5, 1, 3, {}, none, false},
        // Equal scores: no spread, so no skewness; ties found.
        ShapeRow{"all_equal", {7, 7, 7}, 7, 7, 7, 7, 7, {}, none, true},
        // A score exactly on the fence is inside it.
        ShapeRow{"on_the_fence", {1, 2, 3, 4, 7}, 2, 3, 4, 1, 7, {}, 1.0326585393989949, false},
        // Beyond the fence of interpolated quartiles (3.75 + 3.75 = 7.5).
        ShapeRow{"six_with_outlier",
                 {0, 1, 2, 3, 4, 10},
                 1.25,
                 2.5,
                 3.75,
                 0,
                 4,
                 {10},
                 1.6267016727471526,
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Quantile, EndsAreTheExtremes) {
    const std::vector<double> sorted = {-2, 0.5, 9};
    EXPECT_EQ(quantileOfSorted(sorted, 0), -2);
    EXPECT_EQ(quantileOfSorted(sorted, 1), 9);
    EXPECT_EQ(quantileOfSorted(std::vector<double>{4}, 0.5), 4);
}

}  // namespace
}  // namespace tarnwick::score_report

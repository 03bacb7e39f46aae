// The selection of order statistics of pairwise differences and Walsh
// averages against forming them all and sorting, on random cases small
// enough to form: every rank for the smallest, the ends, the median and
// random ranks for the others, with and without ties. The brute force uses
// the same double expressions as the selection (x - y; d/2 + d/2), so the
// two must agree exactly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "pairwise_selection.h"
#include "score_sort.h"

namespace tarnwick::score_analysis {
namespace {

std::vector<double> allDifferences(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<double> all;
    for (const double a : x)
        for (const double b : y)
            all.push_back(a - b);
    std::sort(all.begin(), all.end());
    return all;
}

std::vector<double> allWalshAverages(const std::vector<double>& d) {
    std::vector<double> all;
    for (std::size_t i = 0; i < d.size(); ++i)
        for (std::size_t j = i; j < d.size(); ++j)
            all.push_back(d[i] / 2 + d[j] / 2);
    std::sort(all.begin(), all.end());
    return all;
}

double medianOf(const std::vector<double>& sorted) {
    const std::size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

enum class Values { continuous, fewDistinct, integersWithOutlier };

std::vector<double> draw(std::size_t n, Values kind, std::mt19937_64& engine, double shift) {
    std::normal_distribution<double> normal(shift, 1);
    std::uniform_int_distribution<int> few(0, 4), many(-20, 20);
    std::vector<double> v(n);
    for (double& x : v) {
        switch (kind) {
            case Values::continuous:
                x = normal(engine);
                break;
            case Values::fewDistinct:
                x = few(engine) * 0.5 + shift;
                break;
            case Values::integersWithOutlier:
                x = many(engine);
                break;
        }
    }
    if (kind == Values::integersWithOutlier) v[0] = 1e6;
    std::sort(v.begin(), v.end());
    return v;
}

struct SelectionCase {
    const char* name;
    std::size_t n1, n2;
    Values kind;
    unsigned seed;
};

std::vector<std::int64_t> ranksToCheck(std::int64_t count, std::mt19937_64& engine) {
    std::vector<std::int64_t> ranks;
    if (count <= 400) {
        for (std::int64_t k = 1; k <= count; ++k)
            ranks.push_back(k);
        return ranks;
    }
    ranks = {1, 2, count / 2, count / 2 + 1, count - 1, count};
    std::uniform_int_distribution<std::int64_t> any(1, count);
    for (int i = 0; i < 40; ++i)
        ranks.push_back(any(engine));
    return ranks;
}

// Pairs of ranks as an interval asks for them: close around the median
// (where the shared rounds narrow all three), the two ends, and apart.
std::vector<std::pair<std::int64_t, std::int64_t>> endsToCheck(std::int64_t count) {
    const std::int64_t middle = (count + 1) / 2, spread = std::max<std::int64_t>(1, count / 1000);
    return {
        {std::max<std::int64_t>(1, middle - spread), std::min(count, middle + spread)},
        {1, count},
        {std::max<std::int64_t>(1, count / 5), count + 1 - std::max<std::int64_t>(1, count / 5)}};
}

class Differences : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(Differences, EqualTheSortedDifferences) {
    const SelectionCase& c = GetParam();
    std::mt19937_64 engine(c.seed);
    const std::vector<double> x = draw(c.n1, c.kind, engine, 0.3);
    const std::vector<double> y = draw(c.n2, c.kind, engine, 0);
    const std::vector<double> all = allDifferences(x, y);
    const PairwiseDifferences differences(x, y);
    ASSERT_EQ(differences.size(), static_cast<std::int64_t>(all.size()));
    for (const std::int64_t k : ranksToCheck(differences.size(), engine))
        ASSERT_EQ(differences.orderStatistic(k), all[k - 1]) << "rank " << k;
    EXPECT_EQ(differences.median(), medianOf(all));
    for (const auto& [low, high] : endsToCheck(differences.size())) {
        const MedianAndEnds shared = differences.medianAndEnds(low, high);
        EXPECT_EQ(shared.median, medianOf(all));
        EXPECT_EQ(shared.low, all[low - 1]) << "rank " << low;
        EXPECT_EQ(shared.high, all[high - 1]) << "rank " << high;
    }
    for (const double t :
         {all.front(), all[all.size() / 3], all.back(), all.back() + 1, all.front() - 1}) {
        const auto expected = std::upper_bound(all.begin(), all.end(), t) - all.begin();
        EXPECT_EQ(differences.countAtMost(t), expected) << "t " << t;
    }
}

class Walsh : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(Walsh, EqualTheSortedAverages) {
    const SelectionCase& c = GetParam();
    std::mt19937_64 engine(c.seed);
    const std::vector<double> d = draw(c.n1, c.kind, engine, 0.3);
    const std::vector<double> all = allWalshAverages(d);
    const WalshAverages averages(d);
    ASSERT_EQ(averages.size(), static_cast<std::int64_t>(all.size()));
    for (const std::int64_t k : ranksToCheck(averages.size(), engine))
        ASSERT_EQ(averages.orderStatistic(k), all[k - 1]) << "rank " << k;
    EXPECT_EQ(averages.median(), medianOf(all));
    for (const auto& [low, high] : endsToCheck(averages.size())) {
        const MedianAndEnds shared = averages.medianAndEnds(low, high);
        EXPECT_EQ(shared.median, medianOf(all));
        EXPECT_EQ(shared.low, all[low - 1]) << "rank " << low;
        EXPECT_EQ(shared.high, all[high - 1]) << "rank " << high;
    }
    for (const double t : {all.front(), all[all.size() / 3], all.back(), all.front() - 1}) {
        const auto expected = std::upper_bound(all.begin(), all.end(), t) - all.begin();
        EXPECT_EQ(averages.countAtMost(t), expected) << "t " << t;
    }
}

// Sizes from the smallest through ones past the point where the selection
// samples instead of gathering everything (2 (n1 + n2), at least 4096).
const SelectionCase cases[] = {
    {"one_by_one", 1, 1, Values::continuous, 1},
    {"two_by_three", 2, 3, Values::continuous, 2},
    {"three_by_three_ties", 3, 3, Values::fewDistinct, 3},
    {"seven_by_one", 7, 1, Values::integersWithOutlier, 4},
    {"twenty_by_thirty_one", 20, 31, Values::continuous, 5},
    {"forty_by_forty_ties", 40, 40, Values::fewDistinct, 6},
    {"hundred_by_ninety", 100, 90, Values::continuous, 7},
    {"two_hundred_few_values", 200, 150, Values::fewDistinct, 8},
    {"three_hundred_outlier", 300, 301, Values::integersWithOutlier, 9},
    {"unbalanced_1000_by_7", 1000, 7, Values::continuous, 10},
    {"unbalanced_5_by_1200", 5, 1200, Values::continuous, 11},
    {"six_hundred_continuous", 600, 640, Values::continuous, 12},
};

INSTANTIATE_TEST_SUITE_P(RandomCases, Differences, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(RandomCases, Walsh, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The radix sort against std::sort, over the sign, zeros of both signs,
// subnormals, the largest doubles and many ties: above 1,024 scores, where
// it takes over from std::sort.
TEST(SortScores, EqualsStdSort) {
    std::mt19937_64 engine(13);
    std::uniform_int_distribution<int> pick(0, 9);
    std::normal_distribution<double> normal(0, 1e3);
    std::vector<double> scores;
    for (int i = 0; i < 5000; ++i) {
        const double kinds[] = {
            0.0,  -0.0, 4.9e-324,      -4.9e-324, 1.7e308, -1.7e308, 2.2250738585072014e-308,
            -1.0, 1.0,  normal(engine)};
        scores.push_back(kinds[pick(engine)]);
    }
    std::vector<double> expected = scores;
    std::sort(expected.begin(), expected.end());
    sortScores(scores);
    ASSERT_EQ(scores.size(), expected.size());
    for (std::size_t i = 0; i < scores.size(); ++i)
        ASSERT_EQ(scores[i], expected[i]) << i;  // -0.0 == 0.0: zeros stay together
}

}  // namespace
}  // namespace tarnwick::score_analysis

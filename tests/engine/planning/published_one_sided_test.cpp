// Published numbers of one-sided questions, each reproduced to the digits
// its source printed (data/published_one_sided.csv says which and from
// where): exact noncentral t powers printed by a textbook, and the sizes
// and powers of a planning package's worked examples.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "be_design.h"
#include "be_plan.h"
#include "plan.h"
#include "setting_text.h"

namespace tarnwick::plan {
namespace {

struct Published {
    std::string row, design, hypothesis, better;
    double alpha, margin, truth, spread;
    long n1, n2;
    std::string target, printedAs;
    double printed;
    std::string printedText;
};

// Half a unit of the last digit printed.
double halfLastDigit(const std::string& printed) {
    const std::size_t point = printed.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(printed.size() - point - 1);
    return 0.5 * std::pow(10.0, -decimals);
}

std::vector<Published> readRows() {
    std::ifstream in(TEST_DATA_DIR "/published_one_sided.csv");
    std::vector<Published> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            f.push_back(cell);
        if (f.size() != 13) ADD_FAILURE() << "a row of 13 fields: " << line;
        if (f.size() != 13) continue;
        rows.push_back({f[0], f[1], f[2], f[3], std::stod(f[4]), std::stod(f[5]), std::stod(f[6]),
                        std::stod(f[7]), std::stol(f[8]), std::stol(f[9]), f[10], f[11],
                        std::stod(f[12]), f[12]});
    }
    return rows;
}

TEST(PublishedOneSided, EveryPrintedNumberToItsPrintedDigits) {
    const std::vector<Published> rows = readRows();
    ASSERT_GE(rows.size(), 24u);
    for (const Published& r : rows) {
        SCOPED_TRACE(r.row);
        const auto hypothesis = settings::readHypothesis(r.hypothesis);
        const auto better = settings::readBetter(r.better);
        if (const auto beDesign = be::designNamed(r.design)) {
            be::BeStudy s;
            s.design = *beDesign;
            s.hypothesis = hypothesis;
            s.better = better;
            s.alpha = r.alpha;
            s.margin = r.margin;
            s.ratio0 = r.truth;
            s.cv = r.spread;
            if (r.printedAs == "power") {
                EXPECT_NEAR(be::power(s, r.n1), r.printed, halfLastDigit(r.printedText));
                continue;
            }
            ASSERT_EQ(r.printedAs, "size");
            EXPECT_EQ(be::smallestSize(s, std::stod(r.target)).total, static_cast<long>(r.printed));
            continue;
        }
        Study s;
        s.design = r.design == "matched" ? Design::matched : Design::independent;
        s.hypothesis = hypothesis;
        s.better = better;
        s.alpha = r.alpha;
        s.margin = r.margin;
        s.difference = r.truth;
        s.sd = r.spread;
        ASSERT_EQ(r.printedAs, "complement");
        // Printed to 5 decimals: the rounded value, and no more than half a
        // unit of the last digit away.
        const double complement = 1 - power(s, {r.n1, r.n2});
        EXPECT_NEAR(complement, r.printed, 0.5e-5);
        EXPECT_EQ(std::round(complement * 1e5), std::round(r.printed * 1e5));
    }
}

}  // namespace
}  // namespace tarnwick::plan

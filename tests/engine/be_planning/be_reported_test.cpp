// Bioequivalence from reported numbers against the closed forms in 50
// digits (reported_numbers.csv, written by reported_oracle.py), the
// conclusion on rounded ends (rounded_conclusions.csv), the rounding itself
// and the refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "be_reported.h"

namespace tarnwick::be {
namespace {

using Cells = std::vector<std::string>;

std::vector<Cells> rowsOf(const char* name) {
    std::ifstream file(std::string(TARNWICK_BE_DATA "/") + name);
    EXPECT_TRUE(file) << name << " not found";
    std::vector<Cells> rows;
    bool header = true;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (header) {
            header = false;
            continue;
        }
        Cells cells;
        std::stringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');)
            cells.push_back(cell);
        cells.resize(13);
        rows.push_back(cells);
    }
    return rows;
}

std::vector<long> sizesOf(const std::string& text) {
    std::vector<long> sizes;
    std::stringstream words(text);
    for (long n = 0; words >> n;)
        sizes.push_back(n);
    return sizes;
}

// Relative agreement, where a truth below the double range reads as 0.
void expectClose(double ours, const std::string& truthText, double relative) {
    const long double truth = std::stold(truthText);
    if (truth < 1e-300L) {
        EXPECT_LT(ours, 1e-290) << truthText;
        return;
    }
    EXPECT_NEAR(ours / static_cast<double>(truth), 1.0, relative) << truthText;
}

TEST(ReportedNumbers, AgreeWithTheFiftyDigitClosedForms) {
    int intervals = 0, cvs = 0;
    for (const Cells& c : rowsOf("reported_numbers.csv")) {
        SCOPED_TRACE(c[0] + " " + c[1] + " sizes " + c[4]);
        const BeDesign design = *designNamed(c[1]);
        const std::vector<long> sizes = sizesOf(c[4]);
        if (c[0] == "ci") {
            BeStudy study;
            study.design = design;
            study.cv = std::stod(c[2]);
            study.alpha = std::stod(c[5]);
            study.lower = std::stod(c[6]);
            study.upper = std::stod(c[7]);
            const ReportedInterval r = intervalFromReport(study, std::stod(c[3]), sizes);
            expectClose(r.low, c[8], 1e-13);
            expectClose(r.high, c[9], 1e-13);
            expectClose(r.pLower, c[10], 1e-9);
            expectClose(r.pUpper, c[11], 1e-9);
            ++intervals;
        } else {
            const double cv =
                cvFromInterval(design, std::stod(c[5]), std::stod(c[8]), std::stod(c[9]), sizes);
            expectClose(cv, c[12], 1e-12);
            ++cvs;
        }
    }
    EXPECT_GE(intervals, 12);
    EXPECT_GE(cvs, 10);
}

// A printed interval from a point estimate, a CV and a size (forum.bebac.at
// entry 23749: the 2x2 design, estimate 0.95, CV 20%, 20 subjects, printed
// as 0.8522362 and 1.0589787), and the CV read back from it.
TEST(ReportedNumbers, APrintedIntervalFromEstimateCvAndSize) {
    BeStudy study;
    study.cv = 0.20;
    const ReportedInterval r = intervalFromReport(study, 0.95, {10, 10});
    EXPECT_NEAR(r.low, 0.8522362, 5e-8);
    EXPECT_NEAR(r.high, 1.0589787, 5e-8);
    EXPECT_NEAR(cvFromInterval(BeDesign::crossover2x2, 0.05, 0.8522362, 1.0589787, {10, 10}), 0.20,
                1e-6);
}

// The CV read back from the interval it gives is the CV, in every design.
TEST(ReportedNumbers, CvFromItsOwnIntervalIsTheCv) {
    for (const BeDesign design : allDesigns()) {
        BeStudy study;
        study.design = design;
        study.cv = 0.27;
        const std::vector<long> sizes = evenSplit(design, 25);
        const ReportedInterval r = intervalFromReport(study, 0.97, sizes);
        EXPECT_NEAR(cvFromInterval(design, 0.05, r.low, r.high, sizes), 0.27, 1e-12)
            << designConstants(design).name;
    }
}

TEST(ReportedNumbers, ConclusionOnEndsRoundedToTwoDecimalsInPercent) {
    const std::vector<Cells> rows = rowsOf("rounded_conclusions.csv");
    ASSERT_EQ(rows.size(), 4u);
    for (const Cells& c : rows) {
        SCOPED_TRACE(c[0]);
        BeStudy study;
        study.cv = 0.20;
        const ReportedInterval r = intervalFromReport(study, std::stod(c[0]), {10, 10});
        EXPECT_DOUBLE_EQ(r.lowPercent, std::stod(c[1]));
        EXPECT_DOUBLE_EQ(r.highPercent, std::stod(c[2]));
        EXPECT_EQ(r.equivalent, c[3] == "yes");
    }
}

TEST(ReportedNumbers, PercentToTwoDecimalsRoundsTheDecimalNotTheProduct) {
    struct Row {
        double ratio, percent;
    };
    for (const Row row : {Row{0.80, 80.00}, Row{1.25, 125.00}, Row{0.80005, 80.01},
                          Row{0.800049999, 80.00}, Row{1.0000499, 100.00}, Row{1.23455, 123.46},
                          Row{0.00004, 0.00}, Row{0.00005, 0.01}, Row{12.3456789, 1234.57}}) {
        EXPECT_DOUBLE_EQ(percentToTwoDecimals(row.ratio), row.percent) << row.ratio;
    }
}

TEST(ReportedNumbers, Refusals) {
    BeStudy study;
    const auto refusal = [](auto call) {
        try {
            call();
        } catch (const plan::PlanError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(refusal([&] { intervalFromReport(study, 0, {6, 6}); }), error::estimate);
    EXPECT_EQ(refusal([&] { intervalFromReport(study, NAN, {6, 6}); }), error::estimate);
    EXPECT_EQ(refusal([&] { intervalFromReport(study, 1, {6}); }), error::sequences);
    EXPECT_EQ(refusal([&] { intervalFromReport(study, 1, {1, 1}); }), error::size);
    study.cv = -0.1;
    EXPECT_EQ(refusal([&] { intervalFromReport(study, 1, {6, 6}); }), error::cv);
    const auto cv = [](double alpha, double low, double high) {
        cvFromInterval(BeDesign::crossover2x2, alpha, low, high, {6, 6});
    };
    EXPECT_EQ(refusal([&] { cv(0.05, 1.1, 0.9); }), error::interval);
    EXPECT_EQ(refusal([&] { cv(0.05, 0, 0.9); }), error::interval);
    EXPECT_EQ(refusal([&] { cv(0.05, 0.9, INFINITY); }), error::interval);
    EXPECT_EQ(refusal([&] { cv(0.5, 0.9, 1.1); }), error::alpha);
}

}  // namespace
}  // namespace tarnwick::be

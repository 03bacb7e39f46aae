// Each subject's ratio T/R against the responses by hand: geometric means of
// its own T and R responses, replicates and missing responses included,
// subjects without both formulations left out, and the study's order kept.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "crossover_table.h"
#include "subject_ratio.h"

namespace tarnwick::crossover {
namespace {

CrossoverStudy studyOf(const std::string& text) {
    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    CrossoverTable table = readCrossoverTable(file, "table.csv", {});
    std::fclose(file);
    return std::move(table.studies.at(0));
}

TEST(SubjectRatios, AreEachSubjectsGeometricMeansOfTOverR) {
    // b took T twice (TRT); c lost its R response; d took only R and is left
    // out; e is listed first in the table but is its second subject's rows.
    const CrossoverStudy study = studyOf(
        "subject,sequence,period,treatment,response\n"
        "a,TRT,1,T,100\na,TRT,2,R,80\na,TRT,3,T,125\n"
        "e,RTR,1,R,50\ne,RTR,2,T,40\ne,RTR,3,R,200\n"
        "b,TRT,1,T,90\nb,TRT,2,R,100\nb,TRT,3,T,160\n"
        "c,RTR,1,R,NA\nc,RTR,2,T,70\nc,RTR,3,R,NA\n"
        "d,RTR,1,R,30\nd,RTR,2,T,NA\nd,RTR,3,R,60\n");
    const std::vector<SubjectRatio> ratios = subjectRatios(study);
    struct Expected {
        const char* subject;
        std::size_t sequence;
        long test, reference;
        double ratio;
    };
    const Expected expected[] = {
        {"a", 0, 2, 1, std::sqrt(100.0 * 125.0) / 80.0},
        {"e", 1, 1, 2, 40.0 / std::sqrt(50.0 * 200.0)},
        {"b", 0, 2, 1, std::sqrt(90.0 * 160.0) / 100.0},
    };
    ASSERT_EQ(ratios.size(), std::size(expected));  // c has no R, d no T
    for (std::size_t i = 0; i < ratios.size(); ++i) {
        SCOPED_TRACE(expected[i].subject);
        EXPECT_EQ(ratios[i].subject, expected[i].subject);
        EXPECT_EQ(ratios[i].sequence, expected[i].sequence);
        EXPECT_EQ(ratios[i].test, expected[i].test);
        EXPECT_EQ(ratios[i].reference, expected[i].reference);
        EXPECT_NEAR(ratios[i].ratio, expected[i].ratio, 1e-14 * expected[i].ratio);
    }
}

// With two names, the reference is the one named, whatever the order of first
// appearance: the ratio is the test's over it, never the other way round.
TEST(SubjectRatios, FollowTheNamedReference) {
    const std::string text =
        "subject,sequence,period,treatment,response\n"
        "1,1,1,Ref,20\n1,1,2,New,30\n2,2,1,New,10\n2,2,2,Ref,40\n";
    std::FILE* file = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), file);
    std::rewind(file);
    CrossoverReadOptions options;
    options.reference = "Ref";
    const CrossoverStudy study = readCrossoverTable(file, "t.csv", options).studies.at(0);
    std::fclose(file);
    const std::vector<SubjectRatio> ratios = subjectRatios(study);
    ASSERT_EQ(ratios.size(), 2U);
    EXPECT_DOUBLE_EQ(ratios[0].ratio, 1.5);
    EXPECT_DOUBLE_EQ(ratios[1].ratio, 0.25);
}

}  // namespace
}  // namespace tarnwick::crossover

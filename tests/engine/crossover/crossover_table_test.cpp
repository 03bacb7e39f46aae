// The crossover reader: tables it must refuse, at the line to blame, and
// what it makes of the tables it reads (orders spelled by the labels or
// shared by a sequence's subjects, missing responses, incomplete subjects,
// the reference by name, studies, decimal commas).

#include <gtest/gtest.h>

#include "crossover_test_support.h"

namespace tarnwick::crossover {
namespace {

using namespace testing;
using table_io::InputError;

struct Malformed {
    const char* name;
    const char* table;
    long line;
    const char* says;
};

class CrossoverMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(CrossoverMalformed, RefusedAtTheLine) {
    const Malformed& c = GetParam();
    CrossoverReadOptions options;
    options.response = "PK";
    try {
        tableOf(c.table, options);
        ADD_FAILURE() << "read without complaint";
    } catch (const InputError& e) {
        EXPECT_EQ(e.line(), c.line) << e.what();
        EXPECT_NE(e.description().find(c.says), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind("table.csv:" + std::to_string(c.line) + ": ", 0), 0u)
            << e.what();
    }
}

#define HEAD "subject,period,sequence,treatment,PK\n"
INSTANTIATE_TEST_SUITE_P(
    Tables, CrossoverMalformed,
    ::testing::Values(
        Malformed{"Empty", "", 1, "empty"}, Malformed{"HeaderOnly", HEAD, 1, "no rows"},
        Malformed{"NoTreatmentColumn", "subject,period,sequence,PK\n1,1,TR,5\n", 1,
                  "\"treatment\""},
        Malformed{"NoResponseColumn", "subject,period,sequence,treatment,AUC\n1,1,TR,T,5\n", 1,
                  "\"PK\""},
        Malformed{"ColumnTwice", "subject,period,sequence,treatment,PK,PK\n1,1,TR,T,5,6\n", 1,
                  "twice"},
        Malformed{"SubjectInTwoSequences", HEAD "1,1,TR,T,5\n2,1,RT,R,4\n1,2,RT,R,6\n", 4,
                  "line 2"},
        Malformed{"SubjectPeriodTwice", HEAD "1,1,TR,T,5\n1,2,TR,R,6\n1,1,TR,T,7\n", 4,
                  "second row for period 1 (the first is on line 2)"},
        Malformed{"PeriodContradictsTheLabel", HEAD "1,1,TR,T,5\n1,2,TR,R,6\n2,1,RT,T,4\n", 4,
                  "sequence \"RT\" gives to \"R\""},
        Malformed{"PeriodBeyondTheLabel", HEAD "1,1,TR,T,5\n1,2,TR,R,6\n1,3,TR,R,6\n", 4,
                  "beyond sequence \"TR\""},
        Malformed{"PeriodContradictsTheSequence",
                  HEAD "1,1,A,X,5\n1,2,A,R,6\n2,1,B,R,4\n2,2,B,X,4\n3,1,A,R,4\n", 6,
                  "sequence \"A\" gave \"X\" in that period on line 2"},
        Malformed{"ZeroResponse", HEAD "1,1,TR,T,5\n1,2,TR,R,0\n", 3, "not above 0"},
        Malformed{"NegativeResponse", HEAD "1,1,TR,T,-5\n", 2, "not above 0"},
        Malformed{"WordForAResponse", HEAD "1,1,TR,T,5\n1,2,TR,R,BLQ\n", 3, "\"BLQ\""},
        Malformed{"HugeResponse", HEAD "1,1,TR,T,1e999\n", 2, "range"},
        Malformed{"PeriodNotWhole", HEAD "1,1.5,TR,T,5\n", 2, "\"1.5\""},
        Malformed{"PeriodZero", HEAD "1,0,TR,T,5\n", 2, "from 1 to 99"},
        Malformed{"EmptySubject", HEAD "1,1,TR,T,5\n ,2,TR,R,5\n", 3, "\"subject\" cell is empty"},
        Malformed{"ThirdTreatment", HEAD "1,1,TR,T,5\n1,2,TR,R,5\n2,1,TS,S,5\n", 4, "third"},
        Malformed{"SequenceWithoutResponses",
                  HEAD "1,1,TR,T,5\n1,2,TR,R,6\n2,1,RT,R,NA\n2,2,RT,T,\n", 4,
                  "sequence \"RT\" has no subject"},
        Malformed{"ShortRow", HEAD "1,1,TR,T\n", 2, "4 fields"},
        Malformed{"DecimalCommaInACommaTable", HEAD "1,1,TR,T,5,5\n", 2, "--decimal-comma"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CrossoverReading, MissingResponsesAreCountedAndTheirSubjectsNamed) {
    const CrossoverStudy s = studyOf(dataFile("own_trrt_rttr_missing.csv"));
    EXPECT_EQ(s.missing, 2);
    EXPECT_EQ(s.incomplete, (std::vector<std::string>{"2", "4", "5", "7"}));
    EXPECT_EQ(s.observations.size(), 23u);
    EXPECT_EQ(s.testName, "T");
    EXPECT_EQ(s.referenceName, "R");
    EXPECT_EQ(s.sequences, (std::vector<std::string>{"TRRT", "RTTR"}));
}

TEST(CrossoverReading, LongNamesSpellTheirLabelsAndTheReferenceIsChosenByName) {
    const std::string table =
        "study;subject;period;sequence;treatment;auc\n"
        "s1;1;1;TR;Test;1,5\ns1;1;2;TR;Ref;2,5\ns1;2;2;RT;Test;3\ns1;2;1;RT;Ref;4\n"
        "s2;1;1;1;X;5\ns2;1;2;1;Y;6\ns2;2;1;2;Y;7\ns2;2;2;2;X;8\n";
    CrossoverReadOptions options;
    options.response = "auc";
    options.reference = "Ref";
    const CrossoverTable t = tableOf(table, options);
    ASSERT_EQ(t.studies.size(), 2u);
    EXPECT_TRUE(t.hasStudyColumn);
    EXPECT_EQ(t.delimiter, ';');
    EXPECT_EQ(t.decimalMark, ',');
    EXPECT_EQ(t.studies[0].testName, "Test");
    EXPECT_NEAR(t.studies[0].observations[0].logResponse, std::log(1.5), 1e-15);
    EXPECT_TRUE(t.studies[0].problem.empty());
    // s2's labels name their sequences only; its treatments lack the reference.
    EXPECT_NE(t.studies[1].problem.find("no treatment is named \"Ref\""), std::string::npos);
    EXPECT_EQ(t.studies[1].firstLine, 6);
}

}  // namespace
}  // namespace tarnwick::crossover

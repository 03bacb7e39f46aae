// A found bound is rounded outward once, from the engine's root, and every
// number beside it is the number at the bound as written: its power, and
// both front ends' words. Over a grid of studies (both designs, true
// differences of 0 and not, raw and SD units, sizes from 2 to 5,000) the
// written bound reads back as the bound the power is for, never below the
// root, and the program's columns, its sentence, the window's line and the
// preregistration sentence all write the same digits.

#include <gtest/gtest.h>

#include <charconv>

#include "plan_words.h"
#include "shortest_text.h"
#include "shown_digits.h"

namespace tarnwick::planner {
namespace {

std::vector<Request> boundQuestions() {
    std::vector<Request> questions;
    for (const plan::Design design : {plan::Design::independent, plan::Design::matched})
        for (const double sd : {0.37, 1.2, 1.5, 300.0})
            for (const long n : {2L, 9L, 40L, 123L, 5000L})
                for (const double target : {0.5, 0.8, 0.95})
                    for (const double difference : {0.0, 0.1})
                        for (const auto units :
                             {settings::BoundUnits::raw, settings::BoundUnits::sd}) {
                            Request r;
                            r.question = Question::bound;
                            r.study.design = design;
                            r.study.sd = sd;
                            r.study.difference = difference * sd;
                            r.targetPower = target;
                            r.units = units;
                            r.sizes = {n, design == plan::Design::matched ? 0 : n + n / 4};
                            questions.push_back(r);
                        }
    return questions;
}

double readBack(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(FoundBound, TheWrittenBoundHasThePowerWrittenBesideIt) {
    for (const Request& question : boundQuestions()) {
        const Answer a = answer(question, Digits::shown);
        SCOPED_TRACE(a.foundBound + " from the root " + table_io::shortestText(a.root));
        // Rounded once, from the root, and read back as the bound used.
        EXPECT_EQ(a.foundBound, plan::boundRoundedOutward(a.root));
        EXPECT_EQ(a.upper, readBack(a.foundBound));
        EXPECT_EQ(a.lower, -a.upper);
        EXPECT_GE(a.upper, a.root);
        plan::Study atWritten = question.study;
        atWritten.lower = a.lower;
        atWritten.upper = a.upper;
        EXPECT_EQ(a.power, plan::power(atWritten, question.sizes));
        EXPECT_GE(a.power, question.targetPower);
        // One text in every front end's words.
        const std::array<std::string, 6> fields = answerFields(a);
        EXPECT_EQ(fields[4], "-" + a.foundBound);
        EXPECT_EQ(fields[5], a.foundBound);
        EXPECT_EQ(fields[3], plan::powerCut(a.power, 4));
        EXPECT_TRUE(contains(answerSentence(a), "±" + a.foundBound)) << answerSentence(a);
        EXPECT_TRUE(contains(answerLine(a), "-" + a.foundBound + " and " + a.foundBound))
            << answerLine(a);
        EXPECT_TRUE(
            contains(preregistrationSentence(a), "-" + a.foundBound + " and " + a.foundBound))
            << preregistrationSentence(a);
        if (question.units == settings::BoundUnits::sd) {
            EXPECT_EQ(a.foundBoundInSd, plan::boundRoundedOutward(a.root / question.study.sd));
            EXPECT_TRUE(contains(answerLine(a), a.foundBoundInSd + " SD (")) << answerLine(a);
        }
    }
}

// Full digits write the root itself, and its own power.
TEST(FoundBound, FullDigitsWriteTheRootAndItsPower) {
    for (const Request& question : boundQuestions()) {
        const Answer a = answer(question, Digits::full);
        const plan::BoundAnswer root =
            plan::smallestBound(question.study, question.sizes, question.targetPower);
        EXPECT_EQ(a.upper, root.bound);
        EXPECT_EQ(a.power, root.power);
        EXPECT_EQ(answerFields(a)[5], table_io::shortestText(root.bound));
    }
}

}  // namespace
}  // namespace tarnwick::planner

// The sentences of tarnwick-plan: a power too small to show is said to be so.

#include <gtest/gtest.h>

#include "answer_text.h"

namespace tarnwick::planner {
namespace {

// A power too small to show at one decimal is said to be under it, never
// written as 0.0% unless it is 0.
struct SentencePower {
    double power;
    const char* phrase;
};

class PowerInTheSentence : public ::testing::TestWithParam<SentencePower> {};

TEST_P(PowerInTheSentence, SaysHowSmallItIs) {
    Request request;
    request.question = Question::power;
    request.study.lower = -0.5;
    request.study.upper = 0.5;
    request.study.sd = 1;
    request.sizes = {10, 10};
    Answer shown;
    shown.sizes = request.sizes;
    shown.lower = -0.5;
    shown.upper = 0.5;
    shown.power = GetParam().power;
    const std::string sentence = answerSentence(request, shown, Digits::shown);
    EXPECT_NE(sentence.find(GetParam().phrase), std::string::npos) << sentence;
}

const SentencePower sentencePowers[] = {
    {1e-36, "under 0.1% power"}, {0.00099, "under 0.1% power"}, {0.001, "give 0.1% power"},
    {0, "give 0.0% power"},      {0.90312, "give 90.3% power"},
};
INSTANTIATE_TEST_SUITE_P(Cases, PowerInTheSentence, ::testing::ValuesIn(sentencePowers));

}  // namespace
}  // namespace tarnwick::planner

#include "plan_answer.h"

#include <limits>
#include <numeric>

#include "shortest_text.h"
#include "shown_digits.h"

namespace tarnwick::planner {
namespace {

// A positive found bound as the digits write it.
std::string written(double bound, Digits digits) {
    return digits == Digits::full ? table_io::shortestText(bound)
                                  : plan::boundRoundedOutward(bound);
}

void findBound(const Request& request, Answer& a) {
    const plan::BoundAnswer found =
        plan::smallestBound(request.study, request.sizes, request.targetPower);
    a.root = found.bound;
    a.foundBound = written(found.bound, a.digits);
    if (request.units == settings::BoundUnits::sd)
        a.foundBoundInSd = written(found.bound / request.study.sd, a.digits);
    if (a.digits == Digits::full) {
        a.upper = found.bound;
        a.power = found.power;
    } else {
        a.upper = plan::boundRoundedOutwardValue(found.bound);  // what foundBound reads as
        plan::Study atWritten = request.study;
        atWritten.lower = -a.upper;
        atWritten.upper = a.upper;
        a.power = plan::power(atWritten, request.sizes);
    }
    a.lower = -a.upper;
}

// A one-sided question's bounds as the answer writes them: the margin on
// its side, the other end open.
void oneSidedEnds(settings::Hypothesis hypothesis, settings::Better better, double margin,
                  Answer& a) {
    constexpr double open = std::numeric_limits<double>::infinity();
    const bool above = settings::alternativeSide(hypothesis, better) == settings::Side::above;
    a.lower = above ? margin : -open;
    a.upper = above ? open : margin;
}

void answerBe(const BeRequest& be, Question question, double targetPower, Answer& a) {
    a.lower = be.study.lower;
    a.upper = be.study.upper;
    if (settings::isOneSided(be.study.hypothesis)) {
        oneSidedEnds(be.study.hypothesis, be.study.better, be.study.margin, a);
    }
    switch (question) {
        case Question::size: {
            const be::BeSizeAnswer found = be::smallestSize(be.study, targetPower);
            a.sequenceSizes = found.sequenceSizes;
            a.power = found.power;
            break;
        }
        case Question::power:
            a.sequenceSizes = be.sequenceSizes;
            a.power = be::power(be.study, be.sequenceSizes);
            break;
        case Question::interval:
            a.sequenceSizes = be.sequenceSizes;
            a.interval = be::intervalFromReport(be.study, be.estimate, be.sequenceSizes);
            break;
        case Question::cv:
            a.sequenceSizes = be.sequenceSizes;
            a.cv = be::cvFromInterval(be.study.design, be.study.alpha, be.ciLower, be.ciUpper,
                                      be.sequenceSizes);
            break;
        case Question::bound:
            break;  // refused when read
    }
}

}  // namespace

Answer answer(const Request& request, Digits digits) {
    Answer a;
    a.request = request;
    a.digits = digits;
    if (request.be) {
        answerBe(*request.be, request.question, request.targetPower, a);
        return a;
    }
    a.lower = request.study.lower;
    a.upper = request.study.upper;
    if (settings::isOneSided(request.study.hypothesis)) {
        oneSidedEnds(request.study.hypothesis, request.study.better, request.study.margin, a);
    }
    switch (request.question) {
        case Question::size: {
            const plan::SizeAnswer found =
                plan::smallestSize(request.study, request.targetPower, request.ratio);
            a.sizes = found.sizes;
            a.power = found.power;
            break;
        }
        case Question::power:
            a.sizes = request.sizes;
            a.power = plan::power(request.study, request.sizes);
            break;
        case Question::bound:
            a.sizes = request.sizes;
            findBound(request, a);
            break;
        case Question::interval:
        case Question::cv:
            break;  // read as a bioequivalence design's questions only
    }
    if (request.study.design == plan::Design::matched) a.sizes.n2 = 0;
    return a;
}

long totalSize(const Answer& answer) {
    if (answer.request.be)
        return std::accumulate(answer.sequenceSizes.begin(), answer.sequenceSizes.end(), 0L);
    return answer.sizes.n1 + answer.sizes.n2;
}

}  // namespace tarnwick::planner

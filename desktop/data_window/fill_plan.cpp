#include "fill_plan.h"

#include <cmath>

#include "correlation.h"
#include "data_error.h"
#include "plain_number_text.h"

namespace tarnwick::data_window {
namespace {

using data::plainNumberText;

BoxText number(const char* box, double value) { return {box, plainNumberText(value), value}; }

BoxText size(const char* box, long n) { return {box, std::to_string(n), static_cast<double>(n)}; }

void addGroups(FillPlan& plan, const data::GroupSummary& group1, const data::GroupSummary& group2) {
    plan.boxes.push_back(number("TxtMean1", group1.mean));
    plan.boxes.push_back(number("TxtSD1", group1.sd));
    plan.boxes.push_back(size("TxtN1", group1.n));
    plan.boxes.push_back(number("TxtMean2", group2.mean));
    plan.boxes.push_back(number("TxtSD2", group2.sd));
    plan.boxes.push_back(size("TxtN2", group2.n));
}

}  // namespace

FillPlan planFromSummaries(const data::Summaries& summaries) {
    FillPlan plan;
    addGroups(plan, summaries.group1, summaries.group2);
    if (summaries.differences) {
        plan.matched = true;
        plan.boxes.push_back(number("TxtMeanDiff", summaries.differences->mean));
        plan.boxes.push_back(number("TxtSDMatched", summaries.differences->sd));
    }
    return plan;
}

FillPlan planFromCorrelation(const CorrelationInputs& inputs) {
    using data::DataError;
    using data::DataErrorNumber;
    if (inputs.pairs < 2)
        throw DataError(DataErrorNumber::tooFewScores,
                        "The number of pairs must be a whole number of at least 2.");
    const double sdDifferences = data::sdOfDifferences(inputs.sd1, inputs.sd2, inputs.r);
    const double meanDifference = inputs.mean1 - inputs.mean2;
    if (!std::isfinite(meanDifference))
        throw DataError(DataErrorNumber::numberTooLarge,
                        "The difference of the means is too large for a double.");
    FillPlan plan;
    plan.matched = true;
    addGroups(plan, {inputs.pairs, inputs.mean1, inputs.sd1, 0},
              {inputs.pairs, inputs.mean2, inputs.sd2, 0});
    plan.boxes.push_back(number("TxtMeanDiff", meanDifference));
    plan.boxes.push_back(number("TxtSDMatched", sdDifferences));
    return plan;
}

}  // namespace tarnwick::data_window

#include "row_request.h"

#include "be_row_request.h"
#include "one_sided_request.h"
#include "row_reader.h"
#include "setting_text.h"

namespace tarnwick::planner {
namespace {

using row_text::largestSize;
using row_text::quoted;
using row_text::refuse;
using row_text::RowReader;

Question readQuestion(const RowReader& row) {
    const std::string& solve = row.text(InputColumn::solve);
    if (solve == "n") return Question::size;
    if (solve == "power") return Question::power;
    if (solve == "bound") return Question::bound;
    if (solve == "ci") return Question::interval;
    if (solve == "cv") return Question::cv;
    refuse(RequestProblem::unknownQuestion,
           (solve.empty() ? std::string("solve is empty") : "solve is " + quoted(solve)) +
               "; it must be n, power, bound, ci or cv");
}

void readBounds(const RowReader& row, Request& request) {
    if (request.question == Question::bound) {
        for (InputColumn column : {InputColumn::bound, InputColumn::lower, InputColumn::upper})
            row.mustBeEmpty(column,
                            "solve bound finds the bounds; leave bound, lower and upper empty");
        return;
    }
    const bool lower = row.given(InputColumn::lower), upper = row.given(InputColumn::upper);
    if (const auto bound =
            settings::readBound(row.text(InputColumn::bound), settings::BoundName::symmetric)) {
        if (lower || upper) {
            refuse(RequestProblem::boundsTwice,
                   "bound and lower/upper are both given; give bound for symmetric "
                   "bounds, or lower and upper, not both");
        }
        request.study.lower = -*bound;
        request.study.upper = *bound;
        return;
    }
    const auto bounds =
        settings::readBounds(row.text(InputColumn::lower), row.text(InputColumn::upper));
    if (!bounds) {
        refuse(RequestProblem::missingValue,
               "The bounds are empty: give bound, or lower and upper");
    }
    request.study.lower = bounds->lower;
    request.study.upper = bounds->upper;
}

// A one-sided question takes a margin in raw units, never bounds.
void readMargin(const RowReader& row, Request& request) {
    plan::Study& study = request.study;
    if (request.question != Question::bound) {
        const bool bounds = row.given(InputColumn::bound) || row.given(InputColumn::lower) ||
                            row.given(InputColumn::upper);
        study.better = settings::readBetter(row.text(InputColumn::better));
        study.margin =
            settledMargin(study.hypothesis, settings::readMargin(row.text(InputColumn::margin)),
                          study.better, study.alpha, settings::Scale::difference, bounds);
    }
    if (request.units != settings::BoundUnits::raw) {
        refuse(RequestProblem::unusedValue,
               "bound_units is d, but a one-sided question's margin is a difference in raw "
               "units; leave bound_units empty");
    }
}

// Equivalence and minimal effect take bounds: a margin is refused in the
// test settings' words, a direction as unused.
void refuseOneSidedColumns(const RowReader& row, const plan::Study& study) {
    if (const auto margin = settings::readMargin(row.text(InputColumn::margin))) {
        (void)margin;
        refuseMargin(study.hypothesis, study.alpha);
    }
    row.mustBeEmpty(InputColumn::better,
                    "better is the direction of a one-sided question (non_inferiority, "
                    "non_superiority or superiority)");
}

double readRatio(const RowReader& row, plan::Design design) {
    const double ratio = row.number(InputColumn::ratio, 1);
    if (design == plan::Design::matched && ratio != 1) {
        row.mustBeEmpty(InputColumn::ratio, "a matched design has one size, the number of pairs");
    }
    if (!(ratio > 0)) {
        refuse(RequestProblem::ratioNotPositive, "ratio is " +
                                                     quoted(row.text(InputColumn::ratio)) +
                                                     "; it must be above 0 (ratio = n2 / n1)");
    }
    return ratio;
}

void readSizes(const RowReader& row, Request& request) {
    const bool matched = request.study.design == plan::Design::matched;
    request.ratio = readRatio(row, request.study.design);
    if (request.question == Question::size) {
        for (InputColumn column : {InputColumn::n1, InputColumn::n2})
            row.mustBeEmpty(column, "solve n finds the sizes; leave n1 and n2 empty");
        return;
    }
    const auto n1 = row.size(InputColumn::n1);
    if (!n1) {
        refuse(RequestProblem::missingValue, matched ? "n1 is empty: give the number of pairs"
                                                     : "n1 is empty: give the size of group 1");
    }
    const auto n2 = row.size(InputColumn::n2);
    request.sizes.n1 = *n1;
    if (matched) {
        // A table of both designs may repeat the number of pairs in n2.
        if (n2 && *n2 != *n1)
            row.mustBeEmpty(InputColumn::n2, "a matched design takes the number of pairs in n1");
        return;
    }
    if (request.ratio * static_cast<double>(*n1) > largestSize) {
        refuse(RequestProblem::sizeNotWhole,
               "ratio times n1 is too large to be a number of participants");
    }
    const bool ratioGiven = row.given(InputColumn::ratio);
    if (n2 && ratioGiven && *n1 > 0 && *n2 != plan::secondGroupSize(request.ratio, *n1)) {
        refuse(RequestProblem::sizesDisagree,
               "n2 and ratio are both given and disagree; give one of them");
    }
    request.sizes.n2 = n2 ? *n2 : plan::secondGroupSize(request.ratio, *n1);
}

}  // namespace

Request readRequest(const RowTexts& texts) {
    const RowReader row(texts);
    Request request;
    request.question = readQuestion(row);
    if (isBeQuestion(row, request.question)) {
        readBeRequest(row, request);
        return request;
    }
    refuseRatioColumns(row);
    request.study.design = readDifferenceDesign(row.text(InputColumn::design));
    request.study.hypothesis = settings::readHypothesis(row.text(InputColumn::hypothesis));
    request.study.alpha = settings::readAlpha(row.text(InputColumn::alpha))
                              .value_or(settings::defaultAlpha(request.study.hypothesis));
    request.study.difference = row.number(InputColumn::difference, 0);
    request.study.sd =
        row.required(InputColumn::sd, "the SD (for a matched design, of the differences)");
    request.units = settings::readBoundUnits(row.text(InputColumn::bound_units));
    if (settings::isOneSided(request.study.hypothesis)) {
        readMargin(row, request);
    } else {
        refuseOneSidedColumns(row, request.study);
        readBounds(row, request);
    }
    settleBoundUnits(request);
    if (request.question == Question::power) {
        row.mustBeEmpty(InputColumn::power,
                        "solve power finds the power; the column power is the target for n and "
                        "bound");
    } else {
        request.targetPower = row.required(InputColumn::power, "the target power, such as 0.8");
    }
    readSizes(row, request);
    return request;
}

}  // namespace tarnwick::planner

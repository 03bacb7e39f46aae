#include "form_request.h"

#include <cmath>
#include <optional>

#include "number_text.h"
#include "one_sided_request.h"
#include "run_time_error.h"
#include "score_cell.h"
#include "table_shape.h"

namespace tarnwick::planner {
namespace {

// A box read as one cell of a pasted table: "1,5" is one and a half here
// exactly when the data window would read it so.
std::optional<double> withDecimalComma(const std::string& text) {
    if (data::detectDecimalMark({{text}}, '\t') != ',') return std::nullopt;
    const data::ScoreCell cell = data::readScoreCell(text, ',');
    if (cell.kind != data::CellKind::number) return std::nullopt;
    return cell.value;
}

double numberIn(const std::string& text, const char* box) {
    try {
        return textToNumber(text);
    } catch (const RunTimeError&) {
        if (const std::optional<double> value = withDecimalComma(text)) return *value;
        throw RequestError(RequestProblem::notANumber,
                           std::string("Type a number in the ") + box + " box.");
    }
}

// An empty margin box: the question's default margin (settledMargin).
std::optional<double> marginIn(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return numberIn(text, "margin");
}

long sizeIn(const std::string& text, const char* box) {
    const double value = numberIn(text, box);
    // Far beyond the engine's largest size, yet small enough to count in a long;
    // the engine refuses what lies between.
    if (value != std::floor(value) || !(std::fabs(value) <= 1e12)) {
        throw RequestError(
            RequestProblem::sizeNotWhole,
            std::string("The ") + box + " box needs a whole number of " + "participants.");
    }
    return static_cast<long>(value);
}

Request readRatioForm(const PlanForm& form) {
    Request request;
    request.question = form.question;
    if (form.question != Question::size && form.question != Question::power) {
        throw RequestError(RequestProblem::notOnThisScale,
                           "On the ratio scale the planner finds a size or a power.");
    }
    be::BeStudy& study = request.be.emplace().study;
    study.design = form.beDesign;
    study.scale = be::Scale::ratio;
    study.alpha = numberIn(form.alpha, "alpha");
    if (!settings::isOneSided(form.hypothesis)) {
        study.lower = numberIn(form.lowerRatio, "lower bound");
        study.upper = numberIn(form.upperRatio, "upper bound");
    }
    study.hypothesis = form.hypothesis;
    if (settings::isOneSided(form.hypothesis)) {
        study.better = form.better;
        study.margin = settledMargin(form.hypothesis, marginIn(form.marginRatio), form.better,
                                     study.alpha, settings::Scale::ratio, false);
    } else if (form.hypothesis == settings::Hypothesis::minimalEffect) {
        throw RequestError(RequestProblem::notOnThisScale,
                           "On the ratio scale the planner asks equivalence or a one-sided "
                           "question.");
    }
    study.cv = numberIn(form.cv, "CV");
    study.ratio0 = numberIn(form.ratio0, "true ratio");
    if (form.question == Question::size) {
        request.targetPower = numberIn(form.power, "target power");
    } else {
        const long total = sizeIn(form.total, "subjects in all");
        if (total < 1) {
            throw plan::PlanError(be::error::size,
                                  "A study needs at least one subject per sequence.");
        }
        if (total > be::maxTotal) {
            throw plan::PlanError(be::error::sizeAboveMaximum,
                                  "A study must not have more than 10,000,000 subjects.");
        }
        request.be->sequenceSizes = be::evenSplit(form.beDesign, total);
    }
    return request;
}

}  // namespace

Request readForm(const PlanForm& form) {
    if (form.ratioScale) return readRatioForm(form);
    Request request;
    request.question = form.question;
    plan::Study& study = request.study;
    study.design = form.design;
    study.alpha = numberIn(form.alpha, "alpha");
    study.hypothesis = form.hypothesis;
    const bool oneSided = settings::isOneSided(form.hypothesis);
    if (oneSided && form.question != Question::bound) {
        study.better = form.better;
        study.margin = settledMargin(form.hypothesis, marginIn(form.margin), form.better,
                                     study.alpha, settings::Scale::difference, false);
    } else if (form.question != Question::bound) {
        if (form.symmetric) {
            const double bound = numberIn(form.bound, "bound");
            // Said of the one box there is, not of the two bounds it stands for.
            if (!(bound > 0)) {
                throw RequestError(RequestProblem::boundNotPositive,
                                   "The bound must be above 0: the bounds are minus and "
                                   "plus it.");
            }
            study.lower = -bound;
            study.upper = bound;
        } else {
            study.lower = numberIn(form.lower, "lower bound");
            study.upper = numberIn(form.upper, "upper bound");
        }
    }
    study.difference = numberIn(form.difference, "true difference");
    study.sd = numberIn(form.sd, "SD");
    // A margin is a difference in raw units; only bounds are typed in SD units.
    request.units =
        form.sdUnits && !oneSided ? settings::BoundUnits::sd : settings::BoundUnits::raw;
    settleBoundUnits(request);
    const bool matched = form.design == plan::Design::matched;
    if (form.question == Question::size) {
        request.targetPower = numberIn(form.power, "target power");
        if (!matched) request.ratio = numberIn(form.ratio, "allocation ratio");
    } else {
        if (form.question == Question::bound)
            request.targetPower = numberIn(form.power, "target power");
        request.sizes.n1 = sizeIn(form.n1, matched ? "pairs" : "group 1 size");
        request.sizes.n2 = matched ? 0 : sizeIn(form.n2, "group 2 size");
    }
    return request;
}

}  // namespace tarnwick::planner

#include "curve_points.h"

#include <algorithm>
#include <cmath>

namespace tarnwick::planner {
namespace {

bool isMatched(const PlanAnswer& a) { return a.request.study.design == plan::Design::matched; }

plan::Study studyOf(const PlanAnswer& a) {
    plan::Study study = a.request.study;
    study.lower = a.lower;
    study.upper = a.upper;
    return study;
}

void addIfAnswered(std::vector<CurvePoint>& points, double x, const plan::Study& study,
                   plan::Sizes sizes) {
    try {
        points.push_back({x, plan::power(study, sizes)});
    } catch (const plan::PlanError&) {
        // A size or difference the engine does not take is not drawn.
    }
}

CurveData sizeCurve(const PlanAnswer& a, int count) {
    CurveData curve;
    curve.axis = CurveAxis::size;
    const plan::Study study = studyOf(a);
    // Group 2 keeps the answer's proportion to group 1 along the curve.
    const double ratio = isMatched(a) ? 0 : static_cast<double>(a.sizes.n2) / a.sizes.n1;
    const long last = std::clamp(2 * a.sizes.n1, 10L, plan::maxSize);
    std::vector<long> sizes;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / (count - 1);
        sizes.push_back(std::lround(2 + t * static_cast<double>(last - 2)));
    }
    sizes.push_back(a.sizes.n1);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    for (const long n1 : sizes) {
        plan::Sizes at{n1, 0};
        if (n1 == a.sizes.n1) {
            at = a.sizes;
        } else if (!isMatched(a)) {
            at.n2 =
                std::max(2L, static_cast<long>(std::ceil(ratio * static_cast<double>(n1) - 1e-9)));
        }
        addIfAnswered(curve.points, static_cast<double>(n1), study, at);
    }
    curve.answer = {static_cast<double>(a.sizes.n1), a.power};
    if (isMatched(a)) {
        curve.xTitle = "Pairs";
    } else if (a.sizes.n1 == a.sizes.n2) {
        curve.xTitle = "Participants per group";
    } else {
        curve.xTitle = "Participants in group 1 (group 2 in the same proportion)";
    }
    return curve;
}

CurveData differenceCurve(const PlanAnswer& a, int count) {
    CurveData curve;
    curve.axis = CurveAxis::difference;
    const plan::Study study = studyOf(a);
    const double width = a.upper - a.lower;
    const double from = std::min(a.lower - width / 4, study.difference);
    const double to = std::max(a.upper + width / 4, study.difference);
    for (int i = 0; i < count; ++i) {
        plan::Study at = study;
        at.difference = from + (to - from) * i / (count - 1);
        addIfAnswered(curve.points, at.difference, at, a.sizes);
    }
    curve.answer = {study.difference, a.power};
    curve.points.push_back(curve.answer);
    std::stable_sort(curve.points.begin(), curve.points.end(),
                     [](const CurvePoint& p, const CurvePoint& q) { return p.x < q.x; });
    curve.xTitle = isMatched(a) ? "True mean of the difference scores (raw units)"
                                : "True difference, group 1 minus group 2 (raw units)";
    return curve;
}

}  // namespace

CurveData curveOf(const PlanAnswer& answer, CurveAxis axis, int points) {
    CurveData curve =
        axis == CurveAxis::size ? sizeCurve(answer, points) : differenceCurve(answer, points);
    curve.hasTarget = answer.request.question != Question::power;
    curve.target = answer.request.targetPower;
    curve.lower = answer.lower;
    curve.upper = answer.upper;
    return curve;
}

}  // namespace tarnwick::planner

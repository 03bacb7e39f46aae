#include "curve_points.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace tarnwick::planner {
namespace {

bool isMatched(const Answer& a) { return a.request.study.design == plan::Design::matched; }

plan::Study studyOf(const Answer& a) {
    plan::Study study = a.request.study;
    study.lower = a.lower;
    study.upper = a.upper;
    return study;
}

// The stretch of the difference axis marked as the alternative: the bounds,
// or for a one-sided question (one bound infinite) the margin and a point as
// far beyond the true value as it lies from the margin (on the ratio scale,
// as many times beyond), so that the curve is drawn around both.
struct Ends {
    double lower, upper;
};

Ends drawnEnds(const Answer& a, double truth, bool ratio) {
    if (std::isfinite(a.lower) && std::isfinite(a.upper)) return {a.lower, a.upper};
    const bool above = std::isfinite(a.lower);
    const double margin = above ? a.lower : a.upper;
    double far = ratio ? margin * (truth / margin) * (truth / margin) : 2 * truth - margin;
    if (far == margin || !std::isfinite(far)) {
        far = ratio ? margin * (above ? 1.5 : 1 / 1.5) : margin + (above ? 1.0 : -1.0);
    }
    return above ? Ends{margin, std::max(far, margin)} : Ends{std::min(far, margin), margin};
}

std::optional<double> powerAt(const plan::Study& study, plan::Sizes sizes) {
    try {
        return plan::power(study, sizes);
    } catch (const plan::PlanError&) {
        // A size or difference the engine does not take is not drawn.
        return std::nullopt;
    }
}

void addIfAnswered(std::vector<CurvePoint>& points, double x, const plan::Study& study,
                   plan::Sizes sizes) {
    if (const std::optional<double> p = powerAt(study, sizes)) points.push_back({x, *p});
}

// Halves each stretch of the curve where a straight line between its ends
// misses the power at its middle by more than bendTolerance, until none
// does, the stretch is narrower than narrowest, or the curve has maxPoints.
// A steep curve (a large study against the difference) then gets its points
// where it turns, and a straight stretch keeps two.
void refine(std::vector<CurvePoint>& points, double narrowest,
            const std::function<std::optional<CurvePoint>(double, double)>& middle) {
    bool split = true;
    while (split && points.size() < maxCurvePoints) {
        split = false;
        std::vector<CurvePoint> finer{points.front()};
        for (std::size_t i = 1; i < points.size(); ++i) {
            const CurvePoint& a = points[i - 1];
            const CurvePoint& b = points[i];
            if (b.x - a.x > narrowest && finer.size() + points.size() - i < maxCurvePoints) {
                const std::optional<CurvePoint> m = middle(a.x, b.x);
                if (m && m->x > a.x && m->x < b.x &&
                    std::fabs(m->power - (a.power + (b.power - a.power) * (m->x - a.x) /
                                                        (b.x - a.x))) > bendTolerance) {
                    finer.push_back(*m);
                    split = true;
                }
            }
            finer.push_back(b);
        }
        points = std::move(finer);
    }
}

// Group 2 keeps the answer's proportion to group 1 along the curve; the
// answer's own sizes are its own.
plan::Sizes sizesAt(const Answer& a, long n1, double ratio) {
    if (n1 == a.sizes.n1) return a.sizes;
    if (isMatched(a)) return {n1, 0};
    return {n1, std::max(2L, static_cast<long>(std::ceil(ratio * static_cast<double>(n1) - 1e-9)))};
}

CurveData sizeCurve(const Answer& a, int count) {
    CurveData curve;
    curve.axis = CurveAxis::size;
    const plan::Study study = studyOf(a);
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
        addIfAnswered(curve.points, static_cast<double>(n1), study, sizesAt(a, n1, ratio));
    }
    if (!curve.points.empty()) {
        refine(curve.points, 1, [&](double from, double to) -> std::optional<CurvePoint> {
            const long n1 = std::lround((from + to) / 2);
            const std::optional<double> p = powerAt(study, sizesAt(a, n1, ratio));
            if (!p) return std::nullopt;
            return CurvePoint{static_cast<double>(n1), *p};
        });
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

CurveData differenceCurve(const Answer& a, int count) {
    CurveData curve;
    curve.axis = CurveAxis::difference;
    const plan::Study study = studyOf(a);
    const Ends ends = drawnEnds(a, study.difference, false);
    const double width = ends.upper - ends.lower;
    const double from = std::min(ends.lower - width / 4, study.difference);
    const double to = std::max(ends.upper + width / 4, study.difference);
    std::vector<double> xs;
    for (int i = 0; i < count; ++i)
        xs.push_back(from + (to - from) * i / (count - 1));
    // The bounds themselves, where the power is about alpha, and the answer.
    xs.insert(xs.end(), {ends.lower, ends.upper, study.difference});
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    const auto at = [&](double difference) -> std::optional<CurvePoint> {
        plan::Study s = study;
        s.difference = difference;
        if (difference == study.difference) return CurvePoint{difference, a.power};
        const std::optional<double> p = powerAt(s, a.sizes);
        if (!p) return std::nullopt;
        return CurvePoint{difference, *p};
    };
    for (const double x : xs) {
        if (const std::optional<CurvePoint> p = at(x)) curve.points.push_back(*p);
    }
    if (!curve.points.empty()) {
        refine(curve.points, (to - from) * 1e-6,
               [&](double left, double right) { return at((left + right) / 2); });
    }
    curve.answer = {study.difference, a.power};
    curve.xTitle = isMatched(a) ? "True mean of the difference scores (raw units)"
                                : "True difference, group 1 minus group 2 (raw units)";
    return curve;
}

// ---- A bioequivalence design: whole sequences, or the true ratio. ----

std::optional<double> bePowerAt(const be::BeStudy& study, const std::vector<long>& sizes) {
    try {
        return be::power(study, sizes);
    } catch (const plan::PlanError&) {
        return std::nullopt;
    }
}

// The total in whole sequences from the smallest the design takes to about
// twice the answer's, each sequence the same size; the answer's own sizes
// (which may differ between sequences) at its total.
CurveData beSizeCurve(const Answer& a, int count) {
    CurveData curve;
    curve.axis = CurveAxis::size;
    const be::BeStudy& study = a.request.be->study;
    const long sequences = be::designConstants(study.design).sequences;
    const long answerTotal = totalSize(a);
    const long lastK = std::clamp(2 * answerTotal / sequences, 10L, be::maxTotal / sequences);
    std::vector<long> ks;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / (count - 1);
        ks.push_back(std::lround(1 + t * static_cast<double>(lastK - 1)));
    }
    std::sort(ks.begin(), ks.end());
    ks.erase(std::unique(ks.begin(), ks.end()), ks.end());
    const auto at = [&](long k) -> std::optional<CurvePoint> {
        const std::optional<double> p =
            bePowerAt(study, std::vector<long>(static_cast<std::size_t>(sequences), k));
        if (!p) return std::nullopt;
        return CurvePoint{static_cast<double>(k * sequences), *p};
    };
    for (const long k : ks) {
        if (const std::optional<CurvePoint> p = at(k)) curve.points.push_back(*p);
    }
    if (!curve.points.empty()) {
        refine(curve.points, static_cast<double>(sequences), [&](double from, double to) {
            return at(std::lround((from + to) / 2 / sequences));
        });
    }
    curve.answer = {static_cast<double>(answerTotal), a.power};
    curve.xTitle = study.design == be::BeDesign::paired ? "Subjects"
                   : study.design == be::BeDesign::parallel
                       ? "Subjects in all (both groups the same size)"
                       : "Subjects in all (whole sequences)";
    return curve;
}

CurveData beRatioCurve(const Answer& a, int count) {
    CurveData curve;
    curve.axis = CurveAxis::difference;
    const be::BeStudy& study = a.request.be->study;
    const Ends ends = drawnEnds(a, study.ratio0, true);
    const double width = ends.upper - ends.lower;
    const double from = std::max(std::min(ends.lower - width / 4, study.ratio0), ends.lower / 2);
    const double to = std::max(ends.upper + width / 4, study.ratio0);
    std::vector<double> xs;
    for (int i = 0; i < count; ++i)
        xs.push_back(from + (to - from) * i / (count - 1));
    xs.insert(xs.end(), {ends.lower, ends.upper, study.ratio0});
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    const auto at = [&](double ratio0) -> std::optional<CurvePoint> {
        if (ratio0 == study.ratio0) return CurvePoint{ratio0, a.power};
        be::BeStudy s = study;
        s.ratio0 = ratio0;
        const std::optional<double> p = bePowerAt(s, a.sequenceSizes);
        if (!p) return std::nullopt;
        return CurvePoint{ratio0, *p};
    };
    for (const double x : xs) {
        if (const std::optional<CurvePoint> p = at(x)) curve.points.push_back(*p);
    }
    if (!curve.points.empty()) {
        refine(curve.points, (to - from) * 1e-6,
               [&](double left, double right) { return at((left + right) / 2); });
    }
    curve.answer = {study.ratio0, a.power};
    curve.xTitle = "True ratio T / R";
    return curve;
}

}  // namespace

CurveData curveOf(const Answer& answer, CurveAxis axis, int points) {
    const bool be = answer.request.be.has_value();
    CurveData curve = axis == CurveAxis::size
                          ? (be ? beSizeCurve(answer, points) : sizeCurve(answer, points))
                          : (be ? beRatioCurve(answer, points) : differenceCurve(answer, points));
    curve.hasTarget = answer.request.question != Question::power;
    curve.target = answer.request.targetPower;
    const double truth = be ? answer.request.be->study.ratio0 : answer.request.study.difference;
    const Ends ends = drawnEnds(answer, truth, be);
    curve.lower = ends.lower;
    curve.upper = ends.upper;
    return curve;
}

}  // namespace tarnwick::planner

#include "crossover_analysis.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "crossover_error.h"
#include "quoted_field.h"
#include "run_time_error.h"
#include "shortest_text.h"
#include "t_distribution.h"
#include "two_period_anova.h"
#include "within_subject_fit.h"

namespace tarnwick::crossover {
namespace {

// P(T >= t) for Student's t with df degrees of freedom, either sign of t.
double upperTail(double t, double df) {
    const double beyond = TDistribution::instance().TailProbability(t, df, 1);
    return t >= 0 ? beyond : 1 - beyond;
}

std::string sentence(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text + ".";
}

// One fit of the log responses of `chosen` observations, subjects absorbed,
// with an indicator for every period but the first and, when `formulation`,
// one for the test formulation last.
struct Fitted {
    WithinFit fit;
    long subjects = 0, observations = 0;
};

Fitted fitObservations(const CrossoverStudy& study, const std::vector<const Observation*>& chosen,
                       bool formulation) {
    std::map<int, std::size_t> periods;
    std::vector<std::size_t> dense(study.subjects.size(), static_cast<std::size_t>(-1));
    Fitted fitted;
    std::vector<std::size_t> subjectOf;
    subjectOf.reserve(chosen.size());
    for (const Observation* o : chosen) {
        periods.emplace(o->period, 0);
        if (dense[o->subject] == static_cast<std::size_t>(-1))
            dense[o->subject] = fitted.subjects++;
        subjectOf.push_back(dense[o->subject]);
    }
    std::size_t column = 0;
    for (auto& [period, at] : periods)
        at = column++;  // the first period's column is left out below
    const std::size_t width = periods.size() - 1 + (formulation ? 1 : 0);
    std::vector<std::vector<double>> columns(width, std::vector<double>(chosen.size(), 0.0));
    std::vector<double> response(chosen.size());
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::size_t at = periods.at(chosen[i]->period);
        if (at > 0) columns[at - 1][i] = 1;
        if (formulation && chosen[i]->test) columns.back()[i] = 1;
        response[i] = chosen[i]->logResponse;
    }
    fitted.observations = static_cast<long>(chosen.size());
    fitted.fit = fitWithinSubjects(static_cast<std::size_t>(fitted.subjects), subjectOf,
                                   std::move(columns), std::move(response));
    return fitted;
}

std::vector<SequencePeriodMean> meansOf(const CrossoverStudy& study) {
    std::map<std::pair<std::size_t, int>, std::pair<long, double>> sums;
    for (const Observation& o : study.observations) {
        auto& [n, sum] = sums[{study.subjects[o.subject].sequence, o.period}];
        ++n;
        sum += o.logResponse;
    }
    std::vector<SequencePeriodMean> means;
    for (const auto& [key, value] : sums)
        means.push_back({study.sequences[key.first], key.second, value.first,
                         value.second / static_cast<double>(value.first)});
    return means;
}

// The 2x2x2 table when the fit had two periods and every subject in it both.
std::vector<AnovaRow> anovaOf(const CrossoverStudy& study,
                              const std::vector<const Observation*>& kept) {
    std::map<std::size_t, std::vector<const Observation*>> bySubject;
    int firstPeriod = kept.front()->period, lastPeriod = firstPeriod;
    for (const Observation* o : kept) {
        bySubject[o->subject].push_back(o);
        firstPeriod = std::min(firstPeriod, o->period);
        lastPeriod = std::max(lastPeriod, o->period);
    }
    std::map<std::size_t, int> sequenceAt;
    std::vector<TwoPeriodSubject> subjects;
    long inSequence[2] = {0, 0};
    for (const auto& [subject, rows] : bySubject) {
        if (rows.size() != 2) return {};
        const std::size_t sequence = study.subjects[subject].sequence;
        const auto [at, added] =
            sequenceAt.try_emplace(sequence, static_cast<int>(sequenceAt.size()));
        if (at->second > 1) return {};
        const bool inOrder = rows[0]->period < rows[1]->period;
        const Observation* first = inOrder ? rows[0] : rows[1];
        const Observation* second = inOrder ? rows[1] : rows[0];
        if (first->period != firstPeriod || second->period != lastPeriod) return {};
        subjects.push_back({at->second, first->logResponse, second->logResponse});
        ++inSequence[at->second];
    }
    if (inSequence[0] == 0 || inSequence[1] == 0) return {};
    return twoPeriodAnova(subjects);
}

}  // namespace

std::string designOf(const CrossoverStudy& study) {
    std::vector<std::string> labels = study.sequences;
    std::sort(labels.begin(), labels.end());
    std::string design;
    for (const std::string& label : labels)
        design += (design.empty() ? "" : "|") + label;
    return design;
}

void checkSettings(const CrossoverSettings& given) {
    settings::TestSettings asked;
    asked.alpha = given.alpha;
    asked.bounds = given.bounds;
    asked.scale = settings::Scale::ratio;
    settings::check(asked);  // on the ratio scale: 0 < lower < upper, both finite
}

double cvOfLogVariance(double variance) { return std::sqrt(std::expm1(variance)); }

CrossoverResult analyseCrossover(const CrossoverStudy& study, const CrossoverSettings& settings) {
    checkSettings(settings);
    if (!study.problem.empty()) throw CrossoverError(error::noReference, sentence(study.problem));
    CrossoverResult result;
    result.design = designOf(study);
    result.means = meansOf(study);

    // Subjects without both formulations say nothing of their difference.
    std::vector<int> took(study.subjects.size(), 0);  // bit 1: test, bit 2: reference
    for (const Observation& o : study.observations)
        took[o.subject] |= o.test ? 1 : 2;
    std::vector<const Observation*> kept, reference;
    for (const Observation& o : study.observations) {
        if (took[o.subject] == 3) kept.push_back(&o);
        if (!o.test) reference.push_back(&o);
    }
    for (std::size_t s = 0; s < study.subjects.size(); ++s) {
        if (took[s] != 3) result.leftOut.push_back(study.subjects[s].name);
    }
    if (kept.empty())
        throw CrossoverError(error::noContrast,
                             "No subject has responses to both " +
                                 table_io::quotedField(study.testName) + " and " +
                                 table_io::quotedField(study.referenceName) + ".");

    const Fitted fitted = fitObservations(study, kept, true);
    const WithinFit& fit = fitted.fit;
    result.subjects = fitted.subjects;
    result.observations = fitted.observations;
    if (fit.lastAliased)
        throw CrossoverError(error::confounded,
                             "The formulations cannot be told apart from the periods: every "
                             "subject took them in the same order.");
    result.df =
        static_cast<double>(fitted.observations - fitted.subjects) - static_cast<double>(fit.rank);
    if (!(result.df >= 1))
        throw CrossoverError(error::noResidual,
                             "No degrees of freedom are left for the residual: " +
                                 std::to_string(fitted.observations) + " responses of " +
                                 std::to_string(fitted.subjects) + " subjects in " +
                                 std::to_string(fit.rank) + " periods and formulations.");
    // Rounding leaves a residual of about 1e-32 of the centred sum of squares
    // where the fit is exact; a real residual is far above 1e-24 of it.
    if (!(fit.residualSs > 1e-24 * fit.centredSs))
        throw CrossoverError(error::noSpread,
                             "Every residual is zero: the responses show no within-subject "
                             "variation beyond the periods and formulations.");
    result.residualMs = fit.residualSs / result.df;
    result.cvWithin = cvOfLogVariance(result.residualMs);
    result.difference = fit.lastCoefficient;
    result.standardError = std::sqrt(result.residualMs) * fit.lastSeFactor;

    double critical = 0;
    try {
        critical = TDistribution::instance().CriticalValue(settings.alpha, result.df, 1);
    } catch (const RunTimeError&) {
        throw CrossoverError(error::tooLarge,
                             "Alpha " + number_text::shortestText(settings.alpha) +
                                 " is too small for Student's t with " +
                                 number_text::shortestText(result.df) +
                                 " degrees of freedom: its critical value is beyond the range "
                                 "of a double.");
    }
    const double halfWidth = critical * result.standardError;
    result.ratio = std::exp(result.difference);
    result.low = std::exp(result.difference - halfWidth);
    result.high = std::exp(result.difference + halfWidth);
    const double tLower =
        (result.difference - std::log(settings.bounds.lower)) / result.standardError;
    const double tUpper =
        (result.difference - std::log(settings.bounds.upper)) / result.standardError;
    result.pLower = upperTail(tLower, result.df);
    result.pUpper = upperTail(-tUpper, result.df);
    result.decision = result.pLower < settings.alpha && result.pUpper < settings.alpha
                          ? TostDecision::equivalent
                          : TostDecision::notShownEquivalent;

    // The reference's own variation, where some subject took it twice.
    std::vector<int> referenceCount(study.subjects.size(), 0);
    bool replicated = false;
    for (const Observation* o : reference)
        replicated = replicated || ++referenceCount[o->subject] > 1;
    if (replicated) {
        const Fitted own = fitObservations(study, reference, false);
        const double df = static_cast<double>(own.observations - own.subjects) -
                          static_cast<double>(own.fit.rank);
        if (df >= 1) {
            result.dfReference = df;
            result.cvReference = cvOfLogVariance(own.fit.residualSs / df);
        }
    }
    result.anova = anovaOf(study, kept);
    return result;
}

}  // namespace tarnwick::crossover

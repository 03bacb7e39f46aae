#pragma once
// Average bioequivalence of two formulations from a crossover study's raw
// data: the fixed-effects model on the log responses with sequence,
// subject within sequence, period and formulation, fitted by absorbing the
// subjects (within_subject_fit.h), for any sequences of T and R (2x2x2, the
// full replicates TRTR/RTRT and TRT/RTR, the partial replicate TRR/RTR/RRT,
// and others) and any periods missing.
//
// The estimate is the formulation's coefficient, T - R on the log scale,
// with its standard error from the residual mean square and
// df = observations - subjects - (periods - 1) - 1 (the centred design's
// rank in place of periods when some period cannot be told apart). Its
// 100(1 - 2 alpha)% interval and the two one-sided tests against the bounds
// (ratios, on the log scale) are Student's t of that df (engine/distribution).
// Subjects without both formulations carry no information on their
// difference; they are left out of the fit, named, and change nothing.
// Equivalence is concluded when both one-sided p values lie below alpha,
// which is when the unrounded interval lies strictly inside the bounds.
//
// The within-subject CV is sqrt(exp(MSE) - 1). In a replicate design (a
// subject with two reference responses) the reference's own within-subject
// CV comes from the reference responses alone, every subject's, with
// subject and period (the sequence is absorbed in the subject).

#include <optional>
#include <string>
#include <vector>

#include "conclusion.h"
#include "crossover_study.h"
#include "test_settings.h"

namespace tarnwick::crossover {

struct CrossoverSettings {
    double alpha = 0.05;                  // each one-sided test's level, 0 < alpha < 0.5
    settings::Bounds bounds{0.80, 1.25};  // ratios T / R, 0 < lower < upper
};

// One row of the 2x2x2 analysis of variance of the log responses.
struct AnovaRow {
    std::string source;  // "sequence", "subject(sequence)", "period", "formulation", "residual"
    double ss = 0, df = 0, ms = 0;
    std::optional<double> f, p;  // the sequence against subjects, the rest against the residual
};

struct SequencePeriodMean {
    std::string sequence;
    int period = 0;
    long n = 0;          // the responses present
    double meanLog = 0;  // the mean of their logs; exp of it is their geometric mean
};

struct CrossoverResult {
    std::string design;                   // the sequences' labels, sorted, joined by "|"
    long subjects = 0, observations = 0;  // in the fit
    std::vector<std::string> leftOut;     // subjects without both formulations, by name
    double difference = 0;                // T - R on the log scale
    double standardError = 0;
    double df = 0;
    double ratio = 0, low = 0, high = 0;  // exp of the estimate and the interval's ends
    double residualMs = 0;
    double cvWithin = 0;
    std::optional<double> cvReference;  // replicate designs with a reference df
    double dfReference = 0;
    double pLower = 1, pUpper = 1;  // H0: ratio <= lower; H0: ratio >= upper
    TostDecision decision = TostDecision::notShownEquivalent;
    std::vector<AnovaRow> anova;  // the 2x2x2 design only (two periods, every subject complete)
    std::vector<SequencePeriodMean> means;  // every response present, by sequence and period
};

// Throws settings::SettingsError for alpha or bounds that are no settings
// (not finite, lower not below upper, alpha outside (0, 0.5)) and
// settings::SettingsError (error::ratioBound) for a lower bound not above 0.
void checkSettings(const CrossoverSettings& settings);

// Throws settings::SettingsError for alpha or bounds that are no settings,
// and CrossoverError (crossover_error.h) for a study with no answer.
CrossoverResult analyseCrossover(const CrossoverStudy& study, const CrossoverSettings& settings);

// The sequences' labels, sorted, joined by "|" ("RT|TR").
std::string designOf(const CrossoverStudy& study);

// The CV of a log-scale variance: sqrt(exp(v) - 1), without the loss of digits
// of exp at small v.
double cvOfLogVariance(double variance);

}  // namespace tarnwick::crossover

#pragma once
// The working values of one run of the analysis, as it computed them, for
// whoever reports on the run beyond the boxes (the report, the batch program).
// The boxes show these values rounded; the record keeps them unrounded, so that
// nothing downstream has to read a number back from a box or compute a second
// time what the analysis already decided.

#include <optional>

namespace tarnwick {

// The two one-sided tests against -bound and +bound, as the verdict judged them.
struct OneSidedTests {
    double bound = 0;          // the non-trivial difference as typed (its sign is kept)
    double standardError = 0;  // what both t values divide by (s delta)
    double tUpper = 0, tLower = 0;
    double dfUsed = 0;
    double crit05 = 0, crit95 = 0;
    bool upperPasses = false, lowerPasses = false;
    bool trivial = false;  // the verdict: both tests pass
};

struct IndependentRecord {
    double mean1 = 0, mean2 = 0, sd1 = 0, sd2 = 0, n1 = 0, n2 = 0;
    double diff = 0;
    double welchSE = 0, welchT = 0, welchDF = 0, welchP2 = 0;
    double pooledVariance = 0;
    double studentSE = 0, studentT = 0, studentDF = 0, studentP2 = 0;
    double sDelta = 0;
    bool welchSelected = false;          // OpWelch chose the df of the critical values
    std::optional<OneSidedTests> tests;  // absent when the non-trivial difference was empty
};

struct MatchedRecord {
    double n = 0;  // the number of pairs (group 1's size)
    double meanDiff = 0, sdMatched = 0;
    double t = 0, df = 0, p2 = 0;
    std::optional<OneSidedTests> tests;  // absent when the non-trivial difference was empty
};

struct RunRecord {
    // True only when the run ended with its results shown and no message box.
    bool endedWithResults = false;
    IndependentRecord independent;
    std::optional<MatchedRecord> matched;  // present when the matched design ran to its end
};

}  // namespace tarnwick

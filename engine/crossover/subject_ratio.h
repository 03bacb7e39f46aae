#pragma once
// Each subject's own ratio T/R: the geometric mean of its test responses
// over the geometric mean of its reference responses, exp(mean log T -
// mean log R). A picture of these shows which subjects pull the estimate and
// how the sequences differ; the analysis itself (crossover_analysis.h) does
// not average them, since it adjusts for the periods.

#include <string>
#include <vector>

#include "crossover_study.h"

namespace tarnwick::crossover {

struct SubjectRatio {
    std::string subject;
    std::size_t sequence = 0;      // into CrossoverStudy::sequences
    long test = 0, reference = 0;  // the responses each mean is of
    double ratio = 0;
};

// Every subject with both formulations, in the study's order of subjects.
// Subjects without both are left out, as the analysis leaves them out.
std::vector<SubjectRatio> subjectRatios(const CrossoverStudy& study);

}  // namespace tarnwick::crossover

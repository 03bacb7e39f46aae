#include "subject_ratio.h"

#include <cmath>

namespace tarnwick::crossover {

std::vector<SubjectRatio> subjectRatios(const CrossoverStudy& study) {
    struct Sums {
        long test = 0, reference = 0;
        double logTest = 0, logReference = 0;
    };
    std::vector<Sums> sums(study.subjects.size());
    for (const Observation& o : study.observations) {
        Sums& s = sums[o.subject];
        if (o.test) {
            ++s.test;
            s.logTest += o.logResponse;
        } else {
            ++s.reference;
            s.logReference += o.logResponse;
        }
    }
    std::vector<SubjectRatio> ratios;
    for (std::size_t i = 0; i < study.subjects.size(); ++i) {
        const Sums& s = sums[i];
        if (s.test == 0 || s.reference == 0) continue;
        const double logRatio = s.logTest / static_cast<double>(s.test) -
                                s.logReference / static_cast<double>(s.reference);
        ratios.push_back({study.subjects[i].name, study.subjects[i].sequence, s.test, s.reference,
                          std::exp(logRatio)});
    }
    return ratios;
}

}  // namespace tarnwick::crossover

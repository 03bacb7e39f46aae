#include "analysis_choice.h"

#include "normal_theory_analysis.h"
#include "rank_analysis.h"
#include "trimmed_analysis.h"

namespace tarnwick::score_analysis {

ScoreResult runAnalysis(Analysis analysis, std::span<const double> x, std::span<const double> y,
                        bool matched, const ScoreSettings& settings,
                        const BootstrapSettings& bootstrap) {
    switch (analysis) {
        case Analysis::normal:
            return matched ? normalTheoryMatched(x, y, settings)
                           : normalTheoryIndependent(x, y, settings);
        case Analysis::rank:
            return matched ? rankMatched(x, y, settings) : rankIndependent(x, y, settings);
        case Analysis::trimmed:
            return matched ? yuenMatched(x, y, settings) : yuenIndependent(x, y, settings);
        case Analysis::bootstrap:
            break;
    }
    return matched ? bootstrapMatched(x, y, settings, bootstrap)
                   : bootstrapIndependent(x, y, settings, bootstrap);
}

}  // namespace tarnwick::score_analysis

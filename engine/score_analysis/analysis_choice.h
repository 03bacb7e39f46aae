#pragma once
// The four analyses of raw scores by name, and one call that runs any of
// them on either design, so that every front end runs them the same way.

#include <array>
#include <span>

#include "bootstrap_analysis.h"
#include "score_result.h"
#include "score_settings.h"

namespace tarnwick::score_analysis {

enum class Analysis { normal, rank, trimmed, bootstrap };
inline constexpr std::array<Analysis, 4> analyses = {Analysis::normal, Analysis::rank,
                                                     Analysis::trimmed, Analysis::bootstrap};

// Throws ScoreError when the analysis cannot be made. Matched scores pair by
// position.
ScoreResult runAnalysis(Analysis analysis, std::span<const double> group1,
                        std::span<const double> group2, bool matched, const ScoreSettings& settings,
                        const BootstrapSettings& bootstrap);

}  // namespace tarnwick::score_analysis

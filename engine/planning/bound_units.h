#pragma once
// Bounds typed as multiples of the SD a study assumes (d: the common SD for
// two groups, the SD of the difference scores for pairs), turned into the
// raw bounds every question takes.

#include "plan.h"
#include "test_settings.h"

namespace tarnwick::plan {

// The study with raw bounds: as given for raw units, times study.sd for SD
// units. Throws PlanError (error::sd) when SD units meet an SD that is not
// positive and finite, (error::bounds) when the product overflows.
Study inRawUnits(Study study, settings::BoundUnits units);

}  // namespace tarnwick::plan

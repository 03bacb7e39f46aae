#pragma once
#include "box_access.h"
#include "run_record.h"

namespace tarnwick {

// What the run button does: refuses missing group data, equal means and means
// that are not numbers, otherwise empties all 26 result boxes and runs the
// analysis. A refusal shows one message box and changes nothing else. The
// record, when given, is reset and then filled by the analysis.
void runCommand(BoxAccess& boxes, RunRecord* record = nullptr);

}  // namespace tarnwick

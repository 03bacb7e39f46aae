#pragma once
#include "box_access.h"
#include "run_record.h"

namespace tarnwick {

// The equivalence analysis: reads the inputs from the boxes, computes the
// independent-samples results and, with the matched design selected, the
// matched-samples results, and writes texts and colours back. Every way it
// can fail ends in one message box; it never throws. When a record is given,
// it receives the run's working values as they are computed.
void Differences(BoxAccess& boxes, RunRecord* record = nullptr);

}  // namespace tarnwick

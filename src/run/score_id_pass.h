// The passes of the score IDs: the one place that runs each statistic and
// hands its list to the writers, in the order the console and the files
// show.
#pragma once

#include "run/run_context.h"

namespace tallyhawk {

// For every score ID of the run, in ascending order: prints the "SCORE ID"
// block, then computes and writes the pilot lists and the squad lists.
void RunScoreIdPasses(RunContext& context);

}  // namespace tallyhawk

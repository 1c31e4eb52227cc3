#include "stats/pilot_stats.h"

#include "run/run_context.h"

namespace tallyhawk {

// TODO(stats)
void ComputePilotStats(RunContext&) {}

}  // namespace tallyhawk

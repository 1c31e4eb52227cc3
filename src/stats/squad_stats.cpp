#include "stats/squad_stats.h"

#include "run/run_context.h"

namespace tallyhawk {

// TODO(stats)
void ComputeSquadStats(RunContext&) {}
void CompileSquadStats(RunContext&) {}

}  // namespace tallyhawk

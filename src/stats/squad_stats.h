// The eight squad top lists of the current score ID.
#pragma once

namespace tallyhawk {

struct RunContext;

// Compiles the squad sums and member counts of the current score ID, then
// runs every enabled squad filter and hands each list to the enabled writers.
void ComputeSquadStats(RunContext& context);

// Fills the accumulators of every squad for the current score ID.
void CompileSquadStats(RunContext& context);

}  // namespace tallyhawk

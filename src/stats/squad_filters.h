// The eight squad filters. Each ranks the squads of the squad table by the
// sums that CompileSquadStats left in them, into the context's TopList.
#pragma once

namespace tallyhawk {

struct RunContext;

void FilterSquadTotalPoints(RunContext& context);
void FilterSquadAvgPoints(RunContext& context);
void FilterSquadAvgKill(RunContext& context);
void FilterSquadWins(RunContext& context);
void FilterSquadLosses(RunContext& context);
void FilterSquadRatio(RunContext& context);
void FilterSquadRating(RunContext& context);
void FilterSquadMembers(RunContext& context);

}  // namespace tallyhawk

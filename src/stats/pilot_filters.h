// The eight pilot filters. Each leaves, in the context's TopList, the best
// score rows of the current score ID by its statistic.
#pragma once

namespace tallyhawk {

struct RunContext;

void FilterPilotTotalPoints(RunContext& context);
void FilterPilotFlagPoints(RunContext& context);
void FilterPilotKillPoints(RunContext& context);
void FilterPilotAvgKill(RunContext& context);
void FilterPilotWins(RunContext& context);
void FilterPilotLosses(RunContext& context);
void FilterPilotRatio(RunContext& context);
void FilterPilotRating(RunContext& context);

}  // namespace tallyhawk

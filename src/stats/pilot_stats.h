// The eight pilot top lists of the current score ID.
#pragma once

namespace tallyhawk {

struct RunContext;

// Runs every enabled pilot filter and hands each list to the enabled writers
// (text file, HTML page, grouped page).
void ComputePilotStats(RunContext& context);

}  // namespace tallyhawk

// The passes of the score IDs: the one place that runs each statistic and
// hands its list to the writers, in the order the console and the files
// show.
#pragma once

#include <optional>

#include "run/run_context.h"
#include "stats/squad_membership.h"

namespace tallyhawk {

// The squad membership that the squad lists need, or nothing when none of
// them is on. Reads only the settings and the user and squad tables.
std::optional<SquadMembership> MembershipFor(const RunContext& context);

// For every score ID of the run, in ascending order: prints the "SCORE ID"
// block, then computes and writes the pilot lists and the squad lists.
void RunScoreIdPasses(RunContext& context);

}  // namespace tallyhawk

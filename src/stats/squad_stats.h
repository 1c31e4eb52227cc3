// A squad's figures for one score ID: the sums of its members' score rows of
// that score ID, and its size.
#pragma once

#include <cstdint>
#include <vector>

#include "db/databases.h"
#include "stats/squad_membership.h"
#include "util/progress.h"

namespace tallyhawk {

// Sums are kept exactly (64-bit), so that large squads never wrap.
struct SquadStats {
  uint32_t Members = 0;
  uint64_t Wins = 0;
  uint64_t Losses = 0;
  double KillPoints = 0;
  double FlagPoints = 0;
};

// The figures of every squad, by its position in the squad table, from the
// rows of one score ID (ascending slots; `score_slots` is the SlotCount of
// the score table) and the run's membership. The dots of the walk over the
// rows come first, then those of the membership walk.
std::vector<SquadStats> CompileSquadStats(const ScoreRows& rows,
                                          uint64_t score_slots,
                                          const SquadTableType& squads,
                                          const SquadMembership& membership,
                                          ProgressSink& progress);

}  // namespace tallyhawk

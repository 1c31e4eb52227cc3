#include "stats/squad_stats.h"

namespace tallyhawk {

std::vector<SquadStats> CompileSquadStats(const ScoreRows& rows,
                                          uint64_t score_slots,
                                          const SquadTableType& squads,
                                          const SquadMembership& membership,
                                          ProgressSink& progress) {
  std::vector<SquadStats> stats(squads.size());
  for (size_t k = 0; k < stats.size(); ++k) {
    stats[k].Members = membership.members[k];
  }
  ProgressMark mark(progress);
  SlotProgress walk(50, score_slots);
  for (size_t k = 0; k < rows.size(); ++k) {
    const ScoreRow& row = rows[k];
    const uint32_t squad = membership.squad_of_user[row.user];
    if (squad == SquadMembership::kNoSquad) continue;
    SquadStats& sums = stats[squad];
    sums.Wins += row.Wins;
    sums.Losses += row.Losses;
    sums.KillPoints += row.KillPoints;
    sums.FlagPoints += row.FlagPoints;
    if (walk.Advance(row.slot)) mark.Update(walk.value());
  }
  // The members were counted once; their walk's dots still follow, with the
  // mark the score rows left.
  for (uint64_t value : membership.progress) mark.Update(value);
  return stats;
}

}  // namespace tallyhawk

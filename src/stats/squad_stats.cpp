#include "stats/squad_stats.h"

namespace tallyhawk {

std::vector<SquadStats> CompileSquadStats(const std::vector<ScoreRow>& rows,
                                          uint64_t score_slots,
                                          const SquadTableType& squads,
                                          const SquadMembership& membership,
                                          ProgressSink& progress) {
  std::vector<SquadStats> stats(squads.size());
  for (size_t k = 0; k < stats.size(); ++k) {
    stats[k].Members = membership.members[k];
  }
  ProgressMark mark(progress);
  const SquadRecord* first_squad = squads.records().data();
  for (const ScoreRow& row : rows) {
    if (row.squad == nullptr) continue;
    SquadStats& squad = stats[static_cast<size_t>(row.squad - first_squad)];
    squad.Wins += row.score->Wins;
    squad.Losses += row.score->Losses;
    squad.KillPoints += row.score->KillPoints;
    squad.FlagPoints += row.score->FlagPoints;
    mark.Update(ProgressOf(50, row.slot, score_slots));
  }
  // The members were counted once; their walk's dots still follow, with the
  // mark the score rows left.
  for (uint64_t value : membership.progress) mark.Update(value);
  return stats;
}

}  // namespace tallyhawk

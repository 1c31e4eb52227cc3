#include "db/score_ids.h"

#include <algorithm>

#include "run/run_context.h"
#include "stats/pilot_stats.h"
#include "stats/squad_stats.h"

namespace tallyhawk {

void ScoreIdList::Insert(uint32_t score_id) {
  auto it = std::lower_bound(ids_.begin(), ids_.end(), score_id);
  if (it == ids_.end() || *it != score_id) ids_.insert(it, score_id);
}

void ScoreIdList::Assign(std::vector<uint32_t> score_ids) {
  std::sort(score_ids.begin(), score_ids.end());
  score_ids.erase(std::unique(score_ids.begin(), score_ids.end()),
                  score_ids.end());
  ids_ = std::move(score_ids);
}

namespace {

// Gathers the score IDs of the rows whose user is loaded, walking the score
// table in ascending slot order. The dots mark tenths of SlotCount, and only
// rows that count can print one, so where they fall depends on which slots
// hold such rows.
std::vector<uint32_t> GatherScoreIds(RunContext& context) {
  const ScoreTableType& scores = context.databases.ScoreTable;
  const UserTableType& users = context.databases.UserTable;
  const uint64_t slot_count = scores.SlotCount();
  std::vector<uint32_t> found;
  uint64_t last_dot = 0;
  for (size_t i = 0; i < scores.size(); ++i) {
    const ScoreRecord& score = scores.records()[i];
    if (users.Lookup(score.UserID) == nullptr) continue;
    // Neighbouring rows mostly share a score ID; the rest is sorted out at
    // the end, which keeps a file of many distinct IDs fast.
    if (found.empty() || found.back() != score.ScoreID) {
      found.push_back(score.ScoreID);
    }
    const uint64_t p = uint64_t{scores.ids()[i]} * 100 / slot_count;
    if (p != last_dot && p % 10 == 0) {
      context.PrintStatus(".");
      last_dot = p;
    }
  }
  return found;
}

}  // namespace

void CollectScoreIds(RunContext& context) {
  ScoreIdList& list = context.score_ids;
  list.ClearScoreIdList();
  const uint32_t single = context.settings.General.ScoreID;
  if (single != 0) {
    // The score table is not consulted: the ID gets its pass even when no
    // row carries it.
    context.PrintStatus("Processing single scoreID\n");
    list.Insert(single);
    return;
  }
  context.PrintStatus("Sorting all scoreID's .");
  list.Assign(GatherScoreIds(context));
  context.Line() << " Done, found " << list.Count() << " scoreID's\n";
  context.PrintStatusLine();
}

void RunScoreIdPass(RunContext& context) {
  constexpr const char* kRule = "--------------------------\n";
  context.PrintStatus(kRule);
  context.Line() << "SCORE ID " << context.CurrentScoreID << "\n";
  context.PrintStatusLine();
  context.PrintStatus(kRule);
  if (context.databases.UserTable.SlotCount() > 0 &&
      context.settings.User.AnyOn()) {
    ComputePilotStats(context);
  }
  context.PrintStatus("\n");
  if (context.databases.SquadTable.SlotCount() > 0 &&
      context.settings.Squad.AnyOn()) {
    ComputeSquadStats(context);
  }
  context.PrintStatus("\n");
}

}  // namespace tallyhawk

#include "db/score_ids.h"

#include <algorithm>

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
std::vector<uint32_t> GatherScoreIds(ProgressSink& progress,
                                     const Databases& databases) {
  const ScoreTableType& scores = databases.ScoreTable;
  const UserTableType& users = databases.UserTable;
  const uint64_t slot_count = scores.SlotCount();
  std::vector<uint32_t> found;
  ProgressMark mark(progress);
  for (size_t i = 0; i < scores.size(); ++i) {
    const ScoreRecord& score = scores.records()[i];
    if (users.Lookup(score.UserID) == nullptr) continue;
    // Neighbouring rows mostly share a score ID; the rest is sorted out at
    // the end, which keeps a file of many distinct IDs fast.
    if (found.empty() || found.back() != score.ScoreID) {
      found.push_back(score.ScoreID);
    }
    mark.Update(ProgressOf(100, scores.ids()[i], slot_count));
  }
  return found;
}

}  // namespace

ScoreIdList CollectScoreIds(StatusOutput& status, const Databases& databases,
                            uint32_t single_score_id) {
  ScoreIdList list;
  if (single_score_id != 0) {
    // The score table is not consulted: the ID gets its pass even when no
    // row carries it.
    status.PrintStatus("Processing single scoreID\n");
    list.Insert(single_score_id);
    return list;
  }
  status.PrintStatus("Sorting all scoreID's .");
  list.Assign(GatherScoreIds(status, databases));
  status.line() << " Done, found " << list.Count() << " scoreID's\n";
  status.PrintStatusLine();
  return list;
}

}  // namespace tallyhawk

#include "db/databases.h"

namespace tallyhawk {

void ScoreRowIndex::Build(const ScoreTableType& scores,
                          const UserTableType& users,
                          const SquadTableType& squads) {
  rows_.clear();
  const std::vector<uint32_t>& ids = scores.ids();
  const std::vector<ScoreRecord>& records = scores.records();
  // Count first, so that every group is allocated once at its final size.
  std::unordered_map<uint32_t, size_t> sizes;
  for (size_t i = 0; i < scores.size(); ++i) {
    if (users.Lookup(records[i].UserID) != nullptr) ++sizes[records[i].ScoreID];
  }
  for (const auto& [score_id, size] : sizes) rows_[score_id].reserve(size);
  for (size_t i = 0; i < scores.size(); ++i) {
    const ScoreRecord& score = records[i];
    const UserRecord* user = users.Lookup(score.UserID);
    if (user == nullptr) continue;
    rows_[score.ScoreID].push_back(
        ScoreRow{ids[i], &score, user, squads.Lookup(user->SquadID)});
  }
}

const std::vector<ScoreRow>& ScoreRowIndex::RowsOf(uint32_t score_id) const {
  static const std::vector<ScoreRow> kNoRows;
  auto it = rows_.find(score_id);
  return it == rows_.end() ? kNoRows : it->second;
}

}  // namespace tallyhawk

#include "db/databases.h"

#include "run/run_context.h"

namespace tallyhawk {

void ScoreRowIndex::Build(const ScoreTableType& scores,
                          const UserTableType& users, SquadTableType& squads) {
  rows_.clear();
  const std::vector<uint32_t>& ids = scores.ids();
  const std::vector<ScoreRecord>& records = scores.records();
  for (size_t i = 0; i < ids.size(); ++i) {
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

// TODO(db): loading.
void LoadDatabases(RunContext&) {}

}  // namespace tallyhawk

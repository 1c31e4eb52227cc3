// The three loaded databases and the score rows of each score ID.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "config/settings.h"
#include "db/id_table.h"
#include "db/records.h"
#include "platform/platform.h"
#include "util/status_output.h"

namespace tallyhawk {

using UserTableType = IdTable<UserRecord>;
using SquadTableType = IdTable<SquadRecord>;
using ScoreTableType = IdTable<ScoreRecord>;

// A score row whose user is loaded, with its user and squad (null when the
// user's squad is not loaded) resolved once.
struct ScoreRow {
  uint32_t slot;  // the row's EntryID: its slot in the score table
  const ScoreRecord* score;
  const UserRecord* user;
  const SquadRecord* squad;
};

// The score rows with a loaded user, grouped by score ID, each group in
// ascending slot order. Built once after loading.
class ScoreRowIndex {
 public:
  void Build(const ScoreTableType& scores, const UserTableType& users,
             const SquadTableType& squads);
  // The rows of `score_id`; empty when it has none.
  const std::vector<ScoreRow>& RowsOf(uint32_t score_id) const;

 private:
  std::unordered_map<uint32_t, std::vector<ScoreRow>> rows_;
};

struct Databases {
  UserTableType UserTable;
  SquadTableType SquadTable;
  ScoreTableType ScoreTable;
  ScoreRowIndex ScoreRows;
};

// Reads user.dat, squad.dat and score.dat (as the settings name them) into
// the tables of `databases`, made ready before, with their console messages,
// then builds the row index.
void LoadDatabases(Platform& platform, StatusOutput& status,
                   const GeneralSettings& general, Databases& databases);

}  // namespace tallyhawk

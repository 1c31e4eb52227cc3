// Record decoding and loading of the three databases over any bytes, then
// the score rows and score IDs built from them.
#include <cstddef>
#include <cstdint>

#include "db/databases.h"
#include "db/records.h"
#include "db/score_ids.h"
#include "fuzz_input.h"
#include "support/fake_platform.h"

using namespace tallyhawk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::SplitInput(data, size, 3);
  testing::FakePlatform platform;
  platform.files = {
      {"user.dat", parts[0]}, {"squad.dat", parts[1]}, {"score.dat", parts[2]}};
  StatusOutput status(platform, false, true);
  Databases databases;
  databases.UserTable.MakeReady();
  databases.SquadTable.MakeReady();
  databases.ScoreTable.MakeReady();
  LoadDatabases(platform, status, GeneralSettings{}, databases);
  fuzz::Require(databases.UserTable.size() <=
                parts[0].size() / kUserRecordSize);
  fuzz::Require(databases.SquadTable.size() <=
                parts[1].size() / kSquadRecordSize);
  fuzz::Require(databases.ScoreTable.size() <=
                parts[2].size() / kScoreRecordSize);
  for (uint32_t id : databases.UserTable.ids()) {
    const UserRecord* user = databases.UserTable.Lookup(id);
    fuzz::Require(user && user->UserID == id);
  }
  const ScoreIdList score_ids = CollectScoreIds(status, databases, 0);
  for (uint32_t score_id : score_ids.ids()) {
    const std::vector<ScoreRow>& rows = databases.ScoreRows.RowsOf(score_id);
    fuzz::Require(!rows.empty());
    for (const ScoreRow& row : rows) {
      fuzz::Require(row.score->ScoreID == score_id &&
                    row.user == databases.UserTable.Lookup(row.score->UserID));
    }
  }
  return 0;
}

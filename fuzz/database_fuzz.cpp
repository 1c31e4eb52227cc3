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
  size_t rows_kept = 0;
  for (const ScoreRows& rows : databases.ScoreTable.groups()) {
    rows_kept += rows.size();
  }
  fuzz::Require(rows_kept <= parts[2].size() / kScoreRecordSize);
  for (uint32_t id : databases.UserTable.ids()) {
    const UserRecord* user = databases.UserTable.Lookup(id);
    fuzz::Require(user && user->UserID == id);
  }
  const ScoreIdList score_ids = CollectScoreIds(status, databases, 0);
  // Every collected score ID has rows, each of a loaded user, in ascending
  // slot order.
  for (uint32_t score_id : score_ids.ids()) {
    const ScoreRows& rows = databases.ScoreTable.RowsOf(score_id);
    fuzz::Require(!rows.empty());
    for (size_t k = 0; k < rows.size(); ++k) {
      fuzz::Require(rows[k].user < databases.UserTable.size());
      fuzz::Require(k == 0 || rows[k - 1].slot < rows[k].slot);
    }
  }
  return 0;
}

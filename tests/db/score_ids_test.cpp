#include "db/score_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

class CollectScoreIdsTest : public ::testing::Test {
 protected:
  // Stores user 0 and the rows {EntryID, ScoreID, UserID}, then collects;
  // returns what that printed.
  std::string Collect(const std::vector<ScoreRecord>& rows) {
    db = Databases();
    db.UserTable.MakeReady();
    db.UserTable.Store(UserRecord{}, 0);
    db.UserTable.Finish();
    db.ScoreTable.MakeReady();
    for (const ScoreRecord& row : rows) db.ScoreTable.Store(row, db.UserTable);
    db.ScoreTable.Finish(db.UserTable);
    platform.console.clear();
    list = CollectScoreIds(status, db, 0);
    return platform.console;
  }

  testing::FakePlatform platform;
  StatusOutput status{platform, false, false};
  Databases db;
  ScoreIdList list;
};

// The distinct score IDs of rows of loaded users, ascending. A row of a
// loaded user prints a dot when slot * 100 / SlotCount reaches another
// multiple of ten.
TEST_F(CollectScoreIdsTest, DistinctIdsAscendingAndDotsAtTenthsOfSlotCount) {
  EXPECT_EQ(Collect({{1, 7}, {2, 3}, {3, 7}, {4, 0}, {5, 3}, {6, 9, 2}}),
            "Sorting all scoreID's . Done, found 3 scoreID's\n");
  EXPECT_EQ(list.ids(), (std::vector<uint32_t>{0, 3, 7}));
  // SlotCount 200: slots 20 and 100 give 10 and 50; 0 gives 0, 21 repeats 10,
  // 66 gives 33, and 40 and 199 are rows of an unknown user.
  EXPECT_EQ(Collect({{0}, {20}, {21}, {40, 0, 2}, {66}, {100}, {199, 0, 2}}),
            "Sorting all scoreID's ... Done, found 1 scoreID's\n");
  // SlotCount 4294967300: 10 exactly, then 49 and 99, without overflow.
  EXPECT_EQ(Collect({{429496730u}, {2147483648u}, {4294967295u}}),
            "Sorting all scoreID's .. Done, found 1 scoreID's\n");
}

}  // namespace
}  // namespace tallyhawk

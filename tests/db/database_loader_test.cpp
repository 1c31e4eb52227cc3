#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "db/databases.h"
#include "support/db_builder.h"
#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

using namespace testing;

class LoadDatabasesTest : public ::testing::Test {
 protected:
  // Loads the three files as the run does; returns the console text.
  std::string Load(std::string users, std::string squads, std::string scores) {
    platform.files = {{"user.dat", std::move(users)},
                      {"squad.dat", std::move(squads)},
                      {"score.dat", std::move(scores)}};
    platform.console.clear();
    databases = std::make_unique<Databases>();
    db().UserTable.MakeReady();
    db().SquadTable.MakeReady();
    db().ScoreTable.MakeReady();
    LoadDatabases(platform, status, GeneralSettings{}, db());
    return platform.console;
  }
  Databases& db() { return *databases; }

  FakePlatform platform;
  StatusOutput status{platform, false, false};
  std::unique_ptr<Databases> databases;
};

// A dot every 1000 users, 100 squads or 100 scores; duplicates count, partial
// records do not.
TEST_F(LoadDatabasesTest, DotsCountWholeRecordsOnly) {
  std::string users, squads, scores;
  for (int i = 0; i < 2500; ++i) users += MakeUser(7, "U");
  for (int i = 0; i < 300; ++i) squads += MakeSquad(7, "S");
  for (int i = 0; i < 99; ++i) scores += MakeScore(7, 1, 7);
  EXPECT_EQ(Load(users + "\1\2\3\4\5\6\7", squads + std::string(71, '\1'),
                 scores + std::string(27, '\x7F')),
            "Loading users ... Done\nRead 2500 users\n"
            "Loading squads .... Done\nRead 300 squads\n"
            "Loading scores . Done\nRead 99 scores\n");
  EXPECT_EQ(db().UserTable.size(), 1u);  // all 2500 are user 7
}

TEST_F(LoadDatabasesTest, RowIndexHoldsRowsOfLoadedUsersInSlotOrder) {
  Load(MakeUser(1, "A", 9) + MakeUser(2, "B", 8), MakeSquad(9, "Nines"),
       MakeScore(30, 5, 1) + MakeScore(10, 5, 2) + MakeScore(20, 5, 3));
  const ScoreRows& rows = db().ScoreTable.RowsOf(5);
  ASSERT_EQ(rows.size(), 2u);  // user 3 is not loaded
  EXPECT_EQ(rows[0].slot, 10u);
  EXPECT_EQ(db().UserTable.ids()[rows[0].user], 2u);
  EXPECT_EQ(db().UserTable.ids()[rows[1].user], 1u);
}

// Enough rows to span several read blocks and to outgrow the room kept for
// the rows, in three orders: ascending, and with one late row going back to
// an earlier EntryID, which it replaces: far back inside a block, or to the
// EntryID of the row just before as the first row of a block.
// Each group must hold exactly the rows of loaded users, last one of each
// EntryID, in slot order, and the sums count those of every user.
TEST_F(LoadDatabasesTest, LargeScoreFilesLoadAsTheirRowsSay) {
  std::string users;
  for (uint32_t id = 1; id <= 1000; ++id) users += MakeUser(id, "U");
  constexpr uint32_t kRows = 300000;
  constexpr uint32_t kRowsPerBlock = (1u << 20) / 28;
  // The row that goes back, and the EntryID it takes.
  const std::pair<uint32_t, uint32_t> kOrders[] = {
      {0, 1}, {200000, 5}, {3 * kRowsPerBlock, 3 * kRowsPerBlock}};
  for (const auto& [going_back, back_to] : kOrders) {
    std::string scores;
    // EntryID -> (score ID, user, kill points): the model of what is kept.
    std::map<uint32_t, std::vector<uint32_t>> kept;
    for (uint32_t k = 0; k < kRows; ++k) {
      const uint32_t entry = k == going_back ? back_to : k + 1;
      const uint32_t score_id = 1 + k % 2;
      const uint32_t user = k % 1100 + 1;  // users above 1000 are not loaded
      scores += MakeScore(entry, score_id, user, k % 7, 0, k, k % 1000);
      kept[entry] = {score_id, user, k};
    }
    Load(users, "", scores);
    ScoreTotals totals;
    for (const auto& [entry, row] : kept) {
      totals.wins += row[2] % 7;
      totals.kill_points += row[2];
      totals.flag_points += row[2] % 1000;
    }
    EXPECT_EQ(db().ScoreTable.totals().wins, totals.wins);
    EXPECT_EQ(db().ScoreTable.totals().kill_points, totals.kill_points);
    EXPECT_EQ(db().ScoreTable.totals().flag_points, totals.flag_points);
    std::map<uint32_t, size_t> seen;  // rows checked, per score ID
    for (const auto& [entry, row] : kept) {
      if (row[1] > 1000) continue;
      const ScoreRows& rows = db().ScoreTable.RowsOf(row[0]);
      const size_t k = seen[row[0]]++;
      ASSERT_LT(k, rows.size());
      EXPECT_EQ(rows[k].slot, entry);
      EXPECT_EQ(db().UserTable.ids()[rows[k].user], row[1]);
      ASSERT_EQ(rows[k].KillPoints, row[2]) << going_back;
    }
    EXPECT_EQ(seen[1], db().ScoreTable.RowsOf(1).size());
    EXPECT_EQ(seen[2], db().ScoreTable.RowsOf(2).size());
  }
}

}  // namespace
}  // namespace tallyhawk

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace tallyhawk

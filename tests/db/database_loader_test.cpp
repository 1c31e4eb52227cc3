#include <gtest/gtest.h>

#include <string>

#include "db/databases.h"
#include "run/fatal_error.h"
#include "run/run_context.h"
#include "support/db_builder.h"
#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

using testing::FakePlatform;
using testing::MakeScore;
using testing::MakeSquad;
using testing::MakeUser;

std::string Repeat(const std::string& record, int times) {
  std::string bytes;
  for (int i = 0; i < times; ++i) bytes += record;
  return bytes;
}

class LoadDatabasesTest : public ::testing::Test {
 protected:
  LoadDatabasesTest() {
    for (const char* name : {"user.dat", "squad.dat", "score.dat"}) {
      platform.files[name] = "";
    }
  }

  // Loads the files as the run does; returns the console text.
  std::string Load() {
    platform.console.clear();
    context = std::make_unique<RunContext>(platform, RunOptions{});
    db().UserTable.MakeReady();
    db().SquadTable.MakeReady();
    db().ScoreTable.MakeReady();
    LoadDatabases(*context);
    return platform.console;
  }
  // The FatalError message that loading ends with.
  std::string LoadFailure() {
    try {
      Load();
    } catch (const FatalError& error) {
      return error.what();
    }
    return "no error";
  }
  Databases& db() { return context->databases; }

  FakePlatform platform;
  std::unique_ptr<RunContext> context;
};

TEST_F(LoadDatabasesTest, EmptyFilesLoadNothingAndSayZero) {
  EXPECT_EQ(Load(),
            "Loading users . Done\nRead 0 users\n"
            "Loading squads . Done\nRead 0 squads\n"
            "Loading scores . Done\nRead 0 scores\n");
  EXPECT_EQ(db().UserTable.SlotCount(), 0u);
  EXPECT_EQ(db().ScoreTable.SlotCount(), 0u);
}

TEST_F(LoadDatabasesTest, RecordsAreStoredUnderTheirKeys) {
  platform.files["user.dat"] = MakeUser(10, "Ann", 3) + MakeUser(11, "Bo");
  platform.files["squad.dat"] = MakeSquad(3, "Owls");
  platform.files["score.dat"] = MakeScore(500, 1, 10, 4) + MakeScore(2, 1, 11);
  EXPECT_EQ(Load(),
            "Loading users . Done\nRead 2 users\n"
            "Loading squads . Done\nRead 1 squads\n"
            "Loading scores . Done\nRead 2 scores\n");
  EXPECT_EQ(db().UserTable.Lookup(11)->Name.view(), "Bo");
  EXPECT_EQ(db().SquadTable.Lookup(3)->Name.view(), "Owls");
  EXPECT_EQ(db().ScoreTable.Lookup(500)->Wins, 4);
  EXPECT_EQ(db().ScoreTable.SlotCount(), 600u);
}

TEST_F(LoadDatabasesTest, PartialTrailingRecordIsDroppedAndNotCounted) {
  // 400 bytes: two users and 8 bytes; 250 score rows and 10 bytes.
  platform.files["user.dat"] = Repeat(MakeUser(1, "A"), 2) + "\1\2\3\4\5\6\7";
  platform.files["squad.dat"] = std::string(71, '\1');
  platform.files["score.dat"] =
      Repeat(MakeScore(1, 1, 1), 250) + std::string(10, '\x7F');
  EXPECT_EQ(Load(),
            "Loading users . Done\nRead 2 users\n"
            "Loading squads . Done\nRead 0 squads\n"
            "Loading scores ... Done\nRead 250 scores\n");
  EXPECT_EQ(db().SquadTable.SlotCount(), 0u);
}

TEST_F(LoadDatabasesTest, DotsEveryThousandUsersAndHundredSquadsOrScores) {
  platform.files["user.dat"] = Repeat(MakeUser(7, "U"), 2500);
  platform.files["squad.dat"] = Repeat(MakeSquad(7, "S"), 300);
  platform.files["score.dat"] = Repeat(MakeScore(7, 1, 7), 99);
  EXPECT_EQ(Load(),
            "Loading users ... Done\nRead 2500 users\n"
            "Loading squads .... Done\nRead 300 squads\n"
            "Loading scores . Done\nRead 99 scores\n");
}

TEST_F(LoadDatabasesTest, DuplicatesCountButTheLaterRecordIsKept) {
  platform.files["user.dat"] = MakeUser(4294967295u, "Old") +
                               MakeUser(0, "Zero") +
                               MakeUser(4294967295u, "New");
  EXPECT_EQ(Load(),
            "Loading users . Done\nRead 3 users\n"
            "Loading squads . Done\nRead 0 squads\n"
            "Loading scores . Done\nRead 0 scores\n");
  EXPECT_EQ(db().UserTable.SlotCount(), 4294967300u);
  EXPECT_EQ(db().UserTable.Lookup(0)->Name.view(), "Zero");
  EXPECT_EQ(db().UserTable.Lookup(4294967295u)->Name.view(), "New");
  EXPECT_EQ(db().UserTable.size(), 2u);
}

TEST_F(LoadDatabasesTest, FileThatCannotBeOpenedEndsTheRunInFileOrder) {
  platform.files["user.dat"] = MakeUser(1, "A");
  platform.files.erase("squad.dat");
  EXPECT_EQ(LoadFailure(), "Failed to open squad database, exiting");
  EXPECT_EQ(platform.console, "Loading users . Done\nRead 1 users\n");

  platform.files["squad.dat"] = "";
  platform.unopenable.insert("score.dat");
  EXPECT_EQ(LoadFailure(), "Failed to open score database, exiting");

  platform.files.erase("user.dat");
  EXPECT_EQ(LoadFailure(), "Failed to open user database, exiting");
  EXPECT_EQ(platform.console, "");
}

TEST_F(LoadDatabasesTest, RowIndexGroupsRowsOfLoadedUsersBySlot) {
  platform.files["user.dat"] = MakeUser(1, "A", 9) + MakeUser(2, "B", 8);
  platform.files["squad.dat"] = MakeSquad(9, "Nines");
  platform.files["score.dat"] = MakeScore(30, 5, 1) + MakeScore(10, 5, 2) +
                                MakeScore(20, 5, 3) + MakeScore(40, 6, 1);
  Load();
  const std::vector<ScoreRow>& rows = db().ScoreRows.RowsOf(5);
  ASSERT_EQ(rows.size(), 2u);  // user 3 is not loaded
  EXPECT_EQ(rows[0].slot, 10u);
  EXPECT_EQ(rows[0].user->UserID, 2u);
  EXPECT_EQ(rows[0].squad, nullptr);  // squad 8 is not loaded
  EXPECT_EQ(rows[1].slot, 30u);
  EXPECT_EQ(rows[1].squad->Name.view(), "Nines");
  EXPECT_EQ(db().ScoreRows.RowsOf(6).size(), 1u);
  EXPECT_TRUE(db().ScoreRows.RowsOf(7).empty());
}

}  // namespace
}  // namespace tallyhawk

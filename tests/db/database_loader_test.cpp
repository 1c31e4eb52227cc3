#include <gtest/gtest.h>

#include <string>

#include "db/databases.h"
#include "run/fatal_error.h"
#include "run/run_context.h"
#include "run/run_driver.h"
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
    platform.files["user.dat"] = "";
    platform.files["squad.dat"] = "";
    platform.files["score.dat"] = "";
  }

  // Loads the files as the run does, into a fresh context.
  RunContext& Load() {
    context = std::make_unique<RunContext>(platform, RunOptions{});
    Databases& db = context->databases;
    db.UserTable.MakeReady();
    db.SquadTable.MakeReady();
    db.ScoreTable.MakeReady();
    LoadDatabases(*context);
    return *context;
  }
  Databases& db() { return context->databases; }

  FakePlatform platform;
  std::unique_ptr<RunContext> context;
};

TEST_F(LoadDatabasesTest, EmptyFilesLoadNothingAndSayZero) {
  Load();
  EXPECT_EQ(platform.console,
            "Loading users . Done\nRead 0 users\n"
            "Loading squads . Done\nRead 0 squads\n"
            "Loading scores . Done\nRead 0 scores\n");
  EXPECT_EQ(db().UserTable.SlotCount(), 0u);
  EXPECT_EQ(db().SquadTable.SlotCount(), 0u);
  EXPECT_EQ(db().ScoreTable.SlotCount(), 0u);
}

TEST_F(LoadDatabasesTest, LoadsEveryFileUnderItsKey) {
  platform.files["user.dat"] = MakeUser(10, "Ann", 3) + MakeUser(11, "Bo", 4);
  platform.files["squad.dat"] = MakeSquad(3, "Owls");
  platform.files["score.dat"] = MakeScore(500, 1, 10, 4) + MakeScore(2, 1, 11);
  Load();
  EXPECT_EQ(platform.console,
            "Loading users . Done\nRead 2 users\n"
            "Loading squads . Done\nRead 1 squads\n"
            "Loading scores . Done\nRead 2 scores\n");
  EXPECT_EQ(db().UserTable.Lookup(11)->Name.view(), "Bo");
  EXPECT_EQ(db().SquadTable.Lookup(3)->Name.view(), "Owls");
  EXPECT_EQ(db().ScoreTable.Lookup(500)->Wins, 4);
  EXPECT_EQ(db().ScoreTable.SlotCount(), 600u);
}

TEST_F(LoadDatabasesTest, PartialTrailingRecordIsDropped) {
  platform.files["user.dat"] = Repeat(MakeUser(1, "A"), 2);  // 392 bytes
  platform.files["score.dat"] =
      Repeat(MakeScore(1, 1, 1), 250) + std::string(10, '\x7F');
  Load();
  EXPECT_EQ(platform.console,
            "Loading users . Done\nRead 2 users\n"
            "Loading squads . Done\nRead 0 squads\n"
            "Loading scores ... Done\nRead 250 scores\n");

  platform.console.clear();
  platform.files["user.dat"] += "\x01\x02\x03\x04";  // 400 bytes
  platform.files["squad.dat"] = std::string(71, '\x01');
  Load();
  EXPECT_EQ(platform.console,
            "Loading users . Done\nRead 2 users\n"
            "Loading squads . Done\nRead 0 squads\n"
            "Loading scores ... Done\nRead 250 scores\n");
  EXPECT_EQ(db().SquadTable.SlotCount(), 0u);
}

TEST_F(LoadDatabasesTest, DotsEveryThousandUsersAndHundredSquads) {
  platform.files["user.dat"] = Repeat(MakeUser(7, "U"), 2500);
  platform.files["squad.dat"] = Repeat(MakeSquad(7, "S"), 300);
  platform.files["score.dat"] = Repeat(MakeScore(7, 1, 7), 99);
  Load();
  EXPECT_EQ(platform.console,
            "Loading users ... Done\nRead 2500 users\n"
            "Loading squads .... Done\nRead 300 squads\n"
            "Loading scores . Done\nRead 99 scores\n");
}

TEST_F(LoadDatabasesTest, DuplicateIdsAreAllCountedAndTheLaterOneKept) {
  platform.files["user.dat"] = MakeUser(5, "First") + MakeUser(5, "Second");
  Load();
  EXPECT_EQ(platform.console,
            "Loading users . Done\nRead 2 users\n"
            "Loading squads . Done\nRead 0 squads\n"
            "Loading scores . Done\nRead 0 scores\n");
  EXPECT_EQ(db().UserTable.Lookup(5)->Name.view(), "Second");
  EXPECT_EQ(db().UserTable.size(), 1u);
}

TEST_F(LoadDatabasesTest, ExtremeIdsLoadWithoutAHugeTable) {
  platform.files["user.dat"] =
      MakeUser(4294967295u, "Last") + MakeUser(0, "First");
  Load();
  EXPECT_EQ(db().UserTable.SlotCount(), 4294967300u);
  EXPECT_EQ(db().UserTable.Lookup(0)->Name.view(), "First");
  EXPECT_EQ(db().UserTable.Lookup(4294967295u)->Name.view(), "Last");
  EXPECT_EQ(db().UserTable.ids(), (std::vector<uint32_t>{0, 4294967295u}));
}

TEST_F(LoadDatabasesTest, FilesComeFromTheSettings) {
  platform.files["u.bin"] = MakeUser(1, "A");
  context = std::make_unique<RunContext>(platform, RunOptions{});
  context->settings.General.DatUser = "u.bin";
  context->databases.UserTable.MakeReady();
  LoadDatabases(*context);
  EXPECT_EQ(context->databases.UserTable.size(), 1u);
}

TEST_F(LoadDatabasesTest, MissingUserDatabaseFailsBeforeAnyMessage) {
  platform.files.erase("user.dat");
  try {
    Load();
    FAIL() << "no error";
  } catch (const FatalError& error) {
    EXPECT_STREQ(error.what(), "Failed to open user database, exiting");
  }
  EXPECT_EQ(platform.console, "");
}

TEST_F(LoadDatabasesTest, MissingSquadDatabaseFailsAfterUsersAreReported) {
  platform.files["user.dat"] = MakeUser(1, "A");
  platform.files.erase("squad.dat");
  try {
    Load();
    FAIL() << "no error";
  } catch (const FatalError& error) {
    EXPECT_STREQ(error.what(), "Failed to open squad database, exiting");
  }
  EXPECT_EQ(platform.console, "Loading users . Done\nRead 1 users\n");
}

TEST_F(LoadDatabasesTest, WholeRunReportsAMissingSquadDatabaseAfterTheUsers) {
  platform.files["user.dat"] = MakeUser(1, "A");
  platform.files.erase("squad.dat");
  EXPECT_EQ(RunTallyhawk({}, platform), 1);
  EXPECT_NE(platform.console.find(
                "Loading users . Done\nRead 1 users\n"
                "ERROR: Failed to open squad database, exiting\n"
                "*** Error occurred, exiting.  (Logged to error file)\n"),
            std::string::npos)
      << platform.console;
}

TEST_F(LoadDatabasesTest, UnopenableScoreDatabaseFailsLast) {
  platform.unopenable.insert("score.dat");
  try {
    Load();
    FAIL() << "no error";
  } catch (const FatalError& error) {
    EXPECT_STREQ(error.what(), "Failed to open score database, exiting");
  }
  EXPECT_EQ(platform.console,
            "Loading users . Done\nRead 0 users\n"
            "Loading squads . Done\nRead 0 squads\n");
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

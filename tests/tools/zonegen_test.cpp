// Runs the real zonegen binary and reads back what it wrote.
#include <gtest/gtest.h>

#include "db/databases.h"
#include "support/e2e_harness.h"
#include "support/fake_platform.h"

namespace tallyhawk::testing {
namespace {

const std::string kNow = std::to_string(kFrozenNow);

// Runs zonegen in a fresh directory; returns the files it wrote.
std::map<std::string, std::string> Generate(std::vector<std::string> args) {
  TempDir dir;
  EXPECT_EQ(RunTallyhawkIn(dir, args, {.program = ZONEGEN_BINARY}).exit_code,
            0);
  return dir.Files();
}

// The same options give the same bytes, another seed others. Besides
// believable times, a zone holds the cases the reports must handle.
TEST(ZonegenTest, SameOptionsGiveTheSameZoneWithTheCasesOfARealOne) {
  FakePlatform platform;
  platform.files = Generate({"--now", kNow});
  EXPECT_EQ(Generate({"--now=" + kNow}), platform.files);
  const auto other = Generate({"--seed=8", "--users", "300", "--now", kNow});
  EXPECT_EQ(other.at("user.dat").size(), 300u * 196);
  EXPECT_NE(other.at("squad.dat"), platform.files.at("squad.dat"));

  StatusOutput status(platform, true, true);
  Databases db;
  db.UserTable.MakeReady();
  db.SquadTable.MakeReady();
  db.ScoreTable.MakeReady();
  LoadDatabases(platform, status, GeneralSettings{}, db);
  ASSERT_EQ(db.UserTable.size(), 2000u);
  std::map<std::string, int> seen;
  for (const UserRecord& user : db.UserTable.records()) {
    const std::string_view name = user.Name.view();
    seen["name filling its field"] += name.size() == 31;
    seen["name to escape"] += name.find_first_of("&<\"\xE9\xF6") != name.npos;
    seen["user without squad"] += user.SquadID == 0;
    seen["user of a gone squad"] +=
        user.SquadID != 0 && db.SquadTable.Lookup(user.SquadID) == nullptr;
    EXPECT_TRUE(kFrozenNow - 730 * 86400 <= user.Created &&
                user.Created <= user.LastSeen && user.LastSeen <= kFrozenNow);
  }
  size_t rows_of_loaded_users = 0;
  for (const auto& rows : db.ScoreTable.groups()) {
    rows_of_loaded_users += rows.size();
  }
  seen["row of a gone user"] +=
      rows_of_loaded_users < platform.files.at("score.dat").size() / 28;
  for (const auto& [what, count] : seen) EXPECT_GT(count, 0) << what;
}

}  // namespace
}  // namespace tallyhawk::testing

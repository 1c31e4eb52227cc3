// Runs the real zonegen binary and reads back what it wrote.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "db/databases.h"
#include "db/records.h"
#include "run/run_context.h"
#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kNow = 1796558400;
constexpr uint32_t kTwoYears = 730 * 86400;

class ZonegenTest : public ::testing::Test {
 protected:
  ZonegenTest()
      : dir_(fs::temp_directory_path() /
             ("zonegen_test_" + std::to_string(::getpid()))) {}
  ~ZonegenTest() override { fs::remove_all(dir_); }

  // Runs zonegen into `sub` with `args`; returns its exit code.
  int Run(const std::string& sub, const std::string& args) {
    const std::string command =
        std::string(ZONEGEN_BINARY) + " --out " + (dir_ / sub).string() +
        " --now " + std::to_string(kNow) + " " + args + " >/dev/null 2>&1";
    fs::create_directories(dir_);
    return std::system(command.c_str());
  }
  std::string Read(const std::string& sub, const std::string& name) {
    std::ifstream in(dir_ / sub / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // Loads the three files of `sub` as a run does.
  std::unique_ptr<RunContext> Load(const std::string& sub) {
    for (const char* name : {"user.dat", "squad.dat", "score.dat"}) {
      platform_.files[name] = Read(sub, name);
    }
    auto context = std::make_unique<RunContext>(platform_, RunOptions{});
    context->databases.UserTable.MakeReady();
    context->databases.SquadTable.MakeReady();
    context->databases.ScoreTable.MakeReady();
    LoadDatabases(*context);
    return context;
  }

  fs::path dir_;
  testing::FakePlatform platform_;
};

TEST_F(ZonegenTest, SameSeedGivesTheSameBytesAndAnotherSeedOthers) {
  ASSERT_EQ(Run("a", "--seed 7 --users 300 --scores 1234"), 0);
  ASSERT_EQ(Run("b", "--seed 7 --users 300 --scores 1234"), 0);
  ASSERT_EQ(Run("c", "--seed 8 --users 300 --scores 1234"), 0);
  EXPECT_EQ(Read("a", "user.dat").size(), 300u * 196);
  EXPECT_EQ(Read("a", "score.dat").size(), 1234u * 28);
  for (const char* name : {"user.dat", "squad.dat", "score.dat"}) {
    EXPECT_EQ(Read("a", name), Read("b", name)) << name;
    EXPECT_NE(Read("a", name), Read("c", name)) << name;
  }
}

TEST_F(ZonegenTest, HelpWritesNothingAndBadOptionsFail) {
  EXPECT_EQ(Run("h", "--help"), 0);
  EXPECT_FALSE(fs::exists(dir_ / "h"));
  EXPECT_NE(Run("x", "--users many"), 0);
  EXPECT_NE(Run("x", "--frobnicate 3"), 0);
  EXPECT_FALSE(fs::exists(dir_ / "x"));
}

TEST_F(ZonegenTest, DefaultZoneLooksLikeARealOne) {
  ASSERT_EQ(Run("d", ""), 0);
  auto context = Load("d");
  const Databases& db = context->databases;
  ASSERT_EQ(db.UserTable.size(), 2000u);
  ASSERT_EQ(db.SquadTable.size(), 60u);

  std::map<uint32_t, int> members;
  int full_length = 0, spaced = 0, odd = 0, no_squad = 0, unknown_squad = 0;
  for (const UserRecord& user : db.UserTable.records()) {
    const std::string_view name = user.Name.view();
    full_length += name.size() == 31;
    spaced += name.find(' ') != std::string_view::npos;
    odd += name.find_first_of("&<\"\xE9\xF6\xFC\xC5\xE7\xF1\xF8\xDF") !=
           std::string_view::npos;
    EXPECT_LE(user.Created, user.LastSeen);
    EXPECT_LE(user.LastSeen, kNow);
    EXPECT_GE(user.Created, kNow - kTwoYears);
    if (user.SquadID == 0) {
      ++no_squad;
    } else if (db.SquadTable.Lookup(user.SquadID) == nullptr) {
      ++unknown_squad;
    } else {
      ++members[user.SquadID];
    }
  }
  EXPECT_GT(full_length, 0);
  EXPECT_GT(spaced, 0);
  EXPECT_GT(odd, 0);
  EXPECT_GT(no_squad, 100);  // about one in ten
  EXPECT_LT(no_squad, 400);
  EXPECT_GT(unknown_squad, 0);
  int biggest = 0, smallest = 2000;
  for (const auto& [id, count] : members) {
    biggest = std::max(biggest, count);
    smallest = std::min(smallest, count);
  }
  EXPECT_GT(biggest, 10 * smallest);

  std::set<uint32_t> with_rows;
  int gone_user_rows = 0;
  for (const ScoreRecord& score : db.ScoreTable.records()) {
    with_rows.insert(score.UserID);
    gone_user_rows += db.UserTable.Lookup(score.UserID) == nullptr;
  }
  EXPECT_GT(gone_user_rows, 0);
  int without_rows = 0;
  for (uint32_t id : db.UserTable.ids()) without_rows += !with_rows.count(id);
  EXPECT_GT(without_rows, 0);
}

}  // namespace
}  // namespace tallyhawk

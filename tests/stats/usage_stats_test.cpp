#include "stats/usage_stats.h"

#include "stats/fixture.h"

namespace tallyhawk::testing {
namespace {

constexpr int64_t kNow = 1796558400;
constexpr int64_t kDay = 86400;

TEST(UsageCutOffTest, IsClampedInsteadOfWrapping) {
  const std::pair<int32_t, int64_t> cut_off_by_days[] = {
      {0, kNow},      {30, kNow - 30 * kDay}, {100000, 0},
      {INT32_MAX, 0}, {-100000, UINT32_MAX},  {INT32_MIN, UINT32_MAX}};
  for (const auto& [days, cut_off] : cut_off_by_days) {
    EXPECT_EQ(UsageCutOff(kNow, days), cut_off) << days << " days";
  }
}

TEST(UsagePassDotsTest, MatchesTheSlotBySlotWalk) {
  for (uint64_t slots = 0; slots <= 3000; ++slots) {
    int walked = 0;
    uint64_t last = 0;
    for (uint64_t i = 0; i < slots; ++i) {
      const uint64_t p = 33 * i / slots;
      if (p != last && p % 10 == 0) {
        ++walked;
        last = p;
      }
    }
    ASSERT_EQ(UsagePassDots(slots), walked) << slots << " slots";
  }
  EXPECT_EQ(UsagePassDots(4294967300u), 3);
}

class UsageStatsTest : public StatsTest {};

TEST_F(UsageStatsTest, OnlyThePassesTheFiguresNeedRun) {
  AddUser(1);
  AddSquad(0, "s");
  AddScore(0, 1, 1, 7, 0, 100);
  Load();
  UsageSettings usage;
  usage.DoActivePlayers = usage.DoNewPlayers = usage.DoAllPoints =
      usage.DoAvgKill = usage.DoAllFlagPoints = usage.DoAllKillPoints =
          usage.DoAllKills = usage.DoAllPlayers = false;
  UsageTotals only_squads = CompileUsageStats(db, usage, kNow, progress);
  EXPECT_EQ(progress.dots(), 3);  // one pass over 100 slots
  EXPECT_EQ(only_squads.squads, 1u);
  EXPECT_EQ(only_squads.players + only_squads.kills, 0u);
  progress = {};
  UsageTotals all = CompileUsageStats(db, UsageSettings{}, kNow, progress);
  EXPECT_EQ(progress.dots(), 9);
  EXPECT_EQ(all.players, 1u);
  EXPECT_EQ(all.kills, 7u);
  EXPECT_EQ(all.kill_points, 100);
}

// Both halves of the user table count, and a user created or seen exactly at
// the cut-off is new or active.
TEST_F(UsageStatsTest, UsersCountAtAndAfterTheCutOff) {
  UsageSettings usage;
  const uint32_t cut_off = UsageCutOff(kNow, usage.LastDays);
  const uint32_t created[] = {0,       cut_off, cut_off - 1, cut_off + 1,
                              cut_off, 0,       cut_off - 1};
  const uint32_t seen[] = {cut_off,     cut_off,     0,      cut_off - 1,
                           cut_off + 9, cut_off - 1, cut_off};
  for (uint32_t k = 0; k < 7; ++k) {
    db.UserTable.Store(
        {k + 1, NameField::FromText("p"), 0, created[k], seen[k]}, k + 1);
  }
  Load();
  const UsageTotals totals = CompileUsageStats(db, usage, kNow, progress);
  EXPECT_EQ(totals.players, 7u);
  EXPECT_EQ(totals.new_players, 3u);
  EXPECT_EQ(totals.active, 4u);
}

}  // namespace
}  // namespace tallyhawk::testing

#include "stats/pilot_stats.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "stats/fixture.h"
#include "stats/pilot_filters.h"

namespace tallyhawk::testing {
namespace {

using Rows = std::vector<std::string>;

class PilotStatsTest : public StatsTest {
 protected:
  PilotStatsTest() {
    context.CurrentScoreID = 1;
    context.settings.General.MinKills = 50;
    AddSquad(3, "Hawks");
  }

  // One user per row, named by the row's slot ("p4" for slot 4).
  void AddPilot(uint32_t slot, uint16_t wins, uint16_t losses,
                uint32_t kill_points, uint32_t flag_points = 0,
                uint32_t squad = kNoSquad) {
    AddUser(slot, "p" + std::to_string(slot), squad);
    AddScore(slot, 1, slot, wins, losses, kill_points, flag_points);
  }
};

TEST_F(PilotStatsTest, TotalPointsRankTiesBySlotAndNeverWrap) {
  AddPilot(0, 1, 1, 10, 20, 3);
  AddPilot(1, 1, 1, 4294967295u, 4294967295u);
  AddPilot(2, 1, 1, 25, 5);
  AddPilot(3, 1, 1, 40, 0, 3);
  Load();
  FilterPilotTotalPoints(context);
  EXPECT_EQ(TakeConsole(), "Filtering pilot total points . Done\n");
  EXPECT_EQ(Listed(),
            (Rows{"p1 8589934590", "p3 [Hawks] 40", "p0 [Hawks] 30", "p2 30"}));
}

TEST_F(PilotStatsTest, TakesOnlyRowsOfTheScoreIdWithALoadedUser) {
  AddPilot(0, 1, 0, 100, 0, 3);
  AddScore(1, 2, 0, 1, 0, 900);   // another score ID
  AddScore(2, 1, 77, 1, 0, 800);  // user not loaded
  AddUser(5, "loner", 42);        // squad not loaded
  AddScore(3, 1, 5, 1, 0, 50);
  Load();
  FilterPilotKillPoints(context);
  EXPECT_EQ(Listed(), (Rows{"p0 [Hawks] 100", "loner 50"}));
}

TEST_F(PilotStatsTest, PerKillListsTakeOnlyPilotsWithEnoughKills) {
  context.settings.General.MinKills = 0;
  AddPilot(0, 0, 5, 500, 10);
  AddPilot(1, 49, 5, 500);
  AddPilot(2, 50, 5, 500);
  Load();
  FilterPilotWins(context);
  EXPECT_EQ(Listed(), (Rows{"p2 50", "p1 49", "p0 0"}));
  FilterPilotAvgKill(context);
  EXPECT_EQ(Listed(), (Rows{"p1 10.2", "p2 10.0"}));

  context.settings.General.MinKills = 50;
  for (auto filter :
       {FilterPilotAvgKill, FilterPilotRatio, FilterPilotRating}) {
    filter(context);
    ASSERT_EQ(context.top_list.Count(), 1u);
    EXPECT_EQ(context.top_list.entries()[0].Name, "p2");
  }
}

TEST_F(PilotStatsTest, AverageKillHasOneDecimal) {
  AddPilot(0, 60, 0, 500);
  Load();
  FilterPilotAvgKill(context);
  EXPECT_EQ(Listed(), (Rows{"p0 8.3"}));
}

TEST_F(PilotStatsTest, UndefeatedPilotsRankAboveRatiosWithCounts) {
  AddPilot(0, 100, 1, 0);
  AddPilot(1, 60, 40, 0);
  AddPilot(2, 60, 0, 0);
  Load();
  FilterPilotRatio(context);
  EXPECT_EQ(Listed(),
            (Rows{"p2 --- (60/0)", "p0 100.000 (100/1)", "p1 1.500 (60/40)"}));
  EXPECT_EQ(context.top_list.entries()[0].Value, 1000060.0);
}

TEST_F(PilotStatsTest, RatingIsTruncatedAndNeverWraps) {
  AddPilot(0, 60, 40, 500);  // 7000 / 160 = 43.75
  AddPilot(1, 60, 80, 500);  // no lead: 5000 / 160 = 31.25
  AddPilot(2, 50, 0, 4294967295u);
  Load();
  FilterPilotRating(context);
  EXPECT_EQ(Listed(), (Rows{"p2 286331186", "p0 43", "p1 31"}));
}

TEST_F(PilotStatsTest, TopXBoundsEveryList) {
  AddPilot(0, 5, 0, 0);
  AddPilot(1, 7, 0, 0);
  AddPilot(2, 7, 0, 0);
  Load();
  context.settings.General.TopX = 0;
  FilterPilotWins(context);
  EXPECT_EQ(TakeConsole(), "Filtering pilot wins . Done\n");
  EXPECT_TRUE(Listed().empty());
  context.settings.General.TopX = 1;
  FilterPilotWins(context);
  EXPECT_EQ(Listed(), (Rows{"p1 7"}));
  context.settings.General.TopX = 4294967295u;
  FilterPilotWins(context);
  EXPECT_EQ(Listed(), (Rows{"p1 7", "p2 7", "p0 5"}));
}

TEST_F(PilotStatsTest, DotsMarkEveryTenthOfTheScoreTable) {
  for (uint32_t slot = 0; slot < 100; ++slot) AddPilot(slot, 1, 0, 0);
  Load();
  FilterPilotLosses(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot losses .", 9));
}

TEST_F(PilotStatsTest, DotsOfTwoHundredSlotsAreNotRepeated) {
  for (uint32_t slot = 0; slot < 200; ++slot) AddPilot(slot, 1, 0, 0);
  Load();
  FilterPilotLosses(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot losses .", 9));
}

TEST_F(PilotStatsTest, SkippedSlotsPrintNoDot) {
  for (uint32_t slot = 0; slot < 100; ++slot) {
    if (slot == 10) continue;
    AddPilot(slot, 1, 0, 0);
  }
  AddScore(10, 2, 0, 1, 0, 0);  // another score ID in slot 10
  AddPilot(30, 0, 0, 0);        // replaces slot 30: no kills, no dot in Ratio
  context.settings.General.MinKills = 1;
  Load();
  FilterPilotLosses(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot losses .", 8));
  FilterPilotRatio(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot ratio .", 7));
}

TEST_F(PilotStatsTest, ProgressOfHugeEntryIdsDoesNotWrap) {
  // 4294967300 slots: slot 429496730 is 10 %, the last slot 99 %.
  AddPilot(5, 1, 0, 0);
  AddUser(6, "p6");
  AddScore(429496730u, 1, 6, 1, 0, 0);
  AddScore(4294967295u, 1, 6, 1, 0, 0);
  Load();
  FilterPilotWins(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot wins .", 1));
}

TEST_F(PilotStatsTest, ComputeRunsTheEnabledListsInOrderAndClears) {
  AddPilot(0, 60, 40, 500, 7);
  Load();
  context.settings.User.DoFlagPoints = false;
  ComputePilotStats(context);
  EXPECT_EQ(TakeConsole(),
            "Filtering pilot total points . Done\n"
            "Filtering pilot kill points . Done\n"
            "Filtering pilot avg kill points . Done\n"
            "Filtering pilot wins . Done\n"
            "Filtering pilot losses . Done\n"
            "Filtering pilot ratio . Done\n"
            "Filtering pilot rating . Done\n");
  EXPECT_EQ(context.top_list.Count(), 0u);
}

TEST_F(PilotStatsTest, ScoreIdWithoutRowsGivesEmptyListsWithoutDots) {
  for (uint32_t slot = 0; slot < 100; ++slot) AddPilot(slot, 1, 0, 0);
  Load();
  context.CurrentScoreID = 9;
  FilterPilotTotalPoints(context);
  EXPECT_EQ(TakeConsole(), "Filtering pilot total points . Done\n");
  EXPECT_EQ(context.top_list.Count(), 0u);
}

TEST_F(PilotStatsTest, MillionRowsUnboundedKeepInsertionOrder) {
  constexpr uint32_t kRows = 1000000;
  context.settings.General.TopX = 4294967295u;
  for (uint32_t slot = 0; slot < kRows; ++slot) {
    AddPilot(slot, static_cast<uint16_t>(slot % 7), 0, 0);
  }
  Load();
  auto start = std::chrono::steady_clock::now();
  FilterPilotWins(context);
  auto elapsed = std::chrono::steady_clock::now() - start;
  const std::vector<TopEntry>& entries = context.top_list.entries();
  ASSERT_EQ(entries.size(), kRows);
  EXPECT_EQ(entries[0].Name, "p6");
  EXPECT_EQ(entries[1].Name, "p13");
  EXPECT_EQ(entries[kRows - 1].Name, "p999999");  // 999999 % 7 == 0
  EXPECT_EQ(entries[kRows - 1].ValueText, "0");
  // Inserting one by one would take hours here.
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

}  // namespace
}  // namespace tallyhawk::testing

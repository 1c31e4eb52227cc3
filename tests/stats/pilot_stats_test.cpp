#include "stats/pilot_stats.h"

#include <gtest/gtest.h>

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

  // A user with one row of score ID 1, both keyed and named by the slot.
  void AddPilot(uint32_t slot, uint16_t wins, uint16_t losses,
                uint32_t kill_points, uint32_t flag_points = 0,
                uint32_t squad = kNoSquad) {
    AddUser(slot, "p" + std::to_string(slot), squad);
    AddScore(slot, 1, slot, wins, losses, kill_points, flag_points);
  }

  std::vector<std::string> ListOf(void (*filter)(RunContext&)) {
    filter(context);
    return Listed();
  }
};

TEST_F(PilotStatsTest, ListsTheScoreIdsRowsBestFirstTiesBySlot) {
  AddPilot(0, 1, 1, 10, 20, 3);
  AddPilot(1, 1, 1, 4294967295u, 4294967295u);  // beyond 32 bits
  AddPilot(2, 1, 1, 25, 5);
  AddUser(5, "loner", 42);        // squad not loaded
  AddScore(4, 2, 0, 1, 0, 900);   // another score ID
  AddScore(6, 1, 77, 1, 0, 800);  // user not loaded
  AddScore(7, 1, 5, 1, 0, 30);
  Load();
  EXPECT_EQ(ListOf(FilterPilotTotalPoints),
            (Rows{"p1 8589934590", "p0 [Hawks] 30", "p2 30", "loner 30"}));
  EXPECT_EQ(TakeConsole(), "Filtering pilot total points . Done\n");
}

TEST_F(PilotStatsTest, PerKillListsTakeOnlyPilotsWithEnoughKills) {
  context.settings.General.MinKills = 0;
  AddPilot(0, 0, 5, 500, 10);
  AddPilot(1, 49, 5, 500);
  AddPilot(2, 60, 5, 500);
  Load();
  EXPECT_EQ(ListOf(FilterPilotWins), (Rows{"p2 60", "p1 49", "p0 0"}));
  EXPECT_EQ(ListOf(FilterPilotAvgKill), (Rows{"p1 10.2", "p2 8.3"}));
  context.settings.General.MinKills = 49;
  EXPECT_EQ(ListOf(FilterPilotRating).size(), 2u);
  context.settings.General.MinKills = 50;
  EXPECT_EQ(ListOf(FilterPilotRatio), (Rows{"p2 12.000 (60/5)"}));
}

TEST_F(PilotStatsTest, UndefeatedPilotsRankAboveRatiosWithCounts) {
  AddPilot(0, 100, 1, 0);
  AddPilot(1, 60, 40, 0);
  AddPilot(2, 60, 0, 0);
  Load();
  EXPECT_EQ(ListOf(FilterPilotRatio),
            (Rows{"p2 --- (60/0)", "p0 100.000 (100/1)", "p1 1.500 (60/40)"}));
  EXPECT_EQ(context.top_list.entries()[0].Value, 1000060.0);
}

TEST_F(PilotStatsTest, RatingIsTruncatedAndNeverWraps) {
  AddPilot(0, 60, 40, 500);  // 7000 / 160 = 43.75
  AddPilot(1, 60, 80, 500);  // no lead: 5000 / 160 = 31.25
  AddPilot(2, 50, 0, 4294967295u);
  Load();
  EXPECT_EQ(ListOf(FilterPilotRating),
            (Rows{"p2 286331186", "p0 43", "p1 31"}));
}

TEST_F(PilotStatsTest, DotsCountOnlyTakenRowsAgainstTheWholeTable) {
  for (uint32_t slot = 0; slot < 200; ++slot) {
    AddPilot(slot, slot == 20 || slot == 21 ? 0 : 50, 0, 0);
  }
  Load();
  FilterPilotLosses(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot losses .", 9));
  // Slots 20 and 21 both give 10 %; neither is active.
  FilterPilotRatio(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot ratio .", 8));
}

TEST_F(PilotStatsTest, RowsOfOtherScoreIdsPrintNoDot) {
  for (uint32_t slot = 0; slot < 100; ++slot) AddPilot(slot, 1, 0, 0);
  AddScore(10, 2, 0, 1, 0, 0);  // slot 10 now belongs to score ID 2
  Load();
  FilterPilotWins(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot wins .", 8));
  context.CurrentScoreID = 9;
  EXPECT_EQ(ListOf(FilterPilotWins), Rows{});
  EXPECT_EQ(TakeConsole(), "Filtering pilot wins . Done\n");
}

TEST_F(PilotStatsTest, ProgressOfHugeEntryIdsDoesNotWrap) {
  // 4294967300 slots: slot 429496730 is 10 %, the last slot 99 %.
  AddPilot(5, 1, 0, 0);
  AddScore(429496730u, 1, 5, 1, 0, 0);
  AddScore(4294967295u, 1, 5, 1, 0, 0);
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

// Inserting one entry at a time into an unbounded list would not finish here;
// the time it takes is measured by the benchmarks.
TEST_F(PilotStatsTest, ManyRowsUnboundedKeepInsertionOrder) {
  constexpr uint32_t kRows = 200000;
  context.settings.General.TopX = 4294967295u;
  for (uint32_t slot = 0; slot < kRows; ++slot) {
    AddPilot(slot, static_cast<uint16_t>(slot % 7), 0, 0);
  }
  Load();
  FilterPilotWins(context);
  const std::vector<TopEntry>& entries = context.top_list.entries();
  ASSERT_EQ(entries.size(), kRows);
  EXPECT_EQ(entries[0].Name, "p6");
  EXPECT_EQ(entries[1].Name, "p13");
  EXPECT_EQ(entries[kRows - 1].Name, "p199997");  // the last row with 0 wins
}

}  // namespace
}  // namespace tallyhawk::testing

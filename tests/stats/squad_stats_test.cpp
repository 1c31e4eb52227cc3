#include "stats/squad_stats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stats/fixture.h"
#include "stats/squad_filters.h"

namespace tallyhawk::testing {
namespace {

using Rows = std::vector<std::string>;

class SquadStatsTest : public StatsTest {
 protected:
  SquadStatsTest() {
    context.CurrentScoreID = 1;
    context.settings.General.MinKills = 50;
    context.settings.Squad.MinMembers = 5;
  }

  // Users `first` to `first + count - 1`, all in `squad`.
  void AddMembers(uint32_t first, uint32_t count, uint32_t squad) {
    for (uint32_t id = first; id < first + count; ++id) {
      AddUser(id, "u" + std::to_string(id), squad);
    }
  }

  // Compiles `score_id` and runs `filter` on it.
  std::vector<std::string> ListOf(void (*filter)(RunContext&),
                                  uint32_t score_id = 1) {
    context.CurrentScoreID = score_id;
    CompileSquadStats(context);
    filter(context);
    TakeConsole();
    return Listed();
  }
};

TEST_F(SquadStatsTest, EachScoreIdSumsItsOwnRowsWithTheSameMembers) {
  AddSquad(1, "Alpha");
  AddSquad(2, "Beta");
  AddMembers(0, 5, 1);
  AddMembers(5, 6, 2);
  AddUser(20, "stray");
  AddScore(0, 1, 0, 10, 1, 100);
  AddScore(1, 1, 1, 15, 2, 100);
  AddScore(2, 1, 5, 30, 3, 100);
  AddScore(3, 2, 0, 7, 0, 100);
  AddScore(4, 1, 20, 99, 0, 100);  // no squad: counts nowhere
  Load();
  EXPECT_EQ(ListOf(FilterSquadWins, 1), (Rows{"Beta 30", "Alpha 25"}));
  EXPECT_EQ(ListOf(FilterSquadLosses, 1), (Rows{"Alpha 3", "Beta 3"}));
  EXPECT_EQ(ListOf(FilterSquadMembers, 1), (Rows{"Beta 6", "Alpha 5"}));
  EXPECT_EQ(ListOf(FilterSquadWins, 2), (Rows{"Alpha 7", "Beta 0"}));
  EXPECT_EQ(ListOf(FilterSquadMembers, 2), (Rows{"Beta 6", "Alpha 5"}));
}

TEST_F(SquadStatsTest, SmallAndEmptySquadsAreListedOnlyByMembers) {
  AddSquad(1, "Four");
  AddSquad(2, "Empty");
  AddSquad(3, "Five");
  AddMembers(0, 4, 1);
  AddMembers(10, 5, 3);
  AddScore(0, 1, 0, 200, 10, 5000, 100);
  Load();
  EXPECT_EQ(ListOf(FilterSquadMembers), (Rows{"Five 5", "Four 4", "Empty 0"}));
  for (auto filter :
       {FilterSquadTotalPoints, FilterSquadWins, FilterSquadLosses}) {
    EXPECT_EQ(ListOf(filter), (Rows{"Five 0"}));
  }
  for (auto filter : {FilterSquadAvgPoints, FilterSquadAvgKill,
                      FilterSquadRatio, FilterSquadRating}) {
    EXPECT_EQ(ListOf(filter), Rows{});
  }
}

TEST_F(SquadStatsTest, PerKillFiguresOfActiveSquads) {
  context.settings.Squad.MinMembers = 4;
  AddSquad(1, "Hawks");
  AddSquad(2, "Clean");
  AddSquad(3, "Few");
  AddMembers(0, 4, 1);
  AddMembers(10, 4, 2);
  AddMembers(20, 4, 3);
  AddScore(0, 1, 0, 40, 30, 300, 100);
  AddScore(1, 1, 3, 20, 10, 200, 200);
  AddScore(2, 1, 10, 120, 0, 0);
  AddScore(3, 1, 20, 49, 0, 9000);  // below MinKills
  Load();
  EXPECT_EQ(ListOf(FilterSquadAvgPoints), (Rows{"Hawks 200.00", "Clean 0.00"}));
  EXPECT_EQ(ListOf(FilterSquadAvgKill), (Rows{"Hawks 8.3", "Clean 0.0"}));
  EXPECT_EQ(ListOf(FilterSquadRatio),
            (Rows{"Clean --- (120/0)", "Hawks 1.500"}));
  // (100 * 20 + 10 * 500) / 160 = 43.75, not truncated as for a pilot.
  EXPECT_EQ(ListOf(FilterSquadRating), (Rows{"Clean 55", "Hawks 44"}));
}

TEST_F(SquadStatsTest, SumsBeyondThirtyTwoBitsStayExact) {
  AddSquad(1, "Horde");
  AddMembers(0, 70000, 1);
  for (uint32_t id = 0; id < 70000; ++id) AddScore(id, 1, id, 65535, 0, 0);
  Load();
  EXPECT_EQ(ListOf(FilterSquadWins), (Rows{"Horde 4587450000"}));
  EXPECT_EQ(ListOf(FilterSquadRatio), (Rows{"Horde --- (4587450000/0)"}));
  // 100 * 4587450000 / 4587450100.
  EXPECT_EQ(ListOf(FilterSquadRating), (Rows{"Horde 100"}));
}

TEST_F(SquadStatsTest, CompileDotsCarryTheMarkIntoTheMemberWalk) {
  AddSquad(1, "All");
  AddMembers(0, 100, 1);
  for (uint32_t id = 0; id < 100; ++id) AddScore(id, 1, id, 1, 0, 0);
  Load();
  // Score rows reach 10..40 (mark 40); the member walk then prints for 0,
  // since it differs from the mark, and again for 10..40.
  CompileSquadStats(context);
  EXPECT_EQ(TakeConsole(), Dotted("Compiling squad stats .", 9));
  // A score ID without rows leaves the mark at 0: the members' 0 is silent.
  context.CurrentScoreID = 2;
  CompileSquadStats(context);
  EXPECT_EQ(TakeConsole(), Dotted("Compiling squad stats .", 4));
}

TEST_F(SquadStatsTest, FilterDotsFollowTheSquadTableSlots) {
  for (uint32_t id = 0; id < 100; ++id) {
    if (id != 50) AddSquad(id, "s" + std::to_string(id));
  }
  Load();
  CompileSquadStats(context);
  TakeConsole();
  FilterSquadMembers(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering squad members .", 8));
  FilterSquadWins(context);
  EXPECT_EQ(TakeConsole(), "Filtering squad wins . Done\n");
}

TEST_F(SquadStatsTest, ComputeRunsTheEnabledListsInOrderAndClears) {
  AddSquad(1, "Hawks");
  AddMembers(0, 5, 1);
  AddScore(0, 1, 0, 60, 40, 500);
  Load();
  context.settings.Squad.DoLosses = false;
  ComputeSquadStats(context);
  EXPECT_EQ(TakeConsole(),
            "Compiling squad stats . Done\n"
            "Filtering squad total points . Done\n"
            "Filtering squad average points . Done\n"
            "Filtering squad average kill . Done\n"
            "Filtering squad wins . Done\n"
            "Filtering squad ratio . Done\n"
            "Filtering squad rating . Done\n"
            "Filtering squad members . Done\n");
  EXPECT_EQ(context.top_list.Count(), 0u);
}

}  // namespace
}  // namespace tallyhawk::testing

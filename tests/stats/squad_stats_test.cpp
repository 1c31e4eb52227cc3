#include "stats/squad_stats.h"

#include "stats/fixture.h"
#include "stats/squad_filters.h"

namespace tallyhawk::testing {
namespace {

using Rows = std::vector<std::string>;

class SquadStatsTest : public StatsTest {
 protected:
  // Users `first` to `first + count - 1`, all in `squad`.
  void AddMembers(uint32_t first, uint32_t count, uint32_t squad) {
    for (uint32_t id = first; id < first + count; ++id) AddUser(id, squad);
  }
};

TEST_F(SquadStatsTest, SumsBeyondThirtyTwoBitsStayExact) {
  context.settings.Squad.MinMembers = 1;
  AddSquad(1, "Horde");
  AddSquad(2, "Hawks");
  AddMembers(0, 70000, 1);
  for (uint32_t id = 0; id < 70000; ++id) AddScore(id, 1, id, 65535);
  AddMembers(70000, 1, 2);
  AddScore(70000, 1, 70000, 60, 40, 500);
  Load();
  CompileSquadStats(context);
  EXPECT_EQ(ListOf(FilterSquadWins), (Rows{"Horde 4587450000", "Hawks 60"}));
  // Undefeated squads rank above every ratio.
  EXPECT_EQ(ListOf(FilterSquadRatio),
            (Rows{"Horde --- (4587450000/0)", "Hawks 1.500"}));
  // 100 * 4587450000 / 4587450100, and 7000 / 160 = 43.75 rounded.
  EXPECT_EQ(ListOf(FilterSquadRating), (Rows{"Horde 100", "Hawks 44"}));
}

TEST_F(SquadStatsTest, CompileDotsCarryTheMarkIntoTheMemberWalk) {
  AddSquad(1, "All");
  AddMembers(0, 100, 1);
  for (uint32_t id = 0; id < 100; ++id) AddScore(id, 1, id, 1);
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

}  // namespace
}  // namespace tallyhawk::testing

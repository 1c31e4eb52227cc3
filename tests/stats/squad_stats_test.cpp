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

  // Compiles score ID `score_id` and returns the dots it printed.
  int Compile(uint32_t score_id = 1) {
    progress = {};
    membership = CountSquadMembership(db.UserTable, db.SquadTable);
    stats = CompileSquadStats(db.ScoreTable.RowsOf(score_id),
                              db.ScoreTable.SlotCount(), db.SquadTable,
                              membership, progress);
    return progress.dots();
  }

  // Ranks the squads for the list named `list`.
  Rows Rank(std::string_view list, uint32_t min_members = 5,
            uint32_t min_kills = 50) {
    progress = {};
    const SquadRows rows{db.SquadTable, stats, 100, min_kills, min_members};
    size_t index = 0;
    while (kSquadLists[index].ListName != list) ++index;
    return Listed(FilterSquadList(rows, index, progress));
  }

  SquadMembership membership;
  std::vector<SquadStats> stats;
};

TEST_F(SquadStatsTest, SumsBeyondThirtyTwoBitsStayExact) {
  AddSquad(1, "Horde");
  AddSquad(2, "Hawks");
  AddMembers(0, 70000, 1);
  for (uint32_t id = 0; id < 70000; ++id) AddScore(id, 1, id, 65535);
  AddMembers(70000, 1, 2);
  AddScore(70000, 1, 70000, 60, 40, 500);
  Load();
  Compile();
  EXPECT_EQ(Rank("SqWins", 1), (Rows{"Horde 4587450000", "Hawks 60"}));
  // Undefeated squads rank above every ratio.
  EXPECT_EQ(Rank("SqRatio", 1),
            (Rows{"Horde --- (4587450000/0)", "Hawks 1.500"}));
  // 100 * 4587450000 / 4587450100, and 7000 / 160 = 43.75 rounded.
  EXPECT_EQ(Rank("SqRating", 1), (Rows{"Horde 100", "Hawks 44"}));
}

TEST_F(SquadStatsTest, SizedAndActiveThresholdsTakeEqualValues) {
  AddSquad(1, "Five");  // exactly MinMembers, exactly MinKills wins
  AddSquad(2, "Four");
  AddMembers(0, 5, 1);
  AddMembers(10, 4, 2);
  AddScore(0, 1, 0, 50, 0, 100);
  AddScore(10, 1, 10, 90, 0, 100);
  Load();
  Compile();
  EXPECT_EQ(Rank("SqAvgPts"), (Rows{"Five 20.00"}));
  EXPECT_EQ(Rank("SqTotPts"), (Rows{"Five 100"}));
  EXPECT_EQ(Rank("SqAvgKill", 5, 51), Rows{});
  EXPECT_EQ(Rank("SqMembers"), (Rows{"Five 5", "Four 4"}));
}

TEST_F(SquadStatsTest, CompileDotsCarryTheMarkIntoTheMemberWalk) {
  AddSquad(1, "All");
  AddMembers(0, 100, 1);
  for (uint32_t id = 0; id < 100; ++id) AddScore(id, 1, id, 1);
  Load();
  // Score rows reach 10..40 (mark 40); the member walk then prints for 0,
  // since it differs from the mark, and again for 10..40.
  EXPECT_EQ(Compile(), 9);
  // A score ID without rows leaves the mark at 0: the members' 0 is silent.
  EXPECT_EQ(Compile(2), 4);
}

}  // namespace
}  // namespace tallyhawk::testing

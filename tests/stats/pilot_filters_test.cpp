#include "stats/pilot_filters.h"

#include "stats/fixture.h"

namespace tallyhawk::testing {
namespace {

using Rows = std::vector<std::string>;

class PilotFiltersTest : public StatsTest {
 protected:
  // A user with one row of score ID 1, both in the same slot.
  void AddPilot(uint32_t slot, uint16_t wins, uint16_t losses = 0,
                uint32_t kill_points = 0, uint32_t flag_points = 0) {
    AddUser(slot);
    AddScore(slot, 1, slot, wins, losses, kill_points, flag_points);
  }

  // Ranks score ID 1 for the list named `list`; returns the rows and
  // counts the dots.
  Rows Rank(std::string_view list, uint32_t min_kills = 50,
            uint32_t top_x = 100) {
    progress = {};
    const PilotRows rows{db.ScoreTable.RowsOf(1),
                         db.ScoreTable.SlotCount(),
                         db.UserTable,
                         db.SquadTable,
                         top_x,
                         min_kills};
    size_t index = 0;
    while (kPilotLists[index].ListName != list) ++index;
    return Listed(FilterPilotList(rows, index, progress));
  }
};

TEST_F(PilotFiltersTest, LargePointsAndMoreLossesThanWinsNeverWrap) {
  AddPilot(0, 50, 0, 4294967295u, 4294967295u);
  AddPilot(1, 60, 80, 500);  // no lead: 10 * 500 / 160 = 31.25
  Load();
  EXPECT_EQ(Rank("TotPts"), (Rows{"p0 8589934590", "p1 500"}));
  EXPECT_EQ(Rank("Rating"), (Rows{"p0 286331186", "p1 31"}));
}

TEST_F(PilotFiltersTest, ActiveMeansSomeWinsAndAtLeastMinKills) {
  AddPilot(0, 49, 1, 490);
  AddPilot(1, 50, 0, 500);
  AddPilot(2, 0, 0, 900);
  Load();
  EXPECT_EQ(Rank("AvgKill"), (Rows{"p1 10.0"}));
  EXPECT_EQ(Rank("Ratio", 0), (Rows{"p1 --- (50/0)", "p0 49.000 (49/1)"}));
  EXPECT_EQ(Rank("KillPts", 50, 2), (Rows{"p2 900", "p1 500"}));
}

TEST_F(PilotFiltersTest, DotsCountOnlyTakenRowsAgainstTheWholeTable) {
  // Slots 30 to 32 are the rows at 10 percent of SlotCount 300; they are
  // not active.
  for (uint32_t slot = 0; slot < 200; ++slot) {
    AddPilot(slot, slot >= 30 && slot <= 32 ? 0 : 50);
  }
  AddScore(270, 2, 0, 1);  // 90 percent, but of another score ID
  Load();
  Rank("Losses");
  EXPECT_EQ(progress.dots(), 6);  // 10 .. 60
  Rank("Ratio");
  EXPECT_EQ(progress.dots(), 5);  // 20 .. 60
}

TEST_F(PilotFiltersTest, ProgressOfHugeEntryIdsDoesNotWrap) {
  // 4294967300 slots: slot 429496730 is 10 %, the last slot 99 %.
  AddPilot(5, 1);
  AddScore(429496730u, 1, 5, 1);
  AddScore(4294967295u, 1, 5, 1);
  Load();
  Rank("Wins");
  EXPECT_EQ(progress.dots(), 1);
}

}  // namespace
}  // namespace tallyhawk::testing

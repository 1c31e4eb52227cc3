#include "stats/pilot_stats.h"

#include "stats/fixture.h"
#include "stats/pilot_filters.h"

namespace tallyhawk::testing {
namespace {

using Rows = std::vector<std::string>;

class PilotStatsTest : public StatsTest {
 protected:
  // A user with one row of score ID 1, both in the same slot.
  void AddPilot(uint32_t slot, uint16_t wins, uint16_t losses = 0,
                uint32_t kill_points = 0, uint32_t flag_points = 0) {
    AddUser(slot);
    AddScore(slot, 1, slot, wins, losses, kill_points, flag_points);
  }
};

TEST_F(PilotStatsTest, LargePointsAndMoreLossesThanWinsNeverWrap) {
  AddPilot(0, 50, 0, 4294967295u, 4294967295u);
  AddPilot(1, 60, 80, 500);  // no lead: 10 * 500 / 160 = 31.25
  Load();
  EXPECT_EQ(ListOf(FilterPilotTotalPoints), (Rows{"p0 8589934590", "p1 500"}));
  EXPECT_EQ(ListOf(FilterPilotRating), (Rows{"p0 286331186", "p1 31"}));
}

TEST_F(PilotStatsTest, DotsCountOnlyTakenRowsAgainstTheWholeTable) {
  for (uint32_t slot = 0; slot < 200; ++slot) {
    AddPilot(slot, slot == 20 || slot == 21 ? 0 : 50);
  }
  Load();
  FilterPilotLosses(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot losses .", 9));
  // Slots 20 and 21 both give 10 %; neither is active.
  FilterPilotRatio(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot ratio .", 8));
}

TEST_F(PilotStatsTest, RowsOfOtherScoreIdsPrintNoDot) {
  for (uint32_t slot = 0; slot < 100; ++slot) AddPilot(slot, 1);
  AddScore(10, 2, 0, 1);  // slot 10 now belongs to score ID 2
  Load();
  FilterPilotWins(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot wins .", 8));
}

TEST_F(PilotStatsTest, ProgressOfHugeEntryIdsDoesNotWrap) {
  // 4294967300 slots: slot 429496730 is 10 %, the last slot 99 %.
  AddPilot(5, 1);
  AddScore(429496730u, 1, 5, 1);
  AddScore(4294967295u, 1, 5, 1);
  Load();
  FilterPilotWins(context);
  EXPECT_EQ(TakeConsole(), Dotted("Filtering pilot wins .", 1));
}

}  // namespace
}  // namespace tallyhawk::testing

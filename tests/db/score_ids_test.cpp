#include "db/score_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/run_context.h"
#include "support/db_builder.h"
#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

using testing::FakePlatform;
using testing::MakeScore;
using testing::MakeUser;

// A score row: its EntryID (slot), score ID and user.
struct Row {
  uint32_t entry_id;
  uint32_t score_id;
  uint32_t user_id;
};

class CollectScoreIdsTest : public ::testing::Test {
 protected:
  // Loads users `user_ids` and the rows, then collects; returns the text the
  // collection printed.
  std::string Collect(const std::vector<uint32_t>& user_ids,
                      const std::vector<Row>& rows, uint32_t single = 0) {
    std::string users, scores;
    for (uint32_t id : user_ids) users += MakeUser(id, "U");
    for (const Row& row : rows) {
      scores += MakeScore(row.entry_id, row.score_id, row.user_id);
    }
    platform.files = {
        {"user.dat", users}, {"squad.dat", ""}, {"score.dat", scores}};
    context = std::make_unique<RunContext>(platform, RunOptions{});
    context->settings.General.ScoreID = single;
    context->databases.UserTable.MakeReady();
    context->databases.SquadTable.MakeReady();
    context->databases.ScoreTable.MakeReady();
    LoadDatabases(*context);
    platform.console.clear();
    CollectScoreIds(*context);
    return platform.console;
  }
  const std::vector<uint32_t>& ids() { return context->score_ids.ids(); }

  FakePlatform platform;
  std::unique_ptr<RunContext> context;
};

TEST_F(CollectScoreIdsTest, DistinctScoreIdsOfKnownUsersAscending) {
  EXPECT_EQ(Collect({1}, {{1, 7, 1},
                          {2, 3, 1},
                          {3, 7, 1},
                          {4, 12, 1},
                          {5, 3, 1},
                          {6, 4294967295u, 1},
                          {7, 0, 1},
                          {8, 9, 2}}),
            "Sorting all scoreID's . Done, found 5 scoreID's\n");
  EXPECT_EQ(ids(), (std::vector<uint32_t>{0, 3, 7, 12, 4294967295u}));
}

TEST_F(CollectScoreIdsTest, NoRowWithAKnownUserFindsNothing) {
  EXPECT_EQ(Collect({}, {{1, 5, 1}, {500, 9, 2}}),
            "Sorting all scoreID's . Done, found 0 scoreID's\n");
  EXPECT_TRUE(ids().empty());
}

TEST_F(CollectScoreIdsTest, SingleScoreIdModeTakesTheSettingAsIs) {
  EXPECT_EQ(Collect({1}, {{1, 6, 1}, {2, 7, 1}}, 5),
            "Processing single scoreID\n");
  EXPECT_EQ(ids(), (std::vector<uint32_t>{5}));
}

std::vector<Row> RowsAt(const std::vector<uint32_t>& entry_ids) {
  std::vector<Row> rows;
  for (uint32_t id : entry_ids) rows.push_back({id, 1, 1});
  return rows;
}

TEST_F(CollectScoreIdsTest, DotsMarkTenthsOfTheSlotCount) {
  std::vector<uint32_t> every_slot;
  for (uint32_t i = 0; i < 1000; ++i) every_slot.push_back(i);
  // SlotCount 1000: every tenth from 10 to 90 is reached: nine dots after
  // the message's own.
  EXPECT_EQ(Collect({1}, RowsAt(every_slot)),
            "Sorting all scoreID's .......... Done, found 1 scoreID's\n");
  // SlotCount 100: slot 99 gives p = 99; no dot.
  EXPECT_EQ(Collect({1}, RowsAt({0, 99})),
            "Sorting all scoreID's . Done, found 1 scoreID's\n");
  // SlotCount 200: slots 20 and 21 both give p = 10, one dot; 199 gives 99.
  EXPECT_EQ(Collect({1}, RowsAt({0, 20, 21, 199})),
            "Sorting all scoreID's .. Done, found 1 scoreID's\n");
  // SlotCount 300: slots 60, 150 and 270 give p = 20, 50 and 90; slot 100
  // gives 33.
  EXPECT_EQ(Collect({1}, RowsAt({60, 100, 150, 270, 299})),
            "Sorting all scoreID's .... Done, found 1 scoreID's\n");
}

TEST_F(CollectScoreIdsTest, OnlyRowsOfKnownUsersPrintDots) {
  // Slots 20 and 40 of SlotCount 200 would print dots, but their users are
  // unknown; slot 60 (p = 30) prints one.
  EXPECT_EQ(Collect({1}, {{20, 1, 2}, {40, 1, 2}, {60, 1, 1}, {199, 1, 2}}),
            "Sorting all scoreID's .. Done, found 1 scoreID's\n");
}

TEST_F(CollectScoreIdsTest, DotsOfHugeSlotsAreComputedWithoutOverflow) {
  // SlotCount 4294967300. Slot 429496730 gives p = 10 exactly; slot
  // 2147483648 gives 49 and 4294967295 gives 99.
  EXPECT_EQ(Collect({1}, RowsAt({429496730u, 2147483648u, 4294967295u})),
            "Sorting all scoreID's .. Done, found 1 scoreID's\n");
}

TEST(RunScoreIdPassTest, PrintsTheScoreIdBlock) {
  FakePlatform platform;
  RunContext context(platform, RunOptions{});
  context.CurrentScoreID = 4294967295u;
  RunScoreIdPass(context);
  EXPECT_EQ(platform.console,
            "--------------------------\n"
            "SCORE ID 4294967295\n"
            "--------------------------\n"
            "\n\n");
}

}  // namespace
}  // namespace tallyhawk

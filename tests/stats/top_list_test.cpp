#include "stats/top_list.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "stats/ranked_selection.h"

namespace tallyhawk {
namespace {

constexpr uint32_t kUnbounded = 4294967295u;

// Inserts the values in order, naming each entry by its insertion order
// ('a', 'b', ...), and returns the names in rank order.
std::string Ranked(std::initializer_list<double> values, uint32_t top_x) {
  TopList list;
  char name = 'a';
  for (double value : values) {
    list.InsertRanked({std::string(1, name++), "", "", value}, top_x);
  }
  std::string names;
  for (const TopEntry& entry : list.entries()) names += entry.Name;
  return names;
}

TEST(TopListTest, TiesKeepInsertionOrderAndAFullListTakesOnlyBetter) {
  EXPECT_EQ(Ranked({5, 7, 5}, kUnbounded), "bac");
  EXPECT_EQ(Ranked({1, 3, 2, 3, 0}, kUnbounded), "bdcae");
  EXPECT_EQ(Ranked({9, 8, 8, 8}, 3), "abc");
  EXPECT_EQ(Ranked({9, 8, 8, 8, 8.5}, 3), "aeb");
  EXPECT_EQ(Ranked({1, 2, 3}, 0), "");
  EXPECT_EQ(Ranked({4, 6, 6, 5}, 1), "b");
}

// The filters rank all candidates at once; that must give exactly the list
// that inserting them one by one gives, ties and bound included.
TEST(RankedSelectionTest, AgreesWithInsertionOnRandomTies) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 400; ++round) {
    const size_t count = random() % 60;
    const uint32_t bounds[] = {0,
                               1,
                               2,
                               static_cast<uint32_t>(count / 2),
                               static_cast<uint32_t>(count),
                               kUnbounded};
    const uint32_t top_x = bounds[random() % 6];
    const unsigned distinct = 1 + random() % 6;
    TopList inserted;
    std::vector<RankCandidate> candidates;
    for (size_t k = 0; k < count; ++k) {
      const double value = static_cast<double>(random() % distinct) / 2;
      inserted.InsertRanked({std::to_string(k), "", "", value}, top_x);
      candidates.push_back(RankCandidate{value, k});
    }
    SelectRanked(candidates, top_x);
    ASSERT_EQ(candidates.size(), inserted.Count()) << "round " << round;
    for (size_t rank = 0; rank < candidates.size(); ++rank) {
      ASSERT_EQ(std::to_string(candidates[rank].position),
                inserted.entries()[rank].Name)
          << "round " << round << ", rank " << rank;
    }
  }
}

}  // namespace
}  // namespace tallyhawk

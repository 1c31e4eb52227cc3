#include "stats/top_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "stats/ranked_selection.h"

namespace tallyhawk {
namespace {

constexpr uint32_t kUnbounded = 4294967295u;

// Inserts one entry per value, named by its insertion order ("a", "b", ...).
class Inserter {
 public:
  explicit Inserter(uint32_t top_x) : top_x_(top_x) {}
  Inserter& Insert(std::initializer_list<double> values) {
    for (double value : values) {
      TopEntry entry;
      entry.Name = std::string(1, static_cast<char>('a' + next_++));
      entry.Value = value;
      list.InsertRanked(entry, top_x_);
    }
    return *this;
  }
  // "name:value" in rank order.
  std::vector<std::string> Ranked() const {
    std::vector<std::string> rows;
    for (const TopEntry& entry : list.entries()) {
      std::string value = std::to_string(entry.Value);
      rows.push_back(entry.Name + ":" + value.substr(0, value.find('.') + 2));
    }
    return rows;
  }
  TopList list;

 private:
  uint32_t top_x_;
  int next_ = 0;
};

using Rows = std::vector<std::string>;

TEST(TopListTest, EqualValuesKeepInsertionOrder) {
  Inserter inserter(kUnbounded);
  inserter.Insert({5, 7, 5});
  EXPECT_EQ(inserter.Ranked(), (Rows{"b:7.0", "a:5.0", "c:5.0"}));
  EXPECT_EQ(inserter.list.Count(), 3u);
}

TEST(TopListTest, FullListTakesOnlyAStrictlyBetterEntry) {
  Inserter inserter(3);
  inserter.Insert({9, 8, 8});
  inserter.Insert({8});
  EXPECT_EQ(inserter.Ranked(), (Rows{"a:9.0", "b:8.0", "c:8.0"}));
  inserter.Insert({8.5});
  EXPECT_EQ(inserter.Ranked(), (Rows{"a:9.0", "e:8.5", "b:8.0"}));
}

TEST(TopListTest, TopXBoundsTheList) {
  Inserter none(0);
  none.Insert({1, 2, 3});
  EXPECT_EQ(none.list.Count(), 0u);

  Inserter one(1);
  one.Insert({4, 6, 6, 5});
  EXPECT_EQ(one.Ranked(), (Rows{"b:6.0"}));

  Inserter all(kUnbounded);
  all.Insert({1, 3, 2, 3, 0});
  EXPECT_EQ(all.Ranked(), (Rows{"b:3.0", "d:3.0", "c:2.0", "a:1.0", "e:0.0"}));
}

TEST(TopListTest, ClearEmptiesTheList) {
  Inserter inserter(10);
  inserter.Insert({1, 2});
  inserter.list.ClearTopList();
  EXPECT_EQ(inserter.list.Count(), 0u);
  EXPECT_TRUE(inserter.list.entries().empty());
}

// The filters rank all candidates at once; that must give exactly the list
// that inserting them one by one gives, ties and bound included.
TEST(RankedSelectionTest, AgreesWithInsertionOnRandomTies) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 400; ++round) {
    const size_t count = random() % 60;
    const int distinct = 1 + static_cast<int>(random() % 6);
    const uint32_t bounds[] = {0,
                               1,
                               2,
                               static_cast<uint32_t>(count / 2),
                               static_cast<uint32_t>(count),
                               kUnbounded};
    const uint32_t top_x = bounds[random() % 6];

    TopList inserted;
    std::vector<RankCandidate> candidates;
    for (size_t k = 0; k < count; ++k) {
      double value = static_cast<double>(random() % distinct) / 2;
      TopEntry entry;
      entry.Name = std::to_string(k);
      entry.Value = value;
      inserted.InsertRanked(entry, top_x);
      candidates.push_back(RankCandidate{value, k});
    }
    SelectRanked(candidates, top_x);

    ASSERT_EQ(candidates.size(), inserted.Count()) << "round " << round;
    for (size_t rank = 0; rank < candidates.size(); ++rank) {
      EXPECT_EQ(std::to_string(candidates[rank].position),
                inserted.entries()[rank].Name)
          << "round " << round << ", rank " << rank;
    }
  }
}

}  // namespace
}  // namespace tallyhawk

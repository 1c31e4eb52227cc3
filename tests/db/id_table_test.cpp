#include "db/id_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tallyhawk {
namespace {

// A record that remembers its ID and the order in which it was stored.
struct Item {
  uint32_t id = 0;
  int serial = 0;
};

class IdTableTest : public ::testing::Test {
 protected:
  IdTableTest() { table.MakeReady(); }
  void StoreAll(const std::vector<uint32_t>& ids) {
    for (uint32_t id : ids) table.Store(Item{id, ++serial}, id);
    table.Finish();
  }

  IdTable<Item> table;
  int serial = 0;
};

TEST_F(IdTableTest, SlotCountIsTheMultipleOf100AboveTheLargestId) {
  table.Finish();
  EXPECT_EQ(table.SlotCount(), 0u);
  StoreAll({0, 1, 99});
  EXPECT_EQ(table.SlotCount(), 100u);
  StoreAll({100});
  EXPECT_EQ(table.SlotCount(), 200u);
  StoreAll({4294967295u});
  EXPECT_EQ(table.SlotCount(), 4294967300u);
}

TEST_F(IdTableTest, ExtremeIdsAreFoundAndNothingBesideThem) {
  StoreAll({4294967295u, 0});
  EXPECT_EQ(table.Lookup(0)->id, 0u);
  EXPECT_EQ(table.Lookup(4294967295u)->id, 4294967295u);
  EXPECT_EQ(table.Lookup(1), nullptr);
  EXPECT_EQ(table.Lookup(4294967294u), nullptr);
  EXPECT_EQ(table.ids(), (std::vector<uint32_t>{0, 4294967295u}));
}

// Dense IDs take the direct index, sparse ones the sorted search: in both,
// the walk is ascending and a later record replaces an earlier one.
TEST_F(IdTableTest, LaterDuplicateWinsAmongDenseIds) {
  StoreAll({3, 1, 3, 2, 3});
  EXPECT_EQ(table.ids(), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(table.Lookup(3)->serial, 5);
}

TEST_F(IdTableTest, LaterDuplicateWinsAmongSparseIds) {
  StoreAll({4000000000u, 7, 4000000000u, 7, 9});
  EXPECT_EQ(table.ids(), (std::vector<uint32_t>{7, 9, 4000000000u}));
  EXPECT_EQ(table.Lookup(4000000000u)->serial, 3);
  EXPECT_EQ(table.Lookup(7)->serial, 4);
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table.records()[i].id, table.ids()[i]);
  }
}

TEST_F(IdTableTest, LookupAboveSlotCountFindsNothingAndChangesNothing) {
  StoreAll({0, 1, 99});
  EXPECT_EQ(table.Lookup(100), nullptr);
  EXPECT_EQ(table.Lookup(150), nullptr);
  EXPECT_EQ(table.SlotCount(), 100u);
  EXPECT_EQ(table.size(), 3u);
}

TEST(IdTableIndexTest, DenseAndSparseLookupsAgreeAtTheBoundary) {
  // 1000 records up to ID 5023 use the direct index, from 5024 they do not.
  for (uint32_t max_id : {5023u, 5024u}) {
    IdTable<Item> t;
    t.MakeReady();
    for (uint32_t id = 0; id < 999; ++id) t.Store(Item{id * 5, 0}, id * 5);
    t.Store(Item{max_id, 0}, max_id);
    t.Finish();
    EXPECT_NE(t.Lookup(max_id), nullptr);
    EXPECT_NE(t.Lookup(4990), nullptr);
    EXPECT_EQ(t.Lookup(4991), nullptr);
    EXPECT_EQ(t.Lookup(max_id + 1), nullptr);
  }
}

// A million records with different huge IDs in random order must neither
// cost memory in proportion to the largest ID nor load slowly.
TEST_F(IdTableTest, MillionRandomHugeIdsStayFastAndFindable) {
  uint64_t state = 12345;
  std::vector<uint32_t> stored;
  for (int i = 0; i < 1000000; ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    stored.push_back(static_cast<uint32_t>(state >> 32) | 0x80000000u);
  }
  StoreAll(stored);
  EXPECT_TRUE(std::is_sorted(table.ids().begin(), table.ids().end()));
  for (size_t i = 0; i < stored.size(); i += 997) {
    EXPECT_EQ(table.Lookup(stored[i])->id, stored[i]);
  }
  EXPECT_EQ(table.Lookup(12), nullptr);
}

}  // namespace
}  // namespace tallyhawk

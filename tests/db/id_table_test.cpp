#include "db/id_table.h"

#include <gtest/gtest.h>

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
  void Store(uint32_t id) { table.Store(Item{id, ++serial}, id); }
  void StoreAll(const std::vector<uint32_t>& ids) {
    for (uint32_t id : ids) Store(id);
    table.Finish();
  }

  IdTable<Item> table;
  int serial = 0;
};

TEST_F(IdTableTest, SlotCountIsTheMultipleOf100AboveTheLargestId) {
  EXPECT_EQ(table.SlotCount(), 0u);
  StoreAll({0, 1, 99});
  EXPECT_EQ(table.SlotCount(), 100u);
  StoreAll({100});
  EXPECT_EQ(table.SlotCount(), 200u);
  StoreAll({250});
  EXPECT_EQ(table.SlotCount(), 300u);
  StoreAll({4294967295u});
  EXPECT_EQ(table.SlotCount(), 4294967300u);
}

TEST_F(IdTableTest, EmptyFinishLeavesSlotCountZero) {
  table.Finish();
  EXPECT_EQ(table.SlotCount(), 0u);
  EXPECT_EQ(table.Lookup(0), nullptr);
}

TEST_F(IdTableTest, ExtremeIdsAreStoredAndFound) {
  StoreAll({4294967295u, 0});
  ASSERT_NE(table.Lookup(0), nullptr);
  ASSERT_NE(table.Lookup(4294967295u), nullptr);
  EXPECT_EQ(table.Lookup(4294967295u)->id, 4294967295u);
  EXPECT_EQ(table.Lookup(1), nullptr);
  EXPECT_EQ(table.Lookup(4294967294u), nullptr);
  EXPECT_EQ(table.ids(), (std::vector<uint32_t>{0, 4294967295u}));
}

TEST_F(IdTableTest, LaterDuplicateWinsWithDenseIds) {
  StoreAll({3, 1, 3, 2, 3});
  EXPECT_EQ(table.size(), 3u);
  EXPECT_EQ(table.Lookup(3)->serial, 5);
  EXPECT_EQ(table.ids(), (std::vector<uint32_t>{1, 2, 3}));
}

TEST_F(IdTableTest, LaterDuplicateWinsWithSparseIds) {
  StoreAll({4000000000u, 7, 4000000000u, 7, 4000000000u, 9});
  EXPECT_EQ(table.size(), 3u);
  EXPECT_EQ(table.Lookup(4000000000u)->serial, 5);
  EXPECT_EQ(table.Lookup(7)->serial, 4);
  EXPECT_EQ(table.ids(), (std::vector<uint32_t>{7, 9, 4000000000u}));
}

TEST_F(IdTableTest, WalkIsInAscendingIdOrderWithRecordsAlongside) {
  StoreAll({50, 10, 40, 20, 30});
  ASSERT_EQ(table.ids(), (std::vector<uint32_t>{10, 20, 30, 40, 50}));
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table.records()[i].id, table.ids()[i]);
  }
}

TEST_F(IdTableTest, LookupAboveSlotCountFindsNothingAndChangesNothing) {
  StoreAll({0, 1, 99});
  EXPECT_EQ(table.Lookup(150), nullptr);
  EXPECT_EQ(table.Lookup(100), nullptr);
  EXPECT_EQ(table.Lookup(4294967295u), nullptr);
  EXPECT_EQ(table.SlotCount(), 100u);
  EXPECT_EQ(table.size(), 3u);
}

TEST_F(IdTableTest, TableThatIsNotReadyStoresNothing) {
  IdTable<Item> unready;
  unready.Store(Item{5, 1}, 5);
  unready.Finish();
  EXPECT_EQ(unready.SlotCount(), 0u);
  EXPECT_EQ(unready.Lookup(5), nullptr);
  EXPECT_EQ(unready.size(), 0u);
}

TEST_F(IdTableTest, StoresAfterFinishJoinAtTheNextFinish) {
  StoreAll({1, 2});
  Store(2);
  Store(4000000000u);
  // Not yet ordered: lookups still see the finished state.
  EXPECT_EQ(table.Lookup(2)->serial, 2);
  table.Finish();
  EXPECT_EQ(table.Lookup(2)->serial, 3);
  EXPECT_EQ(table.ids(), (std::vector<uint32_t>{1, 2, 4000000000u}));
}

// A million records, each with a different huge ID, in random order: this
// must neither take memory in proportion to the largest ID nor sort slowly.
TEST_F(IdTableTest, MillionRandomHugeIdsStayFastAndFindable) {
  uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(state >> 32) | 0x80000000u;
  };
  std::vector<uint32_t> stored;
  for (int i = 0; i < 1000000; ++i) stored.push_back(next());
  for (uint32_t id : stored) Store(id);
  table.Finish();
  EXPECT_TRUE(std::is_sorted(table.ids().begin(), table.ids().end()));
  for (size_t i = 0; i < stored.size(); i += 997) {
    ASSERT_NE(table.Lookup(stored[i]), nullptr);
    EXPECT_EQ(table.Lookup(stored[i])->id, stored[i]);
  }
  EXPECT_EQ(table.Lookup(12), nullptr);
}

TEST_F(IdTableTest, DenseAndSparseLookupsAgreeAtTheBoundary) {
  // 1000 records up to ID 5023 use the direct index; up to ID 5024 they do
  // not. Both must find exactly the stored IDs.
  for (uint32_t max_id : {5023u, 5024u, 5025u}) {
    IdTable<Item> t;
    t.MakeReady();
    for (uint32_t id = 0; id < 999; ++id) t.Store(Item{id * 5, 0}, id * 5);
    t.Store(Item{max_id, 0}, max_id);
    t.Finish();
    EXPECT_EQ(t.size(), 1000u);
    EXPECT_NE(t.Lookup(max_id), nullptr);
    EXPECT_NE(t.Lookup(4990), nullptr);
    EXPECT_EQ(t.Lookup(4991), nullptr);
    EXPECT_EQ(t.Lookup(max_id + 1), nullptr);
  }
}

}  // namespace
}  // namespace tallyhawk

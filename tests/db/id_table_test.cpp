#include "db/id_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace tallyhawk {
namespace {

// A record that remembers its position in the load order.
using Item = size_t;

IdTable<Item> TableOf(const std::vector<uint32_t>& ids) {
  IdTable<Item> table;
  table.MakeReady();
  for (size_t i = 0; i < ids.size(); ++i) table.Store(i, ids[i]);
  table.Finish();
  return table;
}

// Few small IDs take the direct index, sparse ones the sorted search.
TEST(IdTableTest, AscendingWalkLaterDuplicateWinsAndSlotCount) {
  const struct {
    std::vector<uint32_t> stored;
    std::vector<size_t> kept;  // load positions of the records walked
    std::vector<uint32_t> absent;
    uint64_t slot_count;
  } kCases[] = {
      {{}, {}, {0}, 0},
      {{99, 3, 1, 3, 2, 3}, {2, 4, 5, 0}, {0, 4, 100, 150}, 100},
      {{5000, 7, 5000, 7, 9}, {3, 4, 2}, {8, 5001}, 5100},
      {{4294967295u, 0}, {1, 0}, {1, 4294967294u}, 4294967300u},
  };
  for (const auto& c : kCases) {
    const IdTable<Item> table = TableOf(c.stored);
    EXPECT_EQ(table.records(), c.kept);
    EXPECT_EQ(table.SlotCount(), c.slot_count);
    for (size_t i = 0; i < c.kept.size(); ++i) {
      EXPECT_EQ(table.ids()[i], c.stored[c.kept[i]]);
      EXPECT_EQ(table.Lookup(table.ids()[i]), &table.records()[i]);
    }
    for (uint32_t id : c.absent) EXPECT_EQ(table.Lookup(id), nullptr) << id;
  }
}

// A million different huge IDs in scattered order must neither cost memory
// in proportion to the largest ID nor load slowly.
TEST(IdTableTest, MillionScatteredHugeIdsStayFastAndFindable) {
  std::vector<uint32_t> stored;
  for (uint32_t i = 1; i <= 1000000; ++i) stored.push_back(i * 2654435761u);
  const IdTable<Item> table = TableOf(stored);
  for (size_t i = 0; i < stored.size(); i += 997) {
    EXPECT_EQ(*table.Lookup(stored[i]), i);
  }
  EXPECT_EQ(table.Lookup(12), nullptr);
}

}  // namespace
}  // namespace tallyhawk

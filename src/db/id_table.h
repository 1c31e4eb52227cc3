// A table of records keyed by a 32-bit ID. Its visible shape is a slot array
// indexed by ID: SlotCount is the smallest multiple of 100 above the largest
// ID stored, and walks visit the records in ascending ID order. Memory is in
// proportion to the number of records, whatever the IDs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tallyhawk {

template <typename Record>
class IdTable {
 public:
  void MakeReady() { ready_ = true; }
  bool Ready() const { return ready_; }

  // Stores `record` under `id`; a table that is not ready stores nothing. A
  // later record with the same ID replaces the earlier one. Lookups and walks
  // see stored records only after Finish().
  void Store(const Record& record, uint32_t id);

  // Orders the records by ascending ID (the last one stored wins for each ID)
  // and builds the lookup index. Call after loading; calling it again after
  // more Stores takes those in too.
  void Finish();

  // 0 when nothing is stored; else the smallest multiple of 100 above the
  // largest ID (64-bit, since that can exceed 2^32 - 1).
  uint64_t SlotCount() const;

  // The record stored under `id`, or null.
  const Record* Lookup(uint32_t id) const;
  Record* Lookup(uint32_t id);

  // Number of distinct IDs stored (after Finish()).
  size_t size() const { return finished_size_; }
  // Ascending IDs and their records, index by index (after Finish()).
  const std::vector<uint32_t>& ids() const { return ids_; }
  std::vector<Record>& records() { return records_; }
  const std::vector<Record>& records() const { return records_; }

 private:
  // Keeps, for each ID, the last record stored, in ascending ID order.
  void OrderByIdKeepingLast(uint32_t max_id);
  void BuildDenseIndex(uint32_t max_id);

  bool ready_ = false;
  // Before Finish(): records and IDs in load order. After: ascending by ID.
  std::vector<Record> records_;
  std::vector<uint32_t> ids_;
  // Direct index from ID to position when the IDs are dense; else empty and
  // Lookup searches `ids_`.
  std::vector<uint32_t> dense_index_;
  // The entries that Finish() put in order; lookups see only these.
  size_t finished_size_ = 0;
  uint64_t slot_count_ = 0;
};

}  // namespace tallyhawk

#include "db/id_table_impl.h"

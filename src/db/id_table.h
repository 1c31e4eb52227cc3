// A table of records keyed by a 32-bit ID. Its visible shape is a slot array
// indexed by ID: SlotCount is the smallest multiple of 100 above the largest
// ID stored, and walks visit the records in ascending ID order. Memory is in
// proportion to the number of records, whatever the IDs, and a lookup costs
// about the same for dense and for scattered IDs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "db/prefault_window.h"

namespace tallyhawk {

template <typename Record>
class IdTable {
 public:
  void MakeReady() { ready_ = true; }
  bool Ready() const { return ready_; }

  // Makes room for `count` more records, so that loading them moves none.
  void Reserve(size_t count) {
    records_.reserve(records_.size() + count);
    ids_.reserve(ids_.size() + count);
  }
  // Records stored so far, finished or not.
  size_t StoredRecords() const { return records_.size(); }
  // The room Reserve made for the records: they fill it in order from its
  // start, so its memory can be readied ahead of them.
  MemoryRoom Room() const {
    return {records_.data(), records_.capacity() * sizeof(Record)};
  }

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

  static constexpr uint32_t kNotFound = UINT32_MAX;
  // The position in ids() and records() of the record stored under `id`, or
  // kNotFound.
  uint32_t Find(uint32_t id) const;
  // Starts bringing what Find(id) reads into the cache: a walk that finds
  // many random IDs calls it some IDs ahead, so that their misses overlap.
  void Prefetch(uint32_t id) const;
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
  void BuildIndex();

  bool ready_ = false;
  // Before Finish(): records and IDs in load order. After: ascending by ID.
  std::vector<Record> records_;
  std::vector<uint32_t> ids_;
  // The lookup index: bucket b holds the IDs from first_id_ + (b << shift_)
  // on, at the positions bucket_start_[b] to bucket_start_[b + 1]. The shift
  // is the smallest that keeps the buckets within about twice the records,
  // so dense IDs get a direct index (a bucket per ID) and scattered ones a
  // few IDs per bucket, however large they are.
  std::vector<uint32_t> bucket_start_;
  uint32_t first_id_ = 0;
  int shift_ = 0;
  // The entries that Finish() put in order; lookups see only these.
  size_t finished_size_ = 0;
  uint64_t slot_count_ = 0;
};

}  // namespace tallyhawk

#include "db/id_table_impl.h"

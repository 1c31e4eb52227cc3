// Template definitions of IdTable; included by id_table.h only.
#pragma once

#include <algorithm>
#include <numeric>

namespace tallyhawk {
namespace id_table_detail {

constexpr uint32_t kNoPosition = UINT32_MAX;

// A direct index costs four bytes per ID up to the largest; it is used only
// while that stays within a few times the record count, so a handful of huge
// IDs never costs memory in proportion to the largest ID.
inline bool IsDense(uint32_t max_id, size_t count) {
  return static_cast<uint64_t>(max_id) <
         4 * static_cast<uint64_t>(count) + 1024;
}

inline bool StrictlyAscending(const std::vector<uint32_t>& ids) {
  return std::adjacent_find(ids.begin(), ids.end(), [](uint32_t a, uint32_t b) {
           return a >= b;
         }) == ids.end();
}

}  // namespace id_table_detail

template <typename Record>
void IdTable<Record>::Store(const Record& record, uint32_t id) {
  if (!ready_) return;
  records_.push_back(record);
  ids_.push_back(id);
}

template <typename Record>
void IdTable<Record>::Finish() {
  if (ids_.empty()) return;
  const uint32_t max_id = *std::max_element(ids_.begin(), ids_.end());
  slot_count_ = (static_cast<uint64_t>(max_id) / 100 + 1) * 100;
  // Real files are usually written in ascending ID order: nothing to move.
  if (!id_table_detail::StrictlyAscending(ids_)) OrderByIdKeepingLast(max_id);
  finished_size_ = ids_.size();
  BuildIndex();
}

template <typename Record>
void IdTable<Record>::OrderByIdKeepingLast(uint32_t max_id) {
  using id_table_detail::kNoPosition;
  const size_t count = ids_.size();
  // Positions of the records that stay, in ascending ID order.
  std::vector<uint32_t> order;
  order.reserve(count);
  if (id_table_detail::IsDense(max_id, count)) {
    std::vector<uint32_t> last(static_cast<size_t>(max_id) + 1, kNoPosition);
    for (size_t i = 0; i < count; ++i) last[ids_[i]] = static_cast<uint32_t>(i);
    for (uint32_t position : last) {
      if (position != kNoPosition) order.push_back(position);
    }
  } else {
    std::vector<uint32_t> all(count);
    std::iota(all.begin(), all.end(), 0u);
    // Stable, so that records with one ID stay in load order and the last
    // one loaded is the one kept.
    std::stable_sort(all.begin(), all.end(),
                     [&](uint32_t a, uint32_t b) { return ids_[a] < ids_[b]; });
    for (size_t i = 0; i < count; ++i) {
      if (i + 1 < count && ids_[all[i]] == ids_[all[i + 1]]) continue;
      order.push_back(all[i]);
    }
  }

  std::vector<Record> records;
  std::vector<uint32_t> ids;
  records.reserve(order.size());
  ids.reserve(order.size());
  for (uint32_t position : order) {
    records.push_back(std::move(records_[position]));
    ids.push_back(ids_[position]);
  }
  records_ = std::move(records);
  ids_ = std::move(ids);
}

template <typename Record>
void IdTable<Record>::BuildIndex() {
  const size_t count = ids_.size();
  first_id_ = ids_.front();
  const uint64_t span = uint64_t{ids_.back()} - first_id_;
  shift_ = 0;
  while ((span >> shift_) > 2 * static_cast<uint64_t>(count)) ++shift_;
  const size_t buckets = static_cast<size_t>(span >> shift_) + 1;
  bucket_start_.assign(buckets + 1, 0);
  size_t position = 0;
  for (size_t bucket = 0; bucket <= buckets; ++bucket) {
    while (position < count &&
           ((ids_[position] - first_id_) >> shift_) < bucket) {
      ++position;
    }
    bucket_start_[bucket] = static_cast<uint32_t>(position);
  }
}

template <typename Record>
uint64_t IdTable<Record>::SlotCount() const {
  return slot_count_;
}

template <typename Record>
inline uint32_t IdTable<Record>::Find(uint32_t id) const {
  // Before Finish() there are no buckets.
  const uint64_t bucket = uint64_t{id - first_id_} >> shift_;
  if (id < first_id_ || bucket + 1 >= bucket_start_.size()) return kNotFound;
  uint32_t position = bucket_start_[bucket];
  const uint32_t end = bucket_start_[bucket + 1];
  // A direct index: the bucket holds this ID alone, or nothing.
  if (shift_ == 0) return position < end ? position : kNotFound;
  // A bucket holds about two IDs, unless the IDs cluster: search those.
  if (end - position > 8) {
    position = static_cast<uint32_t>(
        std::lower_bound(ids_.begin() + position, ids_.begin() + end, id) -
        ids_.begin());
  }
  for (; position < end; ++position) {
    if (ids_[position] >= id) {
      return ids_[position] == id ? position : kNotFound;
    }
  }
  return kNotFound;
}

template <typename Record>
inline void IdTable<Record>::Prefetch(uint32_t id) const {
  const uint64_t bucket = uint64_t{id - first_id_} >> shift_;
  if (bucket + 1 < bucket_start_.size()) {
    __builtin_prefetch(&bucket_start_[bucket]);
  }
}

template <typename Record>
const Record* IdTable<Record>::Lookup(uint32_t id) const {
  const uint32_t position = Find(id);
  return position == kNotFound ? nullptr : &records_[position];
}

template <typename Record>
Record* IdTable<Record>::Lookup(uint32_t id) {
  return const_cast<Record*>(static_cast<const IdTable&>(*this).Lookup(id));
}

}  // namespace tallyhawk

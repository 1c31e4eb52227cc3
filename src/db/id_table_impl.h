// Template definitions of IdTable; included by id_table.h only.
#pragma once

#include <algorithm>
#include <numeric>

namespace tallyhawk {

template <typename Record>
void IdTable<Record>::Store(const Record& record, uint32_t id) {
  if (!ready_) return;
  records_.push_back(record);
  ids_.push_back(id);
}

template <typename Record>
void IdTable<Record>::Finish() {
  const size_t count = ids_.size();
  if (count == 0) return;
  uint32_t max_id = *std::max_element(ids_.begin(), ids_.end());
  slot_count_ = (static_cast<uint64_t>(max_id) / 100 + 1) * 100;

  // Positions of the records that stay, in ascending ID order; for a
  // duplicate ID only the last one loaded stays.
  std::vector<uint32_t> order;
  order.reserve(count);
  constexpr uint32_t kNone = UINT32_MAX;
  // Dense IDs (the usual 0..N) get a direct index; sparse ones a sort, so a
  // few huge IDs never cost memory in proportion to the largest ID.
  const bool dense = static_cast<uint64_t>(max_id) < 4 * static_cast<uint64_t>(count) + 1024;
  if (dense) {
    std::vector<uint32_t> last(static_cast<size_t>(max_id) + 1, kNone);
    for (size_t i = 0; i < count; ++i) last[ids_[i]] = static_cast<uint32_t>(i);
    for (uint32_t position : last) {
      if (position != kNone) order.push_back(position);
    }
  } else {
    std::vector<uint32_t> all(count);
    std::iota(all.begin(), all.end(), 0u);
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

  dense_index_.clear();
  if (dense) {
    dense_index_.assign(static_cast<size_t>(max_id) + 1, kNone);
    for (size_t i = 0; i < ids_.size(); ++i) dense_index_[ids_[i]] = static_cast<uint32_t>(i);
  }
}

template <typename Record>
uint64_t IdTable<Record>::SlotCount() const {
  return slot_count_;
}

template <typename Record>
const Record* IdTable<Record>::Lookup(uint32_t id) const {
  if (!ready_ || ids_.empty()) return nullptr;
  if (!dense_index_.empty()) {
    if (id >= dense_index_.size()) return nullptr;
    uint32_t position = dense_index_[id];
    return position == UINT32_MAX ? nullptr : &records_[position];
  }
  auto it = std::lower_bound(ids_.begin(), ids_.end(), id);
  if (it == ids_.end() || *it != id) return nullptr;
  return &records_[static_cast<size_t>(it - ids_.begin())];
}

template <typename Record>
Record* IdTable<Record>::Lookup(uint32_t id) {
  return const_cast<Record*>(static_cast<const IdTable&>(*this).Lookup(id));
}

}  // namespace tallyhawk

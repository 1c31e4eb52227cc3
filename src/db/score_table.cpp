#include "db/score_table.h"

#include <algorithm>
#include <new>
#include <numeric>

namespace tallyhawk {

namespace {

void AddToTotals(ScoreTotals& totals, const ScoreRecord& record) {
  totals.wins += record.Wins;
  totals.kill_points += record.KillPoints;
  totals.flag_points += record.FlagPoints;
}

}  // namespace

void RowStore::Reserve(size_t rows) {
  Clear();
  room_.reset();
  room_rows_ = 0;
  // A group's first kBlockRows rows are its own (ScoreRows::first_): the
  // blocks of a group hold fewer rows than it has, so the blocks of all
  // groups fit in the whole blocks of the rows. A table of fewer rows
  // than a block takes no block at all.
  const size_t room_rows = rows / kBlockRows * kBlockRows;
  if (room_rows == 0) return;
  try {
    room_ = std::make_unique_for_overwrite<ScoreRow[]>(room_rows);
    room_rows_ = room_rows;
  } catch (const std::bad_alloc&) {
    // Only reserved, not yet used: without the room, each block is
    // allocated as it is needed.
  }
}

ScoreRow* RowStore::NewBlock() {
  if (room_rows_ - used_rows_ >= kBlockRows) {
    ScoreRow* block = room_.get() + used_rows_;
    used_rows_ += kBlockRows;
    return block;
  }
  more_.push_back(std::make_unique_for_overwrite<ScoreRow[]>(kBlockRows));
  return more_.back().get();
}

void RowStore::Clear() {
  used_rows_ = 0;
  more_.clear();
}

void FindScoreUsers(std::span<const unsigned char> bytes,
                    const UserTableType& users, std::vector<uint32_t>& found) {
  const size_t count = bytes.size() / kScoreRecordSize;
  found.resize(count);
  // Users are looked up in random order: each is fetched some rows ahead,
  // so that the cache misses overlap.
  constexpr size_t kAhead = 16;
  constexpr size_t kUserIdAt = 8;
  for (size_t k = 0; k < count; ++k) {
    if (k + kAhead < count) {
      users.Prefetch(DecodeU32(bytes.data() + (k + kAhead) * kScoreRecordSize +
                               kUserIdAt));
    }
    found[k] =
        users.Find(DecodeU32(bytes.data() + k * kScoreRecordSize + kUserIdAt));
  }
}

void ScoreRowTable::StoreRecords(std::span<const unsigned char> bytes,
                                 const UserTableType& users,
                                 std::span<const uint32_t> found_users) {
  size_t k = 0;
  while (k < found_users.size()) {
    if (ready_ && !in_load_order_) k = PlaceAscending(bytes, found_users, k);
    if (k == found_users.size()) break;
    // A row out of order, or a table that takes none.
    Store(DecodeScoreRecord(bytes.data() + k * kScoreRecordSize),
          found_users[k], users);
    ++k;
  }
}

size_t ScoreRowTable::PlaceAscending(std::span<const unsigned char> bytes,
                                     std::span<const uint32_t> found_users,
                                     size_t k) {
  // The sums and the last slot are kept in locals meanwhile: as members,
  // each row would wait for the store of the row before.
  ScoreTotals totals = totals_;
  uint64_t placed = placed_;
  uint32_t last_slot = last_slot_;
  for (; k < found_users.size(); ++k) {
    const ScoreRecord record =
        DecodeScoreRecord(bytes.data() + k * kScoreRecordSize);
    if (placed > 0 && record.EntryID <= last_slot) break;
    AddToTotals(totals, record);
    last_slot = record.EntryID;
    ++placed;
    Group(record, found_users[k]);
  }
  totals_ = totals;
  placed_ = placed;
  last_slot_ = last_slot;
  return k;
}

void ScoreRowTable::Store(const ScoreRecord& record,
                          const UserTableType& users) {
  Store(record, users.Find(record.UserID), users);
}

void ScoreRowTable::Store(const ScoreRecord& record, uint32_t user,
                          const UserTableType& users) {
  if (!ready_) return;
  if (!in_load_order_ && (placed_ == 0 || record.EntryID > last_slot_)) {
    Place(record, user);
    return;
  }
  if (!in_load_order_) KeepLoadOrder(users);
  loaded_.push_back(record);
}

void ScoreRowTable::Finish(const UserTableType& users) {
  if (in_load_order_) {
    const std::vector<ScoreRecord> records = std::move(loaded_);
    loaded_ = {};
    in_load_order_ = false;
    Clear();
    // By EntryID, and by load order among equal ones, so that the last one
    // loaded of each EntryID is the one kept.
    std::vector<uint32_t> order(records.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
      if (records[a].EntryID != records[b].EntryID) {
        return records[a].EntryID < records[b].EntryID;
      }
      return a < b;
    });
    for (size_t i = 0; i < order.size(); ++i) {
      if (i + 1 < order.size() &&
          records[order[i]].EntryID == records[order[i + 1]].EntryID) {
        continue;
      }
      Place(records[order[i]], users.Find(records[order[i]].UserID));
    }
  }
  // The groups by ascending score ID.
  std::vector<uint32_t> order(groups_.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return score_ids_[a] < score_ids_[b];
  });
  std::vector<uint32_t> score_ids;
  std::vector<ScoreRows> groups;
  score_ids.reserve(order.size());
  groups.reserve(order.size());
  for (uint32_t group : order) {
    score_ids.push_back(score_ids_[group]);
    groups.push_back(std::move(groups_[group]));
  }
  score_ids_ = std::move(score_ids);
  groups_ = std::move(groups);
  Reindex(index_keys_.size());
  // Only a row out of order would need them again, and none comes now.
  without_user_ = {};
}

uint64_t ScoreRowTable::SlotCount() const {
  if (placed_ == 0) return 0;
  return (static_cast<uint64_t>(last_slot_) / 100 + 1) * 100;
}

const ScoreRows& ScoreRowTable::RowsOf(uint32_t score_id) const {
  static const ScoreRows kNoRows;
  const auto it =
      std::lower_bound(score_ids_.begin(), score_ids_.end(), score_id);
  if (it == score_ids_.end() || *it != score_id) return kNoRows;
  return groups_[static_cast<size_t>(it - score_ids_.begin())];
}

void ScoreRowTable::Place(const ScoreRecord& record, uint32_t user) {
  AddToTotals(totals_, record);
  last_slot_ = record.EntryID;
  ++placed_;
  Group(record, user);
}

inline void ScoreRowTable::Group(const ScoreRecord& record, uint32_t user) {
  if (user == UserTableType::kNotFound) {
    without_user_.push_back(record);
    return;
  }
  groups_[GroupOf(record.ScoreID)].push_back(
      ScoreRow{record.EntryID, user, record.Wins, record.Losses,
               record.KillPoints, record.FlagPoints},
      store_);
}

inline uint32_t ScoreRowTable::GroupOf(uint32_t score_id) {
  // Rows of one score ID often come together.
  if (last_group_ != kNoGroup && score_id == last_score_id_) {
    return last_group_;
  }
  uint32_t group = kNoGroup;
  if (!index_keys_.empty()) group = index_groups_[IndexPlace(score_id)];
  if (group == kNoGroup) group = AddGroup(score_id);
  last_score_id_ = score_id;
  last_group_ = group;
  return group;
}

uint32_t ScoreRowTable::AddGroup(uint32_t score_id) {
  if (2 * (groups_.size() + 1) > index_keys_.size()) {
    Reindex(std::max<size_t>(16, 2 * index_keys_.size()));
  }
  const size_t place = IndexPlace(score_id);
  index_keys_[place] = score_id;
  index_groups_[place] = static_cast<uint32_t>(groups_.size());
  score_ids_.push_back(score_id);
  groups_.emplace_back();
  return index_groups_[place];
}

inline size_t ScoreRowTable::IndexPlace(uint32_t score_id) const {
  const size_t mask = index_keys_.size() - 1;
  size_t place =
      static_cast<size_t>((score_id * 0x9E3779B97F4A7C15ull) >> 32) & mask;
  while (index_groups_[place] != kNoGroup && index_keys_[place] != score_id) {
    place = (place + 1) & mask;
  }
  return place;
}

void ScoreRowTable::Reindex(size_t capacity) {
  last_group_ = kNoGroup;
  index_keys_.assign(capacity, 0);
  index_groups_.assign(capacity, kNoGroup);
  if (capacity == 0) return;
  for (size_t group = 0; group < score_ids_.size(); ++group) {
    const size_t place = IndexPlace(score_ids_[group]);
    index_keys_[place] = score_ids_[group];
    index_groups_[place] = static_cast<uint32_t>(group);
  }
}

void ScoreRowTable::KeepLoadOrder(const UserTableType& users) {
  loaded_ = std::move(without_user_);
  for (size_t group = 0; group < groups_.size(); ++group) {
    const ScoreRows& rows = groups_[group];
    for (size_t k = 0; k < rows.size(); ++k) {
      const ScoreRow& row = rows[k];
      loaded_.push_back(ScoreRecord{row.slot, score_ids_[group],
                                    users.ids()[row.user], row.Wins, row.Losses,
                                    row.KillPoints, row.FlagPoints});
    }
  }
  // Every row placed came in ascending EntryID order.
  std::sort(loaded_.begin(), loaded_.end(),
            [](const ScoreRecord& a, const ScoreRecord& b) {
              return a.EntryID < b.EntryID;
            });
  Clear();
  in_load_order_ = true;
}

void ScoreRowTable::Clear() {
  without_user_ = {};
  placed_ = 0;
  last_slot_ = 0;
  totals_ = ScoreTotals();
  score_ids_.clear();
  groups_.clear();
  store_.Clear();
  Reindex(0);
}

}  // namespace tallyhawk

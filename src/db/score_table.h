// score.dat as the lists and the usage figures need it: the rows of loaded
// users grouped by score ID in compact form, and the sums over every row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "db/id_table.h"
#include "db/prefault_window.h"
#include "db/records.h"

namespace tallyhawk {

using UserTableType = IdTable<UserRecord>;

// A score row of a loaded user, with the user resolved to its position in
// the user table.
struct ScoreRow {
  uint32_t slot;  // the row's EntryID: its slot in the score table
  uint32_t user;  // the position of its user in the user table
  uint16_t Wins;
  uint16_t Losses;
  uint32_t KillPoints;
  uint32_t FlagPoints;
};

// Full blocks of rows for the groups of a table, taken one after another
// from one allocation sized for the whole file where it can be: so the
// memory that rows will go to next is known, and another thread can have
// it made ready while the rows before are stored.
class RowStore {
 public:
  static constexpr size_t kBlockRows = 4096;

  // Makes room for about `rows` rows; forgets every block handed out.
  void Reserve(size_t rows);
  // A block of kBlockRows rows, not initialized, valid until Clear().
  ScoreRow* NewBlock();
  // Forgets every block handed out.
  void Clear();
  // Rows of the room in the blocks handed out: the room is used in order.
  size_t used_rows() const { return used_rows_; }
  // The room Reserve made, for its memory to be readied ahead of the rows.
  MemoryRoom room() const {
    return {room_.get(), room_rows_ * sizeof(ScoreRow)};
  }

 private:
  std::unique_ptr<ScoreRow[]> room_;
  size_t room_rows_ = 0;
  size_t used_rows_ = 0;
  // The blocks needed once the room is used up.
  std::vector<std::unique_ptr<ScoreRow[]>> more_;
};

// The rows of one score ID, in ascending slot order. They are kept in
// blocks of a fixed size, so that they never move while the group grows:
// loading writes each row once. The first block grows as a small group
// needs; the others come full-size from the table's RowStore.
class ScoreRows {
 public:
  ScoreRows() = default;
  // A copy's first block would still be the original's: rows move only.
  ScoreRows(const ScoreRows&) = delete;
  ScoreRows& operator=(const ScoreRows&) = delete;
  ScoreRows(ScoreRows&&) noexcept = default;
  ScoreRows& operator=(ScoreRows&&) noexcept = default;

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const ScoreRow& operator[](size_t k) const {
    return blocks_[k / kBlockRows][k % kBlockRows];
  }
  void push_back(const ScoreRow& row, RowStore& store) {
    if (size_ < kBlockRows) {
      first_.push_back(row);
      if (blocks_.empty()) blocks_.push_back(nullptr);
      blocks_[0] = first_.data();  // the first block may have moved
    } else {
      if (size_ % kBlockRows == 0) blocks_.push_back(store.NewBlock());
      const size_t k = size_ % kBlockRows;
      blocks_.back()[k] = row;
      // Groups fill far apart from one another, too many for the hardware
      // to see each as a stream: the memory of the rows to come is fetched
      // while this one is stored.
      constexpr size_t kAhead = 8;
      if (k + kAhead < kBlockRows)
        __builtin_prefetch(&blocks_.back()[k + kAhead], 1);
    }
    ++size_;
  }

 private:
  static constexpr size_t kBlockRows = RowStore::kBlockRows;

  std::vector<ScoreRow> first_;
  // Where each block's rows are: first_ and then blocks of the store.
  std::vector<ScoreRow*> blocks_;
  size_t size_ = 0;
};

// Sums over every row of the table, of every score ID and whether or not
// its user is loaded, taken in ascending slot order.
struct ScoreTotals {
  uint64_t wins = 0;  // exact
  double kill_points = 0;
  double flag_points = 0;
};

// Rows are stored under their EntryID, as in an IdTable: SlotCount is the
// smallest multiple of 100 above the largest EntryID, and a later row with
// the same EntryID replaces the earlier one. Rows that come in ascending
// EntryID order, as servers write them, go straight to their group; the
// first row out of that order makes the table keep every row as loaded and
// sort them out when it is finished.
class ScoreRowTable {
 public:
  void MakeReady() { ready_ = true; }
  bool Ready() const { return ready_; }

  // Makes room for about `count` rows, so that their memory is known ahead.
  void Reserve(size_t count) { store_.Reserve(count); }
  // The store's rows in use so far, and the room they are taken from in
  // order: see RowStore.
  size_t StoredRows() const { return store_.used_rows(); }
  MemoryRoom Room() const { return store_.room(); }

  // Stores `record`, resolving its user in `users` (finished before); a
  // table that is not ready stores nothing.
  void Store(const ScoreRecord& record, const UserTableType& users);
  // Stores the score.dat records of `bytes`, one after another, whose users
  // FindScoreUsers found.
  void StoreRecords(std::span<const unsigned char> bytes,
                    const UserTableType& users,
                    std::span<const uint32_t> found_users);
  // Puts the stored rows in order; the groups, the sums and SlotCount show
  // the rows stored before it. The table takes no rows after it.
  void Finish(const UserTableType& users);

  // 0 when nothing is stored (64-bit: it can exceed 2^32 - 1).
  uint64_t SlotCount() const;
  const ScoreTotals& totals() const { return totals_; }
  // The score IDs that have a row of a loaded user, ascending.
  const std::vector<uint32_t>& score_ids() const { return score_ids_; }
  // The rows of `score_id`; empty when it has none.
  const ScoreRows& RowsOf(uint32_t score_id) const;
  // The rows of every score ID, in the order of score_ids().
  const std::vector<ScoreRows>& groups() const { return groups_; }

 private:
  // Takes a row in ascending EntryID order, with the position of its user
  // in the user table (kNotFound when it is not loaded).
  void Place(const ScoreRecord& record, uint32_t user);
  // Places the records of `bytes` from the k-th on while their EntryIDs
  // ascend past the last row placed; returns where it stopped.
  size_t PlaceAscending(std::span<const unsigned char> bytes,
                        std::span<const uint32_t> found_users, size_t k);
  // Puts a row placed into its group, or aside when its user is not loaded.
  void Group(const ScoreRecord& record, uint32_t user);
  // Stores `record`, as Store does, with its user found.
  void Store(const ScoreRecord& record, uint32_t user,
             const UserTableType& users);
  // The group of `score_id`, made when it is new.
  uint32_t GroupOf(uint32_t score_id);
  uint32_t AddGroup(uint32_t score_id);
  // Turns the rows placed so far back into records in load order (their
  // ascending EntryID order), for the table to keep every later row too.
  void KeepLoadOrder(const UserTableType& users);
  void Clear();
  // Where `score_id` is in the index, or the free place it would take.
  size_t IndexPlace(uint32_t score_id) const;
  // Rebuilds the index over `capacity` places (a power of two, or 0).
  void Reindex(size_t capacity);

  bool ready_ = false;
  bool in_load_order_ = false;
  RowStore store_;
  // Every stored record in load order, once a row came out of order.
  std::vector<ScoreRecord> loaded_;
  // The rows placed whose user is not loaded: kept for KeepLoadOrder only.
  std::vector<ScoreRecord> without_user_;
  uint64_t placed_ = 0;
  uint32_t last_slot_ = 0;
  ScoreTotals totals_;
  // The groups and their score IDs: in the order they were met while
  // loading, by ascending score ID once finished.
  std::vector<uint32_t> score_ids_;
  std::vector<ScoreRows> groups_;
  // Group by score ID while loading: open addressing over a power-of-two
  // table kept at most half full; kNoGroup marks a free place.
  static constexpr uint32_t kNoGroup = UINT32_MAX;
  std::vector<uint32_t> index_keys_;
  std::vector<uint32_t> index_groups_;
  uint32_t last_score_id_ = 0;
  uint32_t last_group_ = kNoGroup;
};

// The position in `users` of the user of each score.dat record of `bytes`,
// or UserTableType::kNotFound: what StoreRecords needs. Reads the finished
// user table only, so it can run on another thread.
void FindScoreUsers(std::span<const unsigned char> bytes,
                    const UserTableType& users, std::vector<uint32_t>& found);

}  // namespace tallyhawk

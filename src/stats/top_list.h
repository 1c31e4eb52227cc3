// The one ranked, bounded list that every statistic fills and every report
// writer reads: best entry first, ties in insertion order, at most TopX long.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tallyhawk {

struct TopEntry {
  std::string Name;       // pilot or squad name, at most 31 bytes
  std::string SquadName;  // the pilot's squad; empty in squad lists
  std::string ValueText;  // the statistic as printed, at most 31 bytes
  double Value = 0;       // the ranking key; never printed
};

class TopList {
 public:
  // Inserts by descending Value after every entry of equal Value, then trims
  // the list to `top_x` entries.
  void InsertRanked(TopEntry entry, uint32_t top_x);
  void ClearTopList() { entries_.clear(); }

  uint32_t Count() const { return static_cast<uint32_t>(entries_.size()); }
  // Rank order: entries()[0] is rank 1.
  const std::vector<TopEntry>& entries() const { return entries_; }
  // Replaces the whole list with entries already in rank order.
  void Assign(std::vector<TopEntry> ranked) { entries_ = std::move(ranked); }

 private:
  std::vector<TopEntry> entries_;
};

}  // namespace tallyhawk

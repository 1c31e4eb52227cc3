// A ranked, bounded list as every statistic makes it and every report writer
// reads it: best entry first, ties in the order the walk met them, at most
// TopX long.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tallyhawk {

struct TopEntry {
  std::string Name;       // pilot or squad name, at most 31 bytes
  std::string SquadName;  // the pilot's squad; empty in squad lists
  std::string ValueText;  // the statistic as printed, at most 31 bytes
  double Value = 0;       // the ranking key; never printed
  // Who the entry is: the pilot's UserID, or the squad's SquadID. Never
  // printed in the lists; the site's pages are named by it.
  uint32_t Id = 0;
};

class TopList {
 public:
  TopList() = default;
  // `ranked` is in rank order already.
  explicit TopList(std::vector<TopEntry> ranked)
      : entries_(std::move(ranked)) {}

  uint32_t Count() const { return static_cast<uint32_t>(entries_.size()); }
  // Rank order: entries()[0] is rank 1.
  const std::vector<TopEntry>& entries() const { return entries_; }

 private:
  std::vector<TopEntry> entries_;
};

}  // namespace tallyhawk

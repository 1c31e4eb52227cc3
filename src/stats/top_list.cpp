#include "stats/top_list.h"

#include <algorithm>

namespace tallyhawk {

void TopList::InsertRanked(TopEntry entry, uint32_t top_x) {
  // The walk stops only at a strictly smaller value, so an entry goes after
  // every entry of equal value and ties keep their insertion order.
  auto place = std::find_if(
      entries_.begin(), entries_.end(),
      [&](const TopEntry& listed) { return entry.Value > listed.Value; });
  if (place == entries_.end()) {
    if (entries_.size() < top_x) entries_.push_back(std::move(entry));
    return;
  }
  entries_.insert(place, std::move(entry));
  while (entries_.size() > top_x) entries_.pop_back();
}

}  // namespace tallyhawk

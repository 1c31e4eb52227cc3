// The walk every statistic filter shares: take the eligible records in slot
// order with their progress dots, and rank them.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stats/ranked_selection.h"
#include "stats/top_list.h"
#include "util/progress.h"
#include "util/text_format.h"

namespace tallyhawk {

// Cuts a value text to what a list entry holds.
inline std::string EntryText(std::string text) {
  constexpr size_t kMaxEntryText = 31;
  if (text.size() > kMaxEntryText) text.resize(kMaxEntryText);
  return text;
}

// FormatFixed's text. Most lists hold whole numbers, which are written
// directly: formatting them through printf would dominate a long list.
inline std::string FixedText(double value, int decimals) {
  constexpr double kTwoTo64 = 18446744073709551616.0;
  if (std::signbit(value) || !(value < kTwoTo64) ||
      value != std::trunc(value)) {
    return FormatFixed(value, decimals);
  }
  std::string text = FormatUnsigned(static_cast<uint64_t>(value));
  if (decimals > 0) text += "." + std::string(decimals, '0');
  return text;
}

// Walks `count` candidate records, given by index in ascending slot order,
// over a table of `slot_count` slots:
//   slot_of(k)            the table slot of record k;
//   value_of(k)           its Value, or nullopt when it is not eligible;
//   make_entry(k, value)  its TopEntry.
// Only eligible records show progress. The list holds the entries that
// inserting them one by one in walk order into a list of `top_x` would
// keep; entries (names and value texts) are made only for those.
template <typename SlotOf, typename ValueOf, typename MakeEntry>
TopList RankRecords(ProgressSink& progress, uint32_t top_x, size_t count,
                    uint64_t slot_count, SlotOf slot_of, ValueOf value_of,
                    MakeEntry make_entry) {
  ProgressMark mark(progress);
  SlotProgress walk(100, slot_count);
  RankedSelection selection(top_x, count);
  for (size_t k = 0; k < count; ++k) {
    const std::optional<double> value = value_of(k);
    if (!value) continue;
    if (walk.Advance(slot_of(k))) mark.Update(walk.value());
    selection.Offer(*value, k);
  }

  const std::vector<RankCandidate> ranked_candidates = selection.Take();
  std::vector<TopEntry> ranked;
  ranked.reserve(ranked_candidates.size());
  for (const RankCandidate& candidate : ranked_candidates) {
    ranked.push_back(make_entry(candidate.position, candidate.value));
  }
  return TopList(std::move(ranked));
}

}  // namespace tallyhawk

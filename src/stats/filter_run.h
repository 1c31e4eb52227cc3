// What every statistic filter shares: the progress dots of its walk over
// the records in slot order, and the entries' value texts.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "stats/ranked_selection.h"
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

// The progress dots of a walk over records in ascending slot order, over a
// table of `slot_count` slots, reaching only the records a list takes:
// those that walking them alone would print. They depend on nothing but
// which records are taken, so lists that take the same ones share one.
class DotWalk {
 public:
  explicit DotWalk(uint64_t slot_count) : progress_(100, slot_count) {}
  DotWalk(const DotWalk&) = delete;
  DotWalk& operator=(const DotWalk&) = delete;

  void Reach(uint64_t slot) {
    if (progress_.Advance(slot)) mark_.Update(progress_.value());
  }
  // Reach(slot) if `taken`, without branching on it: where a list takes
  // rows at random, that branch would be mispredicted on many rows. A row
  // not taken reaches slot 0 instead, which never changes what the walk
  // prints: after any slot it is below the next mark, and as the first its
  // share is 0, which prints no dot.
  void ReachWhen(bool taken, uint32_t slot) {
    Reach(slot & (0u - static_cast<uint32_t>(taken)));
  }
  int dots() const { return tally_.dots(); }

 private:
  SlotProgress progress_;
  DotTally tally_;
  ProgressMark mark_{tally_};
};

}  // namespace tallyhawk

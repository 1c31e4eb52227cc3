// The progress dots of the statistics' table walks.
#pragma once

#include <cstdint>

namespace tallyhawk {

struct RunContext;

// The share of a walk done at slot `index` of `count`, in units of 1/scale,
// truncated. 64-bit, so no slot index of a 32-bit ID overflows it.
inline uint64_t ProgressOf(uint64_t scale, uint64_t index, uint64_t count) {
  return scale * index / count;
}

// Prints a dot whenever a walk reaches a new multiple of ten. The mark
// starts at 0, so 0 itself never prints one.
class ProgressMark {
 public:
  explicit ProgressMark(RunContext& context) : context_(context) {}
  void Update(uint64_t progress);

 private:
  RunContext& context_;
  uint64_t mark_ = 0;
};

}  // namespace tallyhawk

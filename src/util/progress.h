// Progress dots: how a long walk over a table tells the user it is moving.
#pragma once

#include <cstdint>

namespace tallyhawk {

// Where a computation reports its progress. The console implements it; a
// computation needs nothing else of the console.
class ProgressSink {
 public:
  virtual void Dot() = 0;

 protected:
  ~ProgressSink() = default;
};

// The share of a walk done at slot `index` of `count`, in units of 1/scale,
// truncated. 64-bit, so no slot index of a 32-bit ID overflows it.
inline uint64_t ProgressOf(uint64_t scale, uint64_t index, uint64_t count) {
  return scale * index / count;
}

// Prints a dot whenever a walk reaches a new multiple of ten. The mark
// starts at 0, so 0 itself never prints one.
class ProgressMark {
 public:
  explicit ProgressMark(ProgressSink& sink) : sink_(sink) {}
  void Update(uint64_t progress);

 private:
  ProgressSink& sink_;
  uint64_t mark_ = 0;
};

}  // namespace tallyhawk

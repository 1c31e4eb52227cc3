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

// Counts dots instead of printing them: for a computation that runs before
// its output is due, whose dots are printed afterwards.
class DotTally : public ProgressSink {
 public:
  void Dot() override { ++dots_; }
  int dots() const { return dots_; }

 private:
  int dots_ = 0;
};

// The share of a walk done at slot `index` of `count`, in units of 1/scale,
// truncated. 64-bit, so no slot index of a 32-bit ID overflows it.
inline uint64_t ProgressOf(uint64_t scale, uint64_t index, uint64_t count) {
  return scale * index / count;
}

// The first slot of `count` whose ProgressOf(scale, slot, count) is at least
// `value`.
inline uint64_t FirstSlotOf(uint64_t scale, uint64_t value, uint64_t count) {
  return (value * count + scale - 1) / scale;
}

// ProgressOf(scale, slot, count) along a walk over ascending slots of a
// table of `count` slots. A walk takes a value at each slot it reaches, but
// the value changes at most `scale` times, so it is worked out only where it
// changes: a walk over millions of rows costs one comparison per row.
class SlotProgress {
 public:
  SlotProgress(uint64_t scale, uint64_t count) : scale_(scale), count_(count) {}

  // True when `slot` (not below any slot reached before) is the first one
  // reached with its value; value() is then that value.
  bool Advance(uint64_t slot) {
    if (slot < next_) return false;
    value_ = ProgressOf(scale_, slot, count_);
    next_ = FirstSlotOf(scale_, value_ + 1, count_);
    return true;
  }
  uint64_t value() const { return value_; }

 private:
  uint64_t scale_;
  uint64_t count_;
  uint64_t next_ = 0;
  uint64_t value_ = 0;
};

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

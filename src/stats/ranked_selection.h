// Ranking many candidates, with exactly the result of inserting them one by
// one, in walk order, into a list that keeps its best TopX: best value
// first, and among equal values the one inserted first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tallyhawk {

struct RankCandidate {
  double value;
  // Insertion order: the candidate inserted first has the lowest position.
  // Filters also use it to find the candidate's record again.
  size_t position;
};

// A list as a walk ranked it: the ranked candidates (their positions are
// the walk's record indices), and the progress dots the walk printed for it.
struct RankedRows {
  std::vector<RankCandidate> ranked;
  int dots = 0;
};

// Reorders `candidates` into rank order (value descending, lower position
// first among equal values) and keeps the first `top_x` of them. Positions
// must be distinct.
void SelectRanked(std::vector<RankCandidate>& candidates, uint32_t top_x);

// The best `top_x` of candidates offered one at a time in ascending
// position order, holding at most about twice `top_x` of them at any time:
// once `top_x` are known, a candidate that does not beat the worst of them
// (a later one ties below it) can never be listed and is dropped at once.
class RankedSelection {
 public:
  // `expected`: how many candidates may come, to size the store.
  RankedSelection(uint32_t top_x, size_t expected);

  // `value` must be finite.
  void Offer(double value, size_t position) {
    if (!(value > floor_)) return;
    candidates_.push_back(RankCandidate{value, position});
    if (candidates_.size() == capacity_) Prune();
  }

  // The selection in rank order; the object is then spent.
  std::vector<RankCandidate> Take();

 private:
  // Keeps the best `top_x_` and makes the worst of them the floor.
  void Prune();

  uint32_t top_x_;
  size_t capacity_;
  // What a candidate's value must exceed to be kept: below every value until
  // top_x are known, above every value with TopX 0.
  double floor_;
  std::vector<RankCandidate> candidates_;
};

}  // namespace tallyhawk

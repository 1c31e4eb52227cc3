#include "stats/ranked_selection.h"

#include <algorithm>
#include <limits>

namespace tallyhawk {

namespace {

// A strict total order, since positions are distinct: this makes the
// unstable selection below agree with a stable sort by value.
struct RanksBefore {
  bool operator()(const RankCandidate& a, const RankCandidate& b) const {
    if (a.value != b.value) return a.value > b.value;
    return a.position < b.position;
  }
};

}  // namespace

void SelectRanked(std::vector<RankCandidate>& candidates, uint32_t top_x) {
  if (candidates.size() > top_x) {
    auto last = candidates.begin() + top_x;
    std::nth_element(candidates.begin(), last, candidates.end(), RanksBefore());
    candidates.erase(last, candidates.end());
  }
  std::sort(candidates.begin(), candidates.end(), RanksBefore());
}

RankedSelection::RankedSelection(uint32_t top_x, size_t expected)
    : top_x_(top_x),
      // Pruning at twice top_x costs a linear selection per top_x
      // candidates kept: linear in all. A list that can hold everything
      // never prunes.
      capacity_(2 * static_cast<size_t>(top_x) + 1),
      floor_(top_x == 0 ? std::numeric_limits<double>::infinity()
                        : -std::numeric_limits<double>::infinity()) {
  if (top_x > 0) candidates_.reserve(std::min(expected, capacity_));
}

void RankedSelection::Prune() {
  // The worst of the best top_x after a linear selection.
  auto worst = candidates_.begin() + (top_x_ - 1);
  std::nth_element(candidates_.begin(), worst, candidates_.end(),
                   RanksBefore());
  floor_ = worst->value;
  candidates_.resize(top_x_);
}

std::vector<RankCandidate> RankedSelection::Take() {
  SelectRanked(candidates_, top_x_);
  return std::move(candidates_);
}

}  // namespace tallyhawk

#include "stats/ranked_selection.h"

#include <algorithm>

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

}  // namespace tallyhawk

// Ranking many candidates at once, with exactly the result of inserting them
// one by one through TopList::InsertRanked, in time independent of TopX.
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

// Reorders `candidates` into rank order (value descending, lower position
// first among equal values) and keeps the first `top_x` of them. Positions
// must be distinct.
void SelectRanked(std::vector<RankCandidate>& candidates, uint32_t top_x);

}  // namespace tallyhawk

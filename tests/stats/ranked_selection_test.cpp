#include "stats/ranked_selection.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tallyhawk {
namespace {

constexpr uint32_t kUnbounded = 4294967295u;

// The list as inserting one entry at a time builds it: an entry goes before
// the first one of strictly smaller value (so after its equals), and the
// list is then cut to `top_x`. Returns insertion positions in rank order.
std::vector<size_t> InsertOneByOne(const std::vector<double>& values,
                                   uint32_t top_x) {
  std::vector<size_t> list;
  for (size_t k = 0; k < values.size(); ++k) {
    auto place = list.begin();
    while (place != list.end() && !(values[k] > values[*place])) ++place;
    if (place == list.end() && list.size() >= top_x) continue;
    list.insert(place, k);
    if (list.size() > top_x) list.pop_back();
  }
  return list;
}

// Offers `values` in walk order to a selection of `top_x`; returns the
// positions it keeps, in rank order.
std::vector<size_t> Selected(const std::vector<double>& values,
                             uint32_t top_x) {
  RankedSelection selection(top_x, values.size());
  for (size_t k = 0; k < values.size(); ++k) selection.Offer(values[k], k);
  std::vector<size_t> positions;
  for (const RankCandidate& c : selection.Take())
    positions.push_back(c.position);
  return positions;
}

// The filters keep only what can still make the list as they walk, and rank
// that at the end; that must give exactly the list that inserting every
// candidate one by one gives, ties and bound included.
TEST(RankedSelectionTest, AgreesWithInsertionOnRandomTies) {
  std::mt19937 random(20261206);
  for (int round = 0; round < 400; ++round) {
    const size_t count = random() % 60;
    const uint32_t half = static_cast<uint32_t>(count / 2);
    const uint32_t bounds[] = {0, 1, 2, half, half * 2 + 1, kUnbounded};
    const uint32_t top_x = bounds[random() % 6];
    const unsigned distinct = 1 + random() % 6;
    std::vector<double> values;
    for (size_t k = 0; k < count; ++k)
      values.push_back(static_cast<double>(random() % distinct) / 2);
    ASSERT_EQ(Selected(values, top_x), InsertOneByOne(values, top_x))
        << "round " << round;
  }
}

}  // namespace
}  // namespace tallyhawk

#include "stats/top_list.h"

namespace tallyhawk {

// TODO(stats)
void TopList::InsertRanked(TopEntry, uint32_t) {}

}  // namespace tallyhawk

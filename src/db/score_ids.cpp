#include "db/score_ids.h"

#include <algorithm>

#include "run/run_context.h"

namespace tallyhawk {

void ScoreIdList::Insert(uint32_t score_id) {
  auto it = std::lower_bound(ids_.begin(), ids_.end(), score_id);
  if (it == ids_.end() || *it != score_id) ids_.insert(it, score_id);
}

// TODO(db): collection and the pass.
void CollectScoreIds(RunContext&) {}
void RunScoreIdPass(RunContext&) {}

}  // namespace tallyhawk

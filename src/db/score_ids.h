// The ascending list of score IDs and the pass that runs for each of them.
#pragma once

#include <cstdint>
#include <vector>

namespace tallyhawk {

struct RunContext;

class ScoreIdList {
 public:
  // Adds `score_id` in ascending place; nothing when it is listed already.
  void Insert(uint32_t score_id);
  // Replaces the list by `score_ids`, sorted, each ID once.
  void Assign(std::vector<uint32_t> score_ids);
  void ClearScoreIdList() { ids_.clear(); }
  uint32_t Count() const { return static_cast<uint32_t>(ids_.size()); }
  const std::vector<uint32_t>& ids() const { return ids_; }

 private:
  std::vector<uint32_t> ids_;
};

// Fills the context's ScoreIdList: every score ID with a row of a loaded
// user, or only the ScoreID setting when that is not 0.
void CollectScoreIds(RunContext& context);

// Prints the "SCORE ID" block and runs the pilot and squad statistics of the
// context's CurrentScoreID.
void RunScoreIdPass(RunContext& context);

}  // namespace tallyhawk

// The ascending list of the score IDs that get a pass.
#pragma once

#include <cstdint>
#include <vector>

#include "db/databases.h"
#include "util/status_output.h"

namespace tallyhawk {

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

// Every score ID with a row of a loaded user, or only `single_score_id` when
// that is not 0, with the collection's console messages.
ScoreIdList CollectScoreIds(StatusOutput& status, const Databases& databases,
                            uint32_t single_score_id);

}  // namespace tallyhawk

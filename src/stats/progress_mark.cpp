#include "stats/progress_mark.h"

#include "run/run_context.h"

namespace tallyhawk {

void ProgressMark::Update(uint64_t progress) {
  if (progress == mark_ || progress % 10 != 0) return;
  context_.PrintStatus(".");
  mark_ = progress;
}

}  // namespace tallyhawk

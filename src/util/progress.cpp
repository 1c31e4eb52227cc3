#include "util/progress.h"

namespace tallyhawk {

void ProgressMark::Update(uint64_t progress) {
  if (progress == mark_ || progress % 10 != 0) return;
  sink_.Dot();
  mark_ = progress;
}

}  // namespace tallyhawk

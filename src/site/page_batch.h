// Writing many pages at once: the caller's thread and helper threads take
// the pages in turn; the caller prints the progress dots.
#pragma once

#include <cstddef>
#include <functional>

#include "util/progress.h"

namespace tallyhawk {

// Calls `write(page, thread)` for every page from 0 to `count` - 1, on
// `threads` threads (numbered from 0, the caller's being 0; at least one).
// Prints ten dots to `progress` over the batch, on the caller's thread,
// all of them once every page is written. The first exception `write`
// throws stops the batch: no page is started after it, and it is thrown
// here once every thread is done.
void WritePageBatch(
    size_t count, size_t threads,
    const std::function<void(size_t page, size_t thread)>& write,
    ProgressSink& progress);

}  // namespace tallyhawk

#include "db/prefault_window.h"

#include <algorithm>

#include "platform/platform.h"

namespace tallyhawk {

bool PrefaultWindow::Step() {
  const size_t filled = filled_.load(std::memory_order_relaxed);
  const size_t end = std::min(room_.bytes, filled + ahead_);
  size_t readied = readied_.load(std::memory_order_relaxed);
  while (true) {
    // What the filling thread has passed, it faulted in itself.
    const size_t first = std::max(readied, filled);
    if (first >= end) return false;
    const size_t last = std::min(end, first + kStepBytes);
    // Each step goes to one thread only.
    if (readied_.compare_exchange_weak(readied, last,
                                       std::memory_order_relaxed)) {
      PrefaultForWriting(static_cast<const char*>(room_.begin) + first,
                         last - first);
      return true;
    }
  }
}

}  // namespace tallyhawk

#include "db/prefault_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace tallyhawk {
namespace {

constexpr size_t kKiB = 1024;

// Steps that `threads` threads take at once, `filled` bytes being filled,
// until none is left.
int StepsTaken(PrefaultWindow& window, size_t filled, int threads) {
  window.Filled(filled);
  std::atomic<int> steps = 0;
  std::vector<std::thread> takers;
  for (int i = 0; i < threads; ++i) {
    takers.emplace_back([&] {
      while (window.Step()) ++steps;
    });
  }
  for (std::thread& taker : takers) taker.join();
  return steps;
}

// Steps of at most 256 KiB go as far as the filling thread and how far
// ahead allow, never past the room, and each is taken once whichever
// thread takes it.
TEST(PrefaultWindowTest, StepsCoverTheWindowOnce) {
  const size_t size = 1024 * kKiB;
  const auto room = std::make_unique_for_overwrite<char[]>(size);
  for (int threads : {1, 2, 4}) {
    PrefaultWindow window(MemoryRoom{room.get(), size}, 600 * kKiB);
    // 0 to 600 KiB: 256 + 256 + 88.
    EXPECT_EQ(StepsTaken(window, 0, threads), 3);
    EXPECT_FALSE(window.Step());
    // What the filler passed is skipped: 700 KiB to the room's end.
    EXPECT_EQ(StepsTaken(window, 700 * kKiB, threads), 2);
    window.Filled(size);
    EXPECT_FALSE(window.Step());
  }
  PrefaultWindow empty(MemoryRoom{}, size);
  EXPECT_FALSE(empty.Step());
}

}  // namespace
}  // namespace tallyhawk

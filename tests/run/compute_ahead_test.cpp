#include "run/compute_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "support/watchdog.h"

namespace tallyhawk {
namespace {

// Results come in order whatever the workers' timing, a computation's
// exception reaches the caller at its own index, and results never taken
// are dropped with the object.
TEST(ComputeAheadTest, ResultsInOrderAndFailuresAtTheirIndex) {
  testing::Watchdog watchdog("taking results and dropping the rest");
  for (size_t workers : {0, 1, 2}) {
    ComputeAhead<size_t> ahead(40, workers, 3, [](size_t i) {
      std::this_thread::sleep_for(std::chrono::microseconds(i * 37 % 200));
      if (i == 30) throw std::runtime_error("thirty");
      return i * i;
    });
    for (size_t i = 0; i < 30; ++i) EXPECT_EQ(ahead.Take(i), i * i);
    EXPECT_THROW(ahead.Take(30), std::runtime_error);
  }
}

// Destruction wakes and joins workers that wait for the window to make
// room, as when a fatal error ends the run with later results held. Done
// several times, so that the workers are found waiting whatever the timing.
TEST(ComputeAheadTest, DestructionEndsWorkersWaitingForRoom) {
  testing::Watchdog watchdog("destroying a ComputeAhead");
  for (int round = 0; round < 20; ++round) {
    std::atomic<size_t> computed = 0;
    ComputeAhead<size_t> ahead(10, 2, 2, [&](size_t i) {
      ++computed;
      return i;
    });
    while (computed < 2) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace
}  // namespace tallyhawk

#include "run/compute_ahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace tallyhawk {
namespace {

// Results come in order whatever the workers' timing, a computation's
// exception reaches the caller at its own index, and results never taken
// are dropped with the object.
TEST(ComputeAheadTest, ResultsInOrderAndFailuresAtTheirIndex) {
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

}  // namespace
}  // namespace tallyhawk

// Score IDs whose lists are computed ahead on other threads must leave what
// a run without threads leaves, and a fatal error must end the run at once.
// (IoFailureTest.DiskFillingUpAtAnyPointEndsAsWithoutThreads compares the
// two at many more points.)
#include <gtest/gtest.h>

#include "run/run_driver.h"
#include "support/db_builder.h"
#include "support/fake_platform.h"
#include "support/watchdog.h"

namespace tallyhawk::testing {
namespace {

RunOptions WithWorkers(size_t workers) {
  RunOptions options;
  options.workers = workers;
  return options;
}

// A fatal error in a score ID's turn, with many more score IDs than are
// computed ahead: the run ends at once, as without threads, whatever the
// workers were doing (computing, or waiting for the window to make room).
// The disk fills up in the pass of an early, a middle or the last score ID.
TEST(ScoreIdPassTest, FatalErrorWhileWorkersComputeEndsTheRunAsWithoutThreads) {
  FakePlatform start;
  start.files = ZoneOfScoreIds(20);
  start.files["tallyhawk.ini"] =
      "[Output]\nText=1\nHTML=1\nHTMLGroup=1\nUseSubDir=1\n";
  FakePlatform complete = start;
  ASSERT_EQ(RunWithOptions(WithWorkers(0), complete), 0);
  const size_t zone = start.DiskUsed();
  const size_t written = complete.DiskUsed() - zone;
  for (size_t twentieths : {1, 2, 10, 19}) {
    SCOPED_TRACE(twentieths);
    FakePlatform alone = start;
    alone.disk_capacity = zone + written * twentieths / 20;
    FakePlatform threaded = alone;
    ASSERT_EQ(RunWithOptions(WithWorkers(0), alone), 1);
    {
      Watchdog watchdog("a run with workers ended by a fatal error");
      EXPECT_EQ(RunWithOptions(WithWorkers(2), threaded), 1);
    }
    EXPECT_EQ(threaded.console, alone.console);
    EXPECT_EQ(threaded.errors, alone.errors);
    EXPECT_EQ(DifferingFiles(threaded, alone), "");
    EXPECT_EQ(threaded.open_temporaries, 0);
  }
}

}  // namespace
}  // namespace tallyhawk::testing

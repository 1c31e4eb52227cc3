// Every I/O failure, once: a whole run (every output on, subdirectories on)
// is repeated for each file operation it performs, with exactly that one
// operation failing. Each run must end as the failing operation calls for,
// and leave every report either as the earlier run wrote it or complete.
// Then a disk that fills up at any point of such a run, with threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "run/run_driver.h"
#include "support/db_builder.h"
#include "support/e2e_harness.h"
#include "support/failure_messages.h"
#include "support/fake_platform.h"
#include "support/watchdog.h"

namespace tallyhawk::testing {
namespace {

TEST(IoFailureTest, EachFileOperationFailingOnceEndsTheRunAsItsKindCallsFor) {
  FakePlatform start;
  start.files = SmallZone();
  start.files["tallyhawk.ini"] =
      "[Output]\nText=1\nHTML=1\nJSON=1\nUseSubDir=1\n[Site]\nEnabled=1\n";
  ASSERT_EQ(RunTallyhawk({}, start), 0);
  // The runs below find the earlier run's reports, write different ones and
  // write the zone map's template afresh.
  start.files["score.dat"] += MakeScore(3, 7, 2, 80, 5, 900, 0);
  start.files.erase("zoneinfo.txt");
  // A page of a pilot no longer listed, which the run removes, and a file
  // that is no page of the site's, which it keeps.
  const std::string pilots = std::string("pilots") + PathSeparator();
  start.files[pilots + "999.html"] = "old";
  start.files[pilots + "notes.html"] = "kept";
  start.operation_count = 0;
  start.console.clear();
  FakePlatform complete = start;
  complete.record_operations = true;
  ASSERT_EQ(RunTallyhawk({}, complete), 0);
  ASSERT_GT(complete.operations.size(), 500u);
  ASSERT_FALSE(complete.files.count(pilots + "999.html"));
  ASSERT_TRUE(complete.files.count(pilots + "notes.html"));
  for (const std::string& kind :
       {"mkdir " + pilots, "list squads" + std::string(1, PathSeparator()),
        "remove " + pilots + "999.html", std::string("rename index.html")}) {
    ASSERT_EQ(std::ranges::count(complete.operations, kind), 1) << kind;
  }

  for (size_t i = 1; i <= complete.operations.size(); ++i) {
    const std::string& operation = complete.operations[i - 1];
    SCOPED_TRACE(std::to_string(i) + ": " + operation);
    FakePlatform run = start;
    run.failing_operation = i;
    const std::string message = ExpectedMessage(operation);
    const int exit_code = RunTallyhawk({}, run);
    ASSERT_EQ(run.failed_operation, operation);
    EXPECT_EQ(exit_code, message.empty() ? 0 : 1);
    EXPECT_EQ(run.open_temporaries, 0);
    EXPECT_TRUE(run.console.ends_with(
        message.empty() ? "Score extraction complete.\n\n"
                        : "ERROR: " + message +
                              "\n*** Error occurred, exiting.  (Logged to "
                              "error file)\n"));
    // Standard error names the file and carries the reason up from the
    // operation that failed.
    const std::string path = operation.substr(operation.find(' ') + 1);
    EXPECT_TRUE(run.errors.starts_with(
        (message.empty() ? "tallyhawk: warning: '" : "tallyhawk: error: '") +
        path + "' (in /zone): "))
        << run.errors;
    EXPECT_TRUE(run.errors.ends_with(": injected " + operation + "\n"))
        << run.errors;
    EXPECT_EQ(std::ranges::count(run.errors, '\n'), 1);
    if (message.empty()) {
      EXPECT_FALSE(run.files.count("tallyhawk.err"));
    } else {
      EXPECT_EQ(run.files["tallyhawk.err"],
                CrLf("Sun Dec 06 12:00:00 2026\n" + message + "\n\n"));
      EXPECT_EQ(run.files["tallyhawk.log"], CrLf(run.console));
    }
    // Each report, and the zone map's template, is complete or as it was.
    auto bytes_in = [](const FakePlatform& platform, const std::string& path) {
      auto it = platform.files.find(path);
      return it == platform.files.end() ? "(none)" : it->second;
    };
    for (const auto& [path, bytes] : complete.files) {
      if (path == "tallyhawk.log") continue;
      const std::string now = bytes_in(run, path);
      EXPECT_TRUE(now == bytes ||
                  (!message.empty() && now == bytes_in(start, path)))
          << path;
    }
  }
  std::cout << complete.operations.size() << " failure points\n";
}

// A disk that fills up: every write from a point on fails, until a rename
// or a removed temporary frees bytes. The run of a zone of more score IDs
// than are computed ahead meets it at many points (the disk's capacity
// stepped from what is on it at the start to what the whole run needs),
// from an empty directory and over an earlier run's reports. With threads
// computing score IDs' lists ahead, each run must end exactly as without
// them: the same exit code, console, standard error and files.
TEST(IoFailureTest, DiskFillingUpAtAnyPointEndsAsWithoutThreads) {
  FakePlatform empty;
  empty.files = ZoneOfScoreIds(6);
  empty.files["tallyhawk.ini"] =
      "[Output]\nText=1\nHTML=1\nHTMLGroup=1\nJSON=1\nUseSubDir=1\n";
  const size_t zone = empty.DiskUsed();
  FakePlatform earlier = empty;
  ASSERT_EQ(RunTallyhawk({}, earlier), 0);
  const size_t step = (earlier.DiskUsed() - zone) / 300;
  earlier.files["score.dat"] += MakeScore(1000, 5, 4, 900, 1, 9000, 0);
  earlier.console.clear();
  // The log, emptied at the start, would give back the room of a whole run.
  earlier.files.erase("tallyhawk.log");
  RunOptions alone;
  alone.workers = 0;
  RunOptions threaded;
  threaded.workers = 2;

  size_t failures = 0;
  for (const FakePlatform* start : {&empty, &earlier}) {
    for (size_t capacity = start->DiskUsed();; capacity += step) {
      SCOPED_TRACE(capacity);
      FakePlatform expected = *start;
      expected.disk_capacity = capacity;
      FakePlatform run = expected;
      const int exit_code = RunWithOptions(alone, expected);
      {
        Watchdog watchdog("a run on a disk filling up");
        EXPECT_EQ(RunWithOptions(threaded, run), exit_code);
      }
      EXPECT_EQ(run.console, expected.console);
      EXPECT_EQ(run.errors, expected.errors);
      EXPECT_EQ(DifferingFiles(run, expected), "");
      EXPECT_EQ(run.open_temporaries, 0);
      if (exit_code == 0 && expected.errors.empty()) break;
      ++failures;
    }
  }
  EXPECT_GT(failures, 300u);
  std::cout << failures << " disk sizes too small\n";
}

}  // namespace
}  // namespace tallyhawk::testing

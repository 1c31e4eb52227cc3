// Score IDs prepared ahead on other threads, their reports written under
// temporary names and renamed in their turn, must leave what a run without
// threads leaves: the same console, log and files, and, when a file
// operation fails, a run that ends as one without threads could have.
#include <gtest/gtest.h>

#include "run/run_driver.h"
#include "support/db_builder.h"
#include "support/failure_messages.h"
#include "support/fake_platform.h"

namespace tallyhawk::testing {
namespace {

// Three score IDs with a row of each of nine pilots in three squads.
std::map<std::string, std::string> ThreeScoreIdZone() {
  std::map<std::string, std::string> files;
  for (uint32_t user = 1; user <= 9; ++user) {
    files["user.dat"] +=
        MakeUser(user, "P" + std::to_string(user), 10 * (user % 3 + 1));
  }
  files["squad.dat"] =
      MakeSquad(10, "Red") + MakeSquad(20, "Blue") + MakeSquad(30, "Gold");
  uint32_t entry = 0;
  for (uint32_t user = 1; user <= 9; ++user) {
    for (uint32_t score_id : {3u, 5u, 8u}) {
      ++entry;
      files["score.dat"] +=
          MakeScore(entry, score_id, user, static_cast<uint16_t>(50 + entry),
                    static_cast<uint16_t>(entry % 4), 100 * entry, 7 * entry);
    }
  }
  return files;
}

RunOptions WithWorkers(size_t workers) {
  RunOptions options;
  options.workers = workers;
  return options;
}

// Without failures, the same console and files as without threads. Then
// each file operation failing once. The operations come in no fixed order
// across threads, so each run is held to what any failure allows: it ends
// complete, exactly as a run without failure, or with an error after
// exactly the console text such a run prints up to there; every report is
// then complete or as it was, and complete when its rename is behind the
// console text.
TEST(WriteAheadTest, EachFileOperationFailingOnceEndsAsWithoutThreads) {
  FakePlatform start;
  start.files = ThreeScoreIdZone();
  start.files["tallyhawk.ini"] =
      "[General]\nTopX=3\n[Output]\nText=1\nHTML=1\nJSON=1\nUseSubDir=1\n";
  ASSERT_EQ(RunWithOptions(WithWorkers(0), start), 0);
  start.files["score.dat"] += MakeScore(100, 5, 4, 900, 1, 9000, 0);
  start.operation_count = 0;
  start.console.clear();
  FakePlatform complete = start;
  complete.record_operations = true;
  ASSERT_EQ(RunWithOptions(WithWorkers(0), complete), 0);
  FakePlatform ahead = start;
  ASSERT_EQ(RunWithOptions(WithWorkers(2), ahead), 0);
  EXPECT_EQ(ahead.console, complete.console);
  EXPECT_EQ(ahead.files, complete.files);
  const std::string kEnd =
      "\n*** Error occurred, exiting.  (Logged to error file)\n";

  for (size_t i = 1; i <= complete.operations.size(); ++i) {
    SCOPED_TRACE(i);
    FakePlatform run = start;
    run.failing_operation = i;
    const int exit_code = RunWithOptions(WithWorkers(2), run);
    SCOPED_TRACE(run.failed_operation);
    EXPECT_EQ(run.open_temporaries, 0);
    if (run.failed_operation.ends_with("tallyhawk.log")) continue;
    if (exit_code == 0) {
      EXPECT_EQ(run.console, complete.console);
      run.files.erase("tallyhawk.log");
      complete.files.erase("tallyhawk.log");
      EXPECT_EQ(run.files, complete.files);
      continue;
    }
    // The failure that ended the run is the one of its own turn: the
    // message is its kind's, after the report's "Writing" line but for a
    // report that could not be created (grouped pages print a line for
    // each section).
    ASSERT_EQ(exit_code, 1);
    const std::string& operation = run.failed_operation;
    ASSERT_TRUE(
        run.console.ends_with("ERROR: " + ExpectedMessage(operation) + kEnd));
    const std::string printed =
        run.console.substr(0, run.console.rfind("ERROR: "));
    EXPECT_TRUE(complete.console.starts_with(printed));
    const std::string failed_path = operation.substr(operation.find(' ') + 1);
    if (failed_path.find('/') != std::string::npos &&
        failed_path.find("Stats") == std::string::npos &&
        !operation.starts_with("mkdir ")) {
      EXPECT_EQ(
          printed.find("Writing '" + failed_path + "'") == std::string::npos,
          operation.starts_with("open "));
    }
    for (const auto& [path, bytes] : complete.files) {
      if (path == "tallyhawk.log") continue;
      const std::string now = run.files.count(path) ? run.files[path] : "";
      const std::string before =
          start.files.count(path) ? start.files[path] : "";
      EXPECT_TRUE(now == bytes || now == before) << path;
      // A report is renamed right after its " Done": text after that shows
      // it renamed. Grouped pages gather sections and are renamed last.
      const size_t writing = printed.find("Writing '" + path + "'");
      if (writing == std::string::npos || path.find("Stats") != path.npos) {
        continue;
      }
      const size_t done = printed.find(" Done\n", writing);
      if (done != std::string::npos && done + 6 < printed.size()) {
        EXPECT_EQ(now, bytes) << path;
      }
    }
  }
}

}  // namespace
}  // namespace tallyhawk::testing

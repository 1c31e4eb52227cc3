#include "report/deferred_output.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_platform.h"
#include "util/fatal_error.h"

namespace tallyhawk::testing {
namespace {

// Writes `path` through `output` and keeps it: as a report writer does
// when its output is deferred.
void KeepReport(DeferredOutput& output, const std::string& path,
                const char* failure) {
  auto report = ReportFile::Open(output, path, failure);
  ASSERT_TRUE(report);
  *report << "bytes of " << path << "\n";
  output.Keep(std::move(report));
}

// Makes the deferred output of three reports and text around them on
// `platform`, checks that none of it shows yet, and replays it.
void MakeAndReplay(FakePlatform& platform) {
  StatusOutput status(platform, false, false);
  DeferredOutput output(platform);
  StatusOutput deferred_status(output, false, false);
  deferred_status.PrintStatus("one ");
  KeepReport(output, "a.txt", "A failed");
  deferred_status.PrintStatus("two ");
  KeepReport(output, "b.txt", "B failed");
  KeepReport(output, "c.txt", "C failed");
  deferred_status.PrintStatus("three");
  EXPECT_EQ(platform.console, "");
  EXPECT_TRUE(platform.files.empty());
  EXPECT_EQ(platform.open_temporaries, 3);
  output.Replay(status);
}

// Text and renames come in the order they were made, and a rename that
// fails ends the replay with its report's message, after the text before it
// and before the text after it, with the later reports' temporaries removed.
TEST(DeferredOutputTest, ReplaysTextAndRenamesInOrderAndStopsAtAFailure) {
  FakePlatform complete;
  complete.record_operations = true;
  MakeAndReplay(complete);
  EXPECT_EQ(complete.console, "one two three");
  EXPECT_EQ(complete.files["b.txt"], "bytes of b.txt\r\n");
  EXPECT_EQ(complete.files.size(), 3u);

  FakePlatform failing;
  const auto& done = complete.operations;
  failing.failing_operation =
      std::find(done.begin(), done.end(), "rename b.txt") - done.begin() + 1;
  try {
    MakeAndReplay(failing);
    ADD_FAILURE() << "no FatalError";
  } catch (const FatalError& error) {
    EXPECT_STREQ(error.what(), "B failed");
  }
  EXPECT_EQ(failing.console, "one two ");
  EXPECT_EQ(failing.files.count("a.txt"), 1u);
  EXPECT_EQ(failing.files.count("b.txt") + failing.files.count("c.txt"), 0u);
  EXPECT_EQ(failing.open_temporaries, 0);
}

}  // namespace
}  // namespace tallyhawk::testing

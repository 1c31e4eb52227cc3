// A console that is closed, or whose reader has gone, changes nothing but the
// console: the run completes and the log is the same as on a normal run.
#include <gtest/gtest.h>

#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

void WriteEmptyZone(const TempDir& dir) {
  for (const char* name :
       {"user.dat", "squad.dat", "score.dat", "tallyhawk.ini"}) {
    dir.Write(name, "");
  }
}

TEST(ConsoleFaultsTest, RunWithoutAConsoleKeepsTheLogACopyOfTheConsole) {
  TempDir normal;
  WriteEmptyZone(normal);
  RunResult expected = RunTallyhawkIn(normal);
  ASSERT_EQ(expected.exit_code, 0);
  for (Console console : {Console::kClosed, Console::kBrokenPipe}) {
    TempDir dir;
    WriteEmptyZone(dir);
    EXPECT_EQ(RunTallyhawkIn(dir, {}, {.console = console}).exit_code, 0);
    EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(expected.console));
  }
}

}  // namespace
}  // namespace tallyhawk::testing

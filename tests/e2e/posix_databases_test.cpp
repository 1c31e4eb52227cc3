// Databases that are no regular files, which only POSIX systems let a test
// make at will.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

// A FIFO would block the run and a device would never end: each is a
// database that cannot be opened, reported at once.
TEST(ReliabilityTest, DatabasesThatAreNoRegularFilesCannotBeOpened) {
  TempDir dir;
  dir.Write("user.dat", "");
  dir.Write("squad.dat", "");
  dir.Write("score.dat", "");
  ASSERT_EQ(::mkfifo((dir.path() + "/fifo").c_str(), 0600), 0);
  const std::pair<std::string, std::string> kCases[] = {
      {"DatUser=fifo", "user"},
      {"DatScore=/dev/zero", "score"},
      {"DatSquad=.", "squad"}};
  for (const auto& [setting, database] : kCases) {
    dir.Write("tallyhawk.ini", "[General]\n" + setting + "\n");
    RunResult run = RunTallyhawkIn(dir);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.console.find("ERROR: Failed to open " + database +
                               " database, exiting\n"),
              std::string::npos)
        << run.console;
  }
}

}  // namespace
}  // namespace tallyhawk::testing

// Databases that are no regular files, and one that grows while the run
// reads it, which only POSIX systems let a test make at will.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

#ifdef __linux__
#include <poll.h>
#include <sys/inotify.h>
#endif

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

#ifdef __linux__
// Appends copies of `rows` to the file `path` from the first time another
// process reads it on, until `done` or some 64 MiB later.
void AppendWhileRead(const std::string& path, const std::string& rows,
                     const std::atomic<bool>& done) {
  const int watch = ::inotify_init1(IN_CLOEXEC);
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  ASSERT_TRUE(watch >= 0 && fd >= 0);
  ASSERT_GE(::inotify_add_watch(watch, path.c_str(), IN_ACCESS), 0);
  pollfd read_seen{watch, POLLIN, 0};
  while (!done && ::poll(&read_seen, 1, 10) == 0) {
  }
  for (int k = 0; k < 64 && !done; ++k) {
    ASSERT_EQ(::write(fd, rows.data(), rows.size()), ssize_t(rows.size()));
  }
  ::close(fd);
  ::close(watch);
}
#endif

// The zone server may append to score.dat while the run reads it: the run
// reads the rows the file held when it was opened, and ends, however fast
// the file grows; the rows appended are for the next run.
TEST(ReliabilityTest, RowsAppendedWhileTheRunReadsAreLeftForTheNextRun) {
#ifdef __linux__
  TempDir dir;
  for (const auto& [name, bytes] : SmallZone()) dir.Write(name, bytes);
  // A mebibyte of rows, in whole rows.
  std::string rows;
  for (int k = 0; k < (1 << 20) / 28; ++k) rows += MakeScore(1, 7, 1, 60, 40);
  std::string score_dat;
  for (int k = 0; k < 8; ++k) score_dat += rows;
  dir.Write("score.dat", score_dat);
  std::atomic<bool> done = false;
  std::thread writer(AppendWhileRead, dir.path() + "/score.dat", rows,
                     std::cref(done));
  const RunResult run = RunTallyhawkIn(dir);
  done = true;
  writer.join();
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.console.find("Read " + std::to_string(score_dat.size() / 28) +
                             " scores\n"),
            std::string::npos)
      << run.console;
#else
  GTEST_SKIP() << "a file's first read is watched on Linux only";
#endif
}

}  // namespace
}  // namespace tallyhawk::testing

// A console that is closed, or whose reader has gone, changes nothing but the
// console: the run completes and the log is the same as on a normal run.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

enum class Console { kClosed, kBrokenPipe };

// Runs the program in `dir` with its standard output in the given state and
// returns the exit code.
int RunWithConsole(const TempDir& dir, Console console) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (console == Console::kClosed) {
    posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  }
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
  // Nobody reads the pipe: every console write meets a closed reader.
  ::close(pipe_fds[0]);
  std::string program = TALLYHAWK_BINARY;
  char* argv[] = {program.data(), nullptr};
  char* envp[] = {nullptr};
  std::filesystem::path old_dir = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  pid_t pid;
  int spawned =
      posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp);
  std::filesystem::current_path(old_dir);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  if (spawned != 0) throw std::runtime_error("cannot start " + program);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void WriteEmptyZone(const TempDir& dir) {
  dir.Write("user.dat", "");
  dir.Write("squad.dat", "");
  dir.Write("score.dat", "");
  dir.Write("tallyhawk.ini", "");
}

TEST(ConsoleFaultsTest, RunWithoutAConsoleKeepsTheLogACopyOfTheConsole) {
  TempDir normal;
  WriteEmptyZone(normal);
  RunResult expected = RunTallyhawkIn(normal);
  ASSERT_EQ(expected.exit_code, 0);
  for (Console console : {Console::kClosed, Console::kBrokenPipe}) {
    TempDir dir;
    WriteEmptyZone(dir);
    EXPECT_EQ(RunWithConsole(dir, console), 0);
    EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(expected.console));
  }
}

}  // namespace
}  // namespace tallyhawk::testing

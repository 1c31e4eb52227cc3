#include "support/e2e_harness.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "util/version.h"

extern char** environ;

namespace tallyhawk::testing {
namespace {

namespace fs = std::filesystem;

const char kFakeTime[] = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

std::vector<std::string> RunEnvironment(const std::string& tz) {
  if (::access(kFakeTime, R_OK) != 0) {
    throw std::runtime_error(std::string("libfaketime is missing: ") +
                             kFakeTime + " (apt-get install faketime)");
  }
  return {
      std::string("LD_PRELOAD=") + kFakeTime,
      // Seconds since 1970, so that the frozen moment does not depend on TZ.
      "FAKETIME=" + std::to_string(kFrozenNow),
      "FAKETIME_FMT=%s",
      "FAKETIME_DONT_FAKE_MONOTONIC=1",
      "TZ=" + tz,
      "PATH=/usr/bin:/bin",
      // libfaketime is preloaded ahead of the sanitizer runtime.
      "ASAN_OPTIONS=verify_asan_link_order=0",
  };
}

}  // namespace

TempDir::TempDir() {
  std::string pattern =
      (fs::temp_directory_path() / "tallyhawk-e2e-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Give back write permission first, so that read-only test directories go.
  for (auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add,
                    ignored);
  }
  fs::remove_all(path_, ignored);
}

void TempDir::Write(const std::string& relative,
                    const std::string& bytes) const {
  fs::path full = fs::path(path_) / relative;
  fs::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::MakeDirectory(const std::string& relative) const {
  fs::create_directories(fs::path(path_) / relative);
}

std::map<std::string, std::string> ReadTree(const std::string& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), root).string()] =
        std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

std::map<std::string, std::string> TempDir::Files() const {
  return ReadTree(path_);
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(fs::path(path_) / relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool TempDir::Exists(const std::string& relative) const {
  return fs::exists(fs::path(path_) / relative);
}

RunResult RunTallyhawkIn(const TempDir& dir,
                         const std::vector<std::string>& args,
                         const SpawnOptions& options) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.console == Console::kClosed) {
    posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  }
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null",
                                   O_RDONLY, 0);
  // Nobody reads a broken pipe: every console write meets a closed reader.
  if (options.console == Console::kBrokenPipe) ::close(pipe_fds[0]);

  std::vector<std::string> argv_text = {options.program};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env_text = RunEnvironment(options.tz);
  std::vector<char*> envp;
  for (std::string& var : env_text) envp.push_back(var.data());
  envp.push_back(nullptr);

  // posix_spawn has no chdir action in this libc version: change the
  // directory around the spawn (tests run single-threaded).
  std::string old_dir = fs::current_path().string();
  fs::current_path(dir.path());
  pid_t pid;
  int spawned =
      posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  fs::current_path(old_dir);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe_fds[1]);
  if (spawned != 0) throw std::runtime_error("cannot start the program");
  RunResult result;
  if (options.console != Console::kBrokenPipe) {
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0) {
      result.console.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipe_fds[0]);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exit_code =
      WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

RunResult RunProgramIn(const TempDir& dir, const std::string& program,
                       const std::vector<std::string>& args) {
  return RunTallyhawkIn(dir, args, {.program = program});
}

std::string CrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string ConsoleBanner() {
  return "Tallyhawk v0.2 Build " + BuildDate() + "\nby Brannoch\n";
}

}  // namespace tallyhawk::testing

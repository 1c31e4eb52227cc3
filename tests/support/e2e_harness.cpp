#include "support/e2e_harness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <stdexcept>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tallyhawk::testing {
namespace {

namespace fs = std::filesystem;

// A fresh file outside every test directory, for a run's standard error.
std::string ErrorsPath() {
  static std::mt19937_64 random(std::random_device{}());
  return (fs::temp_directory_path() /
          ("tallyhawk-stderr-" + std::to_string(random())))
      .string();
}

// The bytes of `path`, which is then removed.
std::string TakeFile(const std::string& path) {
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  fs::remove(path);
  return bytes;
}

#ifdef _WIN32

RunResult Spawn(const std::string& dir, const std::vector<std::string>& argv,
                const SpawnOptions& options) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE read_end;
  HANDLE write_end;
  if (!CreatePipe(&read_end, &write_end, &inherited, 0))
    throw std::runtime_error("CreatePipe");
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  // Nobody reads a broken pipe: every console write meets a closed reader.
  if (options.console == Console::kBrokenPipe) CloseHandle(read_end);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput =
      options.console == Console::kClosed ? nullptr : write_end;
  const std::string errors_path = ErrorsPath();
  HANDLE errors =
      CreateFileA(errors_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                  &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  startup.hStdError = errors;
  // The tests' arguments hold neither quotes nor trailing backslashes.
  std::string command;
  for (const std::string& arg : argv) command += "\"" + arg + "\" ";
  SetEnvironmentVariableA("TZ", options.tz.c_str());
  PROCESS_INFORMATION process{};
  BOOL started =
      CreateProcessA(argv[0].c_str(), command.data(), nullptr, nullptr, TRUE, 0,
                     nullptr, dir.c_str(), &startup, &process);
  CloseHandle(write_end);
  CloseHandle(errors);
  if (!started) {
    throw std::runtime_error("cannot start " + argv[0] + ": error " +
                             std::to_string(GetLastError()));
  }
  RunResult result;
  if (options.console != Console::kBrokenPipe) {
    char buffer[65536];
    DWORD n;
    while (ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n > 0)
      result.console.append(buffer, n);
    CloseHandle(read_end);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  result.exit_code = static_cast<int>(exit_code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  result.errors = TakeFile(errors_path);
  return result;
}

#else

RunResult Spawn(const std::string& dir, std::vector<std::string> argv_text,
                const SpawnOptions& options) {
  std::vector<std::string> env_text = {
      // Seconds since 1970, so that the frozen moment does not depend on TZ.
      "FAKETIME=" + std::to_string(kFrozenNow), "FAKETIME_FMT=%s",
      "FAKETIME_DONT_FAKE_MONOTONIC=1", "TZ=" + options.tz,
      "PATH=/usr/bin:/bin",
      // libfaketime is preloaded ahead of the sanitizer runtime.
      "ASAN_OPTIONS=verify_asan_link_order=0"};
  // libfaketime opens a file at start-up, which would fill a closed standard
  // output before the program could see it closed; that run needs no date.
  if (options.console != Console::kClosed)
    env_text.push_back(
        "LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
  std::vector<char*> argv;
  std::vector<char*> envp;
  for (std::string& arg : argv_text) argv.push_back(arg.data());
  for (std::string& var : env_text) envp.push_back(var.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) throw std::runtime_error("pipe");
  // Nobody reads a broken pipe: every console write meets a closed reader.
  if (options.console == Console::kBrokenPipe) ::close(pipe_fds[0]);
  const std::string errors_path = ErrorsPath();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
    ::dup2(::open(errors_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
           STDERR_FILENO);
    options.console == Console::kClosed ? ::close(STDOUT_FILENO)
                                        : ::dup2(pipe_fds[1], STDOUT_FILENO);
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    if (::chdir(dir.c_str()) == 0) ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(pipe_fds[1]);
  RunResult result;
  if (options.console != Console::kBrokenPipe) {
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0)
      result.console.append(buffer, static_cast<size_t>(n));
    ::close(pipe_fds[0]);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exit_code =
      WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.errors = TakeFile(errors_path);
  return result;
}

#endif

}  // namespace

TempDir::TempDir() {
  static std::mt19937_64 random(std::random_device{}());
  do {
    path_ = (fs::temp_directory_path() /
             ("tallyhawk-e2e-" + std::to_string(random())))
                .string();
  } while (!fs::create_directory(path_));
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void TempDir::MakeDirectory(const std::string& relative) const {
  fs::create_directories(fs::path(path_) / relative);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::map<std::string, std::string> ReadTree(const std::string& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (auto& entry : fs::recursive_directory_iterator(root)) {
    // A loop of links leads to no file: it is skipped, as a dangling link.
    std::error_code unknown;
    if (!entry.is_regular_file(unknown)) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[fs::relative(entry.path(), root).generic_string()] =
        std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

RunResult RunTallyhawkIn(const TempDir& dir,
                         const std::vector<std::string>& args,
                         const SpawnOptions& options) {
  std::vector<std::string> argv = {
      fs::absolute(options.program).make_preferred().string()};
  argv.insert(argv.end(), args.begin(), args.end());
  RunResult result = Spawn(dir.path(), argv, options);
  const std::regex line_end{std::string(kConsoleLineEnd)};
  const std::string raw = std::exchange(
      result.console, std::regex_replace(result.console, line_end, "\n"));
  // A bare line feed would not come back as the platform's line end.
  EXPECT_EQ(kConsoleLineEnd == "\n" ? raw : CrLf(result.console), raw);
  return result;
}

RunResult RunTallyhawkAt(const TempDir& dir,
                         const std::function<void(long long now)>& prepare) {
  for (int attempt = 1;; ++attempt) {
    for (auto& entry : fs::directory_iterator(dir.path()))
      fs::remove_all(entry.path());
    std::time_t now = kFrozenNow;
    if (!kClockFrozen) {  // start as a second begins, so that the run has all
      const std::time_t before = std::time(nullptr);
      while ((now = std::time(nullptr)) == before)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    prepare(now);
    RunResult run = RunTallyhawkIn(dir);
    if (kClockFrozen || std::time(nullptr) == now || attempt == 10) return run;
  }
}

std::string Masked(const std::string& text) {
  static const std::regex build_date(
      "(Tallyhawk v[0-9]+\\.[0-9]+ Build )[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}");
  // The reports' date texts and the JSON files' ISO 8601 times.
  static const std::regex run_time(
      "[A-Z][a-z]{2} [A-Z][a-z]{2} [0-3][0-9] [0-9]{2}:[0-9]{2}:[0-9]{2} "
      "[0-9]{4}|[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}"
      "[+-][0-9]{2}:[0-9]{2}");
  std::string masked = std::regex_replace(text, build_date, "$1<build date>");
  return kClockFrozen ? masked
                      : std::regex_replace(masked, run_time, "<run time>");
}

std::string CrLf(const std::string& text) {
  return std::regex_replace(text, std::regex("\n"), "\r\n");
}

}  // namespace tallyhawk::testing

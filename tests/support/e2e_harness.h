// Runs the real program in a fresh temporary directory and reads back every
// byte it wrote. On Linux libfaketime freezes the run's clock, so that dates
// in the output are known; where it cannot, Masked() hides them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/platform_expectations.h"

namespace tallyhawk::testing {

// The frozen time of every run: Sunday 2026-12-06 12:00:00 in UTC.
constexpr long long kFrozenNow = 1796558400;
// The console's first two lines, with the build date as Masked() shows it.
constexpr char kBanner[] = "Tallyhawk v0.2 Build <build date>\nby Brannoch\n";

// Writes `bytes` to the file `path`, making its parent directories.
void WriteFile(const std::string& path, const std::string& bytes);

// Every regular file below `root` (none when it is missing), by relative
// path written with '/'.
std::map<std::string, std::string> ReadTree(const std::string& root);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  void Write(const std::string& relative, const std::string& bytes) const {
    WriteFile(path_ + "/" + relative, bytes);
  }
  void MakeDirectory(const std::string& relative) const;
  std::map<std::string, std::string> Files() const { return ReadTree(path_); }
  // The bytes of `relative`; empty when it is missing.
  std::string Read(const std::string& relative) const {
    return Files()[relative];
  }

 private:
  std::string path_;
};

struct RunResult {
  int exit_code = -1;
  // The console with the platform's line end written as "\n".
  std::string console;
  // Standard error, as written.
  std::string errors;
};

// What the program's standard output is connected to.
enum class Console { kCaptured, kClosed, kBrokenPipe };

struct SpawnOptions {
  std::string program = TALLYHAWK_BINARY;
  std::string tz = "UTC0";  // a POSIX name, which every C runtime knows
  Console console = Console::kCaptured;
};

// Runs the program in `dir` with `args` under the frozen clock.
RunResult RunTallyhawkIn(const TempDir& dir,
                         const std::vector<std::string>& args = {},
                         const SpawnOptions& options = {});

// Calls `prepare(now)` and runs the program, so that the whole run sees the
// second `now`: kFrozenNow under the frozen clock; elsewhere a second of the
// real clock, trying again when a run spans two.
RunResult RunTallyhawkAt(const TempDir& dir,
                         const std::function<void(long long now)>& prepare);

// `text` with the banner's build date, and where the clock is not frozen
// every run time, as placeholders; a date of another shape stays.
std::string Masked(const std::string& text);

// Text with every "\n" turned into "\r\n", as files are written.
std::string CrLf(const std::string& text);

}  // namespace tallyhawk::testing

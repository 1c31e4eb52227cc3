// Runs the real program in a fresh temporary directory and reads back every
// byte it wrote. The clock is frozen with libfaketime and TZ, so that dates
// in the output are known.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tallyhawk::testing {

// The frozen time of every run: Sunday 2026-12-06 12:00:00 in UTC.
constexpr long long kFrozenNow = 1796558400;
constexpr char kFrozenDateText[] = "Sun Dec 06 12:00:00 2026\n";

struct RunResult {
  int exit_code = -1;
  std::string console;
};

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // Writes `bytes` to `relative` (parent directories are created).
  void Write(const std::string& relative, const std::string& bytes) const;
  void MakeDirectory(const std::string& relative) const;
  // Every regular file below the directory, by relative path.
  std::map<std::string, std::string> Files() const;
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string path_;
};

// Every regular file below `root`, by relative path; empty when `root` is
// missing.
std::map<std::string, std::string> ReadTree(const std::string& root);

// What the program's standard output is connected to.
enum class Console { kCaptured, kClosed, kBrokenPipe };

struct SpawnOptions {
  std::string program = TALLYHAWK_BINARY;
  std::string tz = "UTC";
  Console console = Console::kCaptured;
};

// Runs the program in `dir` with `args` under the frozen clock.
RunResult RunTallyhawkIn(const TempDir& dir,
                         const std::vector<std::string>& args = {},
                         const SpawnOptions& options = {});

// Runs another program (a tool of the project) the same way.
RunResult RunProgramIn(const TempDir& dir, const std::string& program,
                       const std::vector<std::string>& args);

// Text with every "\n" turned into "\r\n", as files are written.
std::string CrLf(const std::string& text);

// The two banner lines of the console.
std::string ConsoleBanner();

}  // namespace tallyhawk::testing

// An in-memory platform for unit tests, with switches to make any file
// operation fail.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/platform.h"

namespace tallyhawk::testing {

class FakePlatform : public Platform {
 public:
  // Committed files by path.
  std::map<std::string, std::string> files;
  // Results that CreateDirectory gives for particular paths; every other
  // path succeeds and is recorded in `created_directories`.
  std::map<std::string, DirectoryResult> directory_results;
  std::set<std::string> created_directories;
  std::string console;
  // 2026-12-06 12:00:00 UTC, a Sunday. Local time is UTC here.
  int64_t now = 1796558400;

  // Faults by path.
  std::set<std::string> unopenable;       // OpenInput fails
  std::set<std::string> uncreatable;      // CreateFile / CreateAtomicFile fail
  std::set<std::string> failing_writes;   // Write fails
  std::set<std::string> failing_commits;  // Commit fails

  // Write fails once this many writes have succeeded.
  std::map<std::string, int> writes_before_failure;

  // Atomic files created and not yet committed or dropped.
  int open_temporaries = 0;

  std::unique_ptr<InputFile> OpenInput(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateFile(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) override;
  DirectoryResult CreateDirectory(const std::string& path) override;
  void WriteConsole(std::string_view text) override { console.append(text); }
  int64_t Now() override { return now; }
  LocalTime ToLocalTime(int64_t seconds) override;
};

}  // namespace tallyhawk::testing

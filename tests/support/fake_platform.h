// An in-memory platform for unit tests, on which any one file operation can
// be made to fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tallyhawk::testing {

class FakePlatform : public Platform {
 public:
  // Committed files by path.
  std::map<std::string, std::string> files;
  std::string console;
  // Standard error.
  std::string errors;
  std::string working_directory = "/zone";
  // Paths that CanWriteFile and ProbeDirectory refuse.
  std::vector<std::string> unwritable;
  // 2026-12-06 12:00:00 UTC, a Sunday. Local time is UTC here.
  int64_t now = 1796558400;

  // File operations are counted; the kinds are open, read, write, flush,
  // close, rename, truncate, mkdir, list and remove. The operation whose number
  // (from 1) is `failing_operation` fails, and is kept as "<kind> <path>" in
  // `failed_operation`. With `record_operations` every one is kept in order.
  size_t operation_count = 0;
  size_t failing_operation = 0;
  std::string failed_operation;
  bool record_operations = false;
  std::vector<std::string> operations;

  // The paths that ProtectInputs named last.
  std::vector<std::string> protected_inputs;

  // Atomic files created and not yet committed or dropped.
  int open_temporaries = 0;

  // A disk of `disk_capacity` bytes, which every file's bytes fill,
  // temporaries' included; a rename over an old file and a removed
  // temporary free theirs. A write that would pass the capacity writes
  // nothing and fails, as on a full disk: so does every later one until
  // bytes are freed.
  size_t disk_capacity = SIZE_MAX;
  size_t temporary_bytes = 0;  // written to temporaries not yet renamed
  size_t DiskUsed() const;

  // Held by every operation, since the databases are read on several
  // threads at once. A copy of the platform gets a mutex of its own.
  struct Mutex {
    Mutex() = default;
    Mutex(const Mutex&) {}
    Mutex& operator=(const Mutex&) { return *this; }
    std::recursive_mutex m;
  };
  mutable Mutex mutex;

  std::unique_ptr<InputFile> OpenInput(const std::string& path) override;
  std::unique_ptr<InputFile> OpenConfigInput(const std::string& path,
                                             bool* missing) override;
  void ProtectInputs(const std::vector<std::string>& paths) override {
    protected_inputs = paths;
  }
  std::unique_ptr<HeldOutputFile> OpenOutput(const std::string& path) override;
  std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) override;
  DirectoryResult CreateDirectory(const std::string& path) override;
  bool CanWriteFile(const std::string& path) override;
  DirectoryProbe ProbeDirectory(const std::string& path) override {
    return CanWriteFile(path) ? DirectoryProbe::kWouldCreate
                              : DirectoryProbe::kRefused;
  }
  bool ListFiles(const std::string& path,
                 std::vector<std::string>* names) override;
  bool RemoveFile(const std::string& path) override;
  void WriteConsole(std::string_view text) override {
    std::lock_guard<std::recursive_mutex> lock(mutex.m);
    console.append(text);
  }
  void WriteError(std::string_view text) override {
    std::lock_guard<std::recursive_mutex> lock(mutex.m);
    errors.append(text);
  }
  std::string WorkingDirectory() override { return working_directory; }
  int64_t Now() override { return now; }
  LocalTime ToLocalTime(int64_t seconds) override;

  // Records an operation; true when it is the one to fail.
  bool Fails(const char* kind, const std::string& path);
  // Whether `size` more bytes fit on the disk; notes the failure if not.
  bool HasRoomFor(size_t size);
  bool IsProtected(const std::string& path) const;
};

// The paths whose bytes differ between the files of `a` and `b`, or that
// only one of them has, a line each: a short message where whole files
// would fill the screen.
std::string DifferingFiles(const FakePlatform& a, const FakePlatform& b);

}  // namespace tallyhawk::testing

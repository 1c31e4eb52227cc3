// The one seam between the run and the operating system. Everything the
// program asks of the system goes through a Platform, so that tests can
// substitute an in-memory or fault-injecting one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

namespace tallyhawk {

// The separator that joins path components: '\\' on Windows, '/' elsewhere.
char PathSeparator();

// A file opened for reading raw bytes, front to back.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes into `buffer`; returns the number read, 0 at the
  // end of the file or on a read error.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // The file's size in bytes when the system tells it, else 0: a hint to
  // size what the file is read into, never a promise of what Read gives.
  virtual uint64_t SizeHint() { return 0; }
};

// A file opened for writing. Bytes are written as given (no line-end
// translation). Every operation reports failure by its result.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual bool Write(std::string_view bytes) = 0;
  // Hands what was written so far to the operating system.
  virtual bool Flush() = 0;
  // Flushes and closes the file; for an atomic file, renames it over its final
  // name. After Commit the object only awaits destruction.
  virtual bool Commit() = 0;
};

enum class DirectoryResult {
  kCreatedOrExists,  // success, or the name exists already
  kMissingParent,    // a component before the last is missing or no directory
  kOtherError,
};

// Broken-down local time.
struct LocalTime {
  int year = 1970;  // e.g. 2002
  int month = 0;    // 0..11
  int day = 1;      // 1..31
  int weekday = 4;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Opens a regular file for reading. Returns null when it cannot be opened
  // (missing, a directory, no permission).
  virtual std::unique_ptr<InputFile> OpenInput(const std::string& path) = 0;

  // Creates or truncates `path` and writes straight into it. Null on failure.
  virtual std::unique_ptr<OutputFile> CreateFile(const std::string& path) = 0;

  // Creates a temporary file beside `path`, unique to this process. Commit()
  // renames it over `path`; destroying it without a successful Commit()
  // removes the temporary file. Null when the temporary file cannot be made,
  // or when `path` names an existing directory.
  virtual std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) = 0;

  // Creates the last component of `path` (which may end in a separator).
  virtual DirectoryResult CreateDirectory(const std::string& path) = 0;

  // Writes to standard output and flushes it.
  virtual void WriteConsole(std::string_view text) = 0;

  // Seconds since 1970-01-01 00:00 UTC.
  virtual int64_t Now() = 0;
  virtual LocalTime ToLocalTime(int64_t seconds) = 0;
};

// The platform of the machine the program runs on.
std::unique_ptr<Platform> MakeSystemPlatform();

// The fields of a broken-down C time.
LocalTime LocalTimeFromTm(const struct tm& value);

// Reads a whole file into `contents`. False when it cannot be opened.
bool ReadWholeFile(Platform& platform, const std::string& path,
                   std::string* contents);

}  // namespace tallyhawk

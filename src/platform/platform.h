// The one seam between the run and the operating system. Everything the
// program asks of the system goes through a Platform, so that tests can
// substitute an in-memory or fault-injecting one.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tallyhawk {

// The separator that joins path components: '\\' on Windows, '/' elsewhere.
char PathSeparator();
// Whether `c` separates path components: '/' or '\\' on Windows, '/'
// elsewhere.
bool IsPathSeparator(char c);

// Whether `path` names its file whatever the working directory is.
bool IsAbsolutePath(std::string_view path);

// Why the calling thread's last failed operation failed: the system's own
// words ("No such file or directory"), or the platform's where the refusal
// was its own. Each platform notes it where an operation fails, so that the
// layers above can tell the admin without knowing the system. Empty when
// nothing was noted.
std::string LastFailure();
void NoteFailure(std::string reason);
// Notes the system's words for its error number `code` (errno, or on
// Windows a GetLastError() value).
void NoteSystemFailure(int code);

// A file opened for reading raw bytes, front to back or at any offset.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes into `buffer`; returns the number read, 0 at the
  // end of the file or after a read error.
  virtual size_t Read(char* buffer, size_t size) = 0;
  // Reads up to `size` bytes from `offset` on into `buffer`, as Read does,
  // without moving where Read goes on. Several threads may call it at once;
  // it must not be mixed with Read.
  virtual size_t ReadAt(char* buffer, size_t size, uint64_t offset) = 0;
  // Whether a read has failed, so that what was read is not the whole file.
  // Sources whose reads cannot fail keep this default.
  virtual bool Failed() const { return false; }
  // Why the first failed read failed; reads may fail on another thread than
  // the one that asks.
  virtual std::string FailureReason() const { return ""; }
  // The file's size in bytes when the system tells it, else 0: a hint to
  // size what the file is read into, and where a reader that must not chase
  // a growing file stops; never a promise of what Read gives.
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

// A file opened for writing whose contents are still as they were: it is
// emptied only when it is started.
class HeldOutputFile {
 public:
  virtual ~HeldOutputFile() = default;
  // Empties the file and hands it over for writing. Null, with the file left
  // as it was, when it is one of the protected inputs (see
  // Platform::ProtectInputs) or cannot be emptied; a file that the opening
  // created is then removed again, so that a missing input stays missing.
  virtual std::unique_ptr<OutputFile> Start() = 0;
};

enum class DirectoryResult {
  kCreatedOrExists,  // success, or the name exists already
  kMissingParent,    // a component before the last is missing or no directory
  kOtherError,
};

enum class DirectoryProbe {
  kExists,       // something is there already: a directory that may be
                 // written, or a file (which CanWriteFile then refuses)
  kWouldCreate,  // missing, in a directory that may be written
  kRefused,      // CreateDirectory would fail, or the directory is not
                 // writable; LastFailure() says why
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

// Files may be opened, written and committed, and the time read, on several
// threads at once; the console and ProtectInputs belong to one thread.
class Platform {
 public:
  virtual ~Platform() = default;

  // Opens a database for reading: a regular file. Null when it cannot be
  // opened (missing, no permission) or is anything else (a directory, a FIFO,
  // a device); opening such a path never waits.
  virtual std::unique_ptr<InputFile> OpenInput(const std::string& path) = 0;

  // Opens a configuration file for reading: any file but a directory (a
  // device such as /dev/null included). Null when it cannot be opened;
  // `*missing` then tells whether there is no file under `path` (nothing, or
  // a directory), as opposed to a file that exists but cannot be read.
  virtual std::unique_ptr<InputFile> OpenConfigInput(const std::string& path,
                                                     bool* missing) = 0;

  // Names the files that no output may replace or empty, whatever name the
  // output is given (another spelling of the path, a link): creating such an
  // output fails as if it could not be opened. The names are looked up
  // afresh at every creation; while one names no file, an output of that
  // very name is refused too, so that a missing input stays missing.
  virtual void ProtectInputs(const std::vector<std::string>& paths) = 0;

  // Opens `path` for writing, created when missing, without emptying it.
  // Null when it cannot be opened. A symbolic link at `path` is followed as
  // CreateAtomicFile follows it.
  virtual std::unique_ptr<HeldOutputFile> OpenOutput(
      const std::string& path) = 0;

  // Creates or empties `path` and writes straight into it: OpenOutput, then
  // Start. Null on failure.
  std::unique_ptr<OutputFile> CreateFile(const std::string& path);

  // First removes the temporary files of `path` that earlier runs, no longer
  // going, left behind; then creates a temporary file beside `path` (see
  // TemporaryName), unique to this process and marked as in use while it is
  // open. Commit() renames it over `path`; destroying it without a
  // successful Commit() removes the temporary file. Null when the temporary
  // file cannot be made, or when `path` names an existing directory or a
  // protected input.
  // When `path` is a symbolic link, all of this applies to the file that
  // the link (or chain of links) finally names, and the links stay: the
  // temporary file goes beside that file and replaces it. On POSIX systems
  // a relative link is read from the link's own directory, and a dangling
  // link creates the file it names; on Windows (reparse points: links and
  // junctions) the file named must exist. A loop of links, or a link whose
  // file cannot be made, cannot be opened.
  virtual std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) = 0;

  // Creates the last component of `path` (which may end in a separator).
  virtual DirectoryResult CreateDirectory(const std::string& path) = 0;

  // Whether an output at `path` could be created and written, as far as can
  // be told without creating anything: its directory exists and may be
  // written, and `path` is no directory. Outputs that ProtectInputs refuses
  // are not looked at. On false, LastFailure() says why.
  virtual bool CanWriteFile(const std::string& path) = 0;
  // What CreateDirectory(`path`) would meet, without creating anything.
  virtual DirectoryProbe ProbeDirectory(const std::string& path) = 0;

  // The names of the regular files in the directory `path` (which may end
  // in a separator), in no particular order; links and directories are left
  // out. A missing directory holds none. False when it cannot be read.
  virtual bool ListFiles(const std::string& path,
                         std::vector<std::string>* names) = 0;
  // Removes the regular file `path`; false when it cannot be removed.
  virtual bool RemoveFile(const std::string& path) = 0;

  // Writes to standard output, flushed as ConsoleFlushPolicy says and when
  // the program ends.
  virtual void WriteConsole(std::string_view text) = 0;
  // Writes a whole line to standard error, at once.
  virtual void WriteError(std::string_view text) = 0;
  // The directory that relative names are looked up in.
  virtual std::string WorkingDirectory() = 0;

  // Seconds since 1970-01-01 00:00 UTC.
  virtual int64_t Now() = 0;
  virtual LocalTime ToLocalTime(int64_t seconds) = 0;
};

// The platform of the machine the program runs on.
std::unique_ptr<Platform> MakeSystemPlatform();

// When console text goes out to the system: at the end of each line, and
// otherwise once the last flush is a moment old. So progress dots still show
// as they come, without a system call for each dot.
class ConsoleFlushPolicy {
 public:
  // Whether the console, having just been given `text`, should flush now.
  bool ShouldFlush(std::string_view text);

 private:
  std::chrono::steady_clock::time_point last_flush_{};
};

// Asks the system to back the pages of [begin, begin + size) with memory now,
// ready for writing, so that whoever writes them later takes no page faults.
// The bytes stay as they are, so another thread may use the range meanwhile;
// a range that is not (or no longer) the program's own is ignored. A hint:
// where the system has no such call, it does nothing.
void PrefaultForWriting(const void* begin, size_t size);

// The fields of a broken-down C time.
LocalTime LocalTimeFromTm(const struct tm& value);

enum class ReadResult { kRead, kMissing, kUnreadable };

// Reads a whole configuration file (see OpenConfigInput) into `contents`.
ReadResult ReadWholeFile(Platform& platform, const std::string& path,
                         std::string* contents);

// The name of a temporary file of `path`: "<path>.tallyhawk-<pid>-<n>.tmp",
// recognisable as this program's and as belonging to that final name.
std::string TemporaryName(const std::string& path, unsigned long pid,
                          unsigned n);

// Whether the directory entry `name` has the form TemporaryName gives the
// file `base` (a name without directory).
bool IsTemporaryOf(std::string_view name, std::string_view base);

// `path` split after its last separator ('/' or the platform's own): the
// directory part (empty for the working directory) and the file name.
std::pair<std::string, std::string> SplitDirectory(const std::string& path);

}  // namespace tallyhawk

// The platform on Windows: paths with backslashes, files opened through the
// Win32 API (which decides sharing and identity) and written through the C
// runtime, directories through the Win32 API.
#include <direct.h>
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
// windows.h names these as macros; the Platform methods carry the same names.
#undef CreateDirectory
#undef CreateFile

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace tallyhawk {
namespace {

constexpr size_t kBufferSize = 1 << 16;

// The platform's own reason for refusing an output.
constexpr char kIsInput[] =
    "it is one of the databases, which are never written";

// Notes the C runtime's errno as the reason of a failure and returns false.
bool RuntimeFailure() {
  NoteFailure(std::generic_category().message(errno));
  return false;
}

// Notes the thread's last system error as the reason of a failure and
// returns false.
bool Failure() {
  NoteSystemFailure(static_cast<int>(GetLastError()));
  return false;
}

class WindowsInputFile : public InputFile {
 public:
  explicit WindowsInputFile(HANDLE handle) : handle_(handle) {}
  ~WindowsInputFile() override { CloseHandle(handle_); }
  size_t Read(char* buffer, size_t size) override {
    size_t total = 0;
    while (total < size && !failed_) {
      const DWORD want =
          static_cast<DWORD>(std::min<size_t>(size - total, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(handle_, buffer + total, want, &got, nullptr)) {
        Fail();
      }
      if (got == 0) break;
      total += got;
    }
    return total;
  }

  size_t ReadAt(char* buffer, size_t size, uint64_t offset) override {
    size_t total = 0;
    while (total < size && !failed_) {
      const DWORD want =
          static_cast<DWORD>(std::min<size_t>(size - total, 1u << 30));
      // On a handle opened for synchronous reads, the offset given here is
      // where this read starts; such reads on one handle are serialized.
      OVERLAPPED at{};
      const uint64_t start = offset + total;
      at.Offset = static_cast<DWORD>(start);
      at.OffsetHigh = static_cast<DWORD>(start >> 32);
      DWORD got = 0;
      if (!ReadFile(handle_, buffer + total, want, &got, &at) &&
          GetLastError() != ERROR_HANDLE_EOF) {
        Fail();
      }
      if (got == 0) break;
      total += got;
    }
    return total;
  }

  bool Failed() const override { return failed_; }
  std::string FailureReason() const override {
    std::lock_guard<std::mutex> lock(reason_mutex_);
    return reason_;
  }

  uint64_t SizeHint() override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_, &size) || size.QuadPart < 0) return 0;
    return static_cast<uint64_t>(size.QuadPart);
  }

 private:
  HANDLE handle_;
  // Notes the system's reason of a failed read, the first one kept.
  void Fail() {
    Failure();
    std::lock_guard<std::mutex> lock(reason_mutex_);
    if (!failed_) reason_ = LastFailure();
    failed_ = true;
  }

  std::atomic<bool> failed_ = false;
  mutable std::mutex reason_mutex_;
  std::string reason_;
};

// Volume and file index: the same for every name of one file.
struct FileIdentity {
  DWORD volume = 0;
  DWORD index_high = 0;
  DWORD index_low = 0;
  bool operator==(const FileIdentity&) const = default;
};

bool IdentityOfHandle(HANDLE handle, FileIdentity* identity) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) return false;
  *identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh,
               info.nFileIndexLow};
  return true;
}

bool IdentityOfPath(const std::string& path, FileIdentity* identity) {
  HANDLE handle = CreateFileA(
      path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool known = IdentityOfHandle(handle, identity);
  CloseHandle(handle);
  return known;
}

// `path` without the "\\?\" that GetFinalPathNameByHandle puts before it:
// "\\?\C:\x" is "C:\x", "\\?\UNC\server\x" is "\\server\x".
std::string WithoutLongPathPrefix(std::string_view path) {
  constexpr std::string_view kLong = "\\\\?\\";
  constexpr std::string_view kUnc = "\\\\?\\UNC\\";
  if (path.starts_with(kUnc)) {
    return "\\\\" + std::string(path.substr(kUnc.size()));
  }
  if (path.starts_with(kLong)) path.remove_prefix(kLong.size());
  return std::string(path);
}

// The name that `path` finally leads to: `path` itself unless it is a
// reparse point (a symbolic link, a junction); else the full path of the
// file that it leads to, which must exist. An output is written there, so
// that a link that publishes it stays a link. False for a link that leads to
// no file (a dangling link, a loop) or to one that cannot be opened.
bool FollowLinks(const std::string& path, std::string* final_name) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    *final_name = path;
    return true;
  }
  // Without FILE_FLAG_OPEN_REPARSE_POINT the open goes through the links.
  HANDLE handle = CreateFileA(
      path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Failure();
  constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  std::string name(GetFinalPathNameByHandleA(handle, nullptr, 0, kFlags), '\0');
  const DWORD size =
      name.empty()
          ? 0
          : GetFinalPathNameByHandleA(handle, name.data(),
                                      static_cast<DWORD>(name.size()), kFlags);
  if (size == 0 || size >= name.size()) {
    Failure();
    CloseHandle(handle);
    return false;
  }
  CloseHandle(handle);
  name.resize(size);
  *final_name = WithoutLongPathPrefix(name);
  return true;
}

// The inputs that no output may replace or empty.
class InputGuard {
 public:
  void Set(const std::vector<std::string>& paths) { paths_ = paths; }
  bool Covers(const FileIdentity& file) const {
    FileIdentity input;
    for (const std::string& path : paths_) {
      if (IdentityOfPath(path, &input) && input == file) return true;
    }
    return false;
  }
  bool CoversHandle(HANDLE handle) const {
    FileIdentity file;
    return IdentityOfHandle(handle, &file) && Covers(file);
  }
  // Whether `path`, which names no file yet, is spelled as one of the
  // inputs: creating it would make a missing input appear.
  bool Names(const std::string& path) const {
    return std::find(paths_.begin(), paths_.end(), path) != paths_.end();
  }

 private:
  std::vector<std::string> paths_;
};

// A C runtime stream over a Win32 handle that it then owns; null (with the
// handle closed) on failure.
FILE* StreamOf(HANDLE handle) {
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                 _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  FILE* file = _fdopen(fd, "wb");
  if (!file) _close(fd);
  return file;
}

// Binary mode: the callers already write CR LF line ends.
class WindowsOutputFile : public OutputFile {
 public:
  explicit WindowsOutputFile(FILE* file) : file_(file) {
    std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
  }
  ~WindowsOutputFile() override {
    if (file_) std::fclose(file_);
  }
  bool Write(std::string_view bytes) override {
    if (!file_) return false;
    ok_ = ok_ &&
          (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() ||
           RuntimeFailure());
    return ok_;
  }
  bool Flush() override {
    ok_ = ok_ && file_ && (std::fflush(file_) == 0 || RuntimeFailure());
    return ok_;
  }
  bool Commit() override {
    if (!file_) return false;
    bool flushed = std::fflush(file_) == 0 || RuntimeFailure();
    bool closed = std::fclose(file_) == 0 || RuntimeFailure();
    file_ = nullptr;
    return ok_ && flushed && closed;
  }

 private:
  FILE* file_;
  bool ok_ = true;
};

class WindowsHeldFile : public HeldOutputFile {
 public:
  // `created_path` is the path when opening created the file, else empty.
  WindowsHeldFile(HANDLE handle, const InputGuard& guard,
                  std::string created_path)
      : handle_(handle),
        guard_(guard),
        created_path_(std::move(created_path)) {}
  ~WindowsHeldFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  std::unique_ptr<OutputFile> Start() override {
    if (handle_ == INVALID_HANDLE_VALUE) return nullptr;
    if (guard_.CoversHandle(handle_)) {
      NoteFailure(kIsInput);
      CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
      if (!created_path_.empty()) DeleteFileA(created_path_.c_str());
      return nullptr;
    }
    // Only a file on disk has contents to drop; a device such as NUL is
    // written as it is.
    if (GetFileType(handle_) == FILE_TYPE_DISK && !SetEndOfFile(handle_)) {
      return Failure(), nullptr;
    }
    FILE* file = StreamOf(std::exchange(handle_, INVALID_HANDLE_VALUE));
    if (!file) return nullptr;
    return std::make_unique<WindowsOutputFile>(file);
  }

 private:
  HANDLE handle_;
  const InputGuard& guard_;
  std::string created_path_;
};

// Renames the open file `handle` (opened with DELETE access) to `target`.
bool RenameOpenFile(HANDLE handle, const std::string& target) {
  const int size =
      MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, nullptr, 0);
  if (size <= 0) return false;
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, wide.data(), size);
  const DWORD full_size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (full_size == 0) return false;
  std::wstring full(full_size, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), full_size, full.data(), nullptr));
  // The structure ends in the name; the zeroed buffer ends it with a NUL.
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) +
                           full.size() * sizeof(WCHAR));
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(full.size() * sizeof(WCHAR));
  std::memcpy(info->FileName, full.data(), full.size() * sizeof(WCHAR));
  return SetFileInformationByHandle(handle, FileRenameInfo, info,
                                    static_cast<DWORD>(buffer.size())) != 0;
}

// The temporary file is open without FILE_SHARE_DELETE for as long as it is
// written: no other process can remove it meanwhile, and the system closes
// it when the writer ends, however it ends. So a temporary file that can be
// deleted belongs to no run that is still going.
class WindowsAtomicFile : public OutputFile {
 public:
  WindowsAtomicFile(FILE* file, HANDLE handle, std::string temp_path,
                    std::string final_path)
      : file_(file),
        handle_(handle),
        temp_path_(std::move(temp_path)),
        final_path_(std::move(final_path)) {}
  ~WindowsAtomicFile() override {
    if (!committed_) {
      file_.Commit();
      DeleteFileA(temp_path_.c_str());
    }
  }
  bool Write(std::string_view bytes) override { return file_.Write(bytes); }
  bool Flush() override { return file_.Flush(); }
  bool Commit() override {
    // Renamed while still open, so that it is never without its writer.
    if (committed_ || !file_.Flush()) return false;
    if (!RenameOpenFile(handle_, final_path_)) return Failure();
    committed_ = true;
    return file_.Commit();
  }

 private:
  WindowsOutputFile file_;
  HANDLE handle_;  // owned by file_
  std::string temp_path_;
  std::string final_path_;
  bool committed_ = false;
};

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsExistingDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failure();
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    NoteFailure("it is not a directory");
    return false;
  }
  return true;
}

HANDLE OpenForReading(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The regular files of the directory `path`, by name: no directories, and
// no links (reparse points); a missing directory has none.
bool ListRegularFiles(const std::string& path,
                      std::vector<std::string>* names) {
  names->clear();
  std::string pattern = path.empty() ? "." : path;
  if (!IsPathSeparator(pattern.back())) pattern += '\\';
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((pattern + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      return true;
    }
    return Failure();
  }
  constexpr DWORD kNotRegular =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  do {
    if ((entry.dwFileAttributes & kNotRegular) == 0) {
      names->emplace_back(entry.cFileName);
    }
  } while (FindNextFileA(search, &entry));
  const bool read = GetLastError() == ERROR_NO_MORE_FILES || Failure();
  FindClose(search);
  return read;
}

// Removes `path` when it is a regular file; never a directory or a link.
bool RemoveRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failure();
  if ((attributes &
       (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
    NoteFailure("it is not a regular file");
    return false;
  }
  return DeleteFileA(path.c_str()) != 0 || Failure();
}

class WindowsPlatform : public Platform {
 public:
  std::unique_ptr<InputFile> OpenInput(const std::string& path) override {
    HANDLE handle = OpenForReading(path);
    if (handle == INVALID_HANDLE_VALUE) return Failure(), nullptr;
    // Only a file on disk: a pipe or a device such as CON is refused.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
      NoteFailure("it is not a regular file");
      CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<WindowsInputFile>(handle);
  }

  std::unique_ptr<InputFile> OpenConfigInput(const std::string& path,
                                             bool* missing) override {
    HANDLE handle = OpenForReading(path);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      Failure();
      *missing = error == ERROR_FILE_NOT_FOUND ||
                 error == ERROR_PATH_NOT_FOUND || IsDirectory(path);
      return nullptr;
    }
    *missing = false;
    return std::make_unique<WindowsInputFile>(handle);
  }

  void ProtectInputs(const std::vector<std::string>& paths) override {
    guard_.Set(paths);
  }

  std::unique_ptr<HeldOutputFile> OpenOutput(const std::string& path) override {
    // Opened under the name the links lead to, as an atomic file is.
    std::string target;
    if (!FollowLinks(path, &target)) return nullptr;
    // Shared for reading and writing, as the C runtime's fopen() shares.
    HANDLE handle = CreateFileA(target.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Failure(), nullptr;
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    return std::make_unique<WindowsHeldFile>(handle, guard_,
                                             created ? target : "");
  }

  std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) override {
    // A link stays: renaming over it would replace the link itself, so the
    // temporary file goes beside the file it names and replaces that.
    std::string final_name;
    if (!FollowLinks(path, &final_name)) return nullptr;
    if (IsDirectory(final_name)) {
      NoteFailure("it is a directory");
      return nullptr;
    }
    FileIdentity target;
    if (IdentityOfPath(final_name, &target) ? guard_.Covers(target)
                                            : guard_.Names(final_name)) {
      NoteFailure(kIsInput);
      return nullptr;
    }
    RemoveAbandonedTemporaries(final_name);
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string temp = TemporaryName(
          final_name, static_cast<unsigned long>(_getpid()), counter_++);
      // CREATE_NEW: no two writers share a file.
      HANDLE handle =
          CreateFileA(temp.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_EXISTS) continue;
        return Failure(), nullptr;
      }
      FILE* file = StreamOf(handle);
      if (!file) {
        NoteFailure("the C runtime has no stream left for it");
        DeleteFileA(temp.c_str());
        return nullptr;
      }
      return std::make_unique<WindowsAtomicFile>(file, handle, temp,
                                                 final_name);
    }
    NoteFailure("no free temporary name beside it");
    return nullptr;
  }

  DirectoryResult CreateDirectory(const std::string& path) override {
    if (_mkdir(path.c_str()) == 0 || errno == EEXIST) {
      return DirectoryResult::kCreatedOrExists;
    }
    // _mkdir leaves the system's own error of CreateDirectoryA in place.
    Failure();
    if (errno == ENOENT) return DirectoryResult::kMissingParent;
    return DirectoryResult::kOtherError;
  }

  void WriteConsole(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    // Whatever is held goes out when the program ends.
    if (console_flush_.ShouldFlush(text)) std::fflush(stdout);
  }

  void WriteError(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stderr);
  }

  std::string WorkingDirectory() override {
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0) return ".";
    std::string path(size, '\0');
    path.resize(GetCurrentDirectoryA(size, path.data()));
    return path;
  }

  // Windows tells whether a directory may be written only by trying, so
  // this looks at what can be seen without writing: the directory exists,
  // and no read-only attribute or directory stands at the name.
  bool CanWriteFile(const std::string& path) override {
    if (path.empty()) {
      NoteSystemFailure(ERROR_FILE_NOT_FOUND);
      return false;
    }
    if (IsDirectory(path)) {
      NoteFailure("it is a directory");
      return false;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      NoteFailure("the file is read-only");
      return false;
    }
    const std::string directory = SplitDirectory(path).first;
    return IsExistingDirectory(directory.empty() ? "." : directory);
  }

  DirectoryProbe ProbeDirectory(const std::string& path) override {
    std::string name = path;
    while (name.size() > 1 && IsPathSeparator(name.back())) name.pop_back();
    if (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return DirectoryProbe::kExists;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND)
      return Failure(), DirectoryProbe::kRefused;
    const std::string parent = SplitDirectory(name).first;
    return IsExistingDirectory(parent.empty() ? "." : parent)
               ? DirectoryProbe::kWouldCreate
               : DirectoryProbe::kRefused;
  }

  int64_t Now() override { return static_cast<int64_t>(std::time(nullptr)); }

  LocalTime ToLocalTime(int64_t seconds) override {
    __time64_t t = seconds;
    struct tm tm_value {};
    _localtime64_s(&tm_value, &t);
    return LocalTimeFromTm(tm_value);
  }

  bool ListFiles(const std::string& path,
                 std::vector<std::string>* names) override {
    return ListRegularFiles(path, names);
  }

  bool RemoveFile(const std::string& path) override {
    return RemoveRegularFile(path);
  }

 private:
  ConsoleFlushPolicy console_flush_;
  // Deletes the temporary files of `path` that no run holds open any more.
  void RemoveAbandonedTemporaries(const std::string& path) {
    const auto [directory, base] = SplitDirectory(path);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((path + ".tallyhawk-*.tmp").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      if (!IsTemporaryOf(entry.cFileName, base)) continue;
      const std::string temp = directory + entry.cFileName;
      FileIdentity identity;
      if (IdentityOfPath(temp, &identity) && !guard_.Covers(identity)) {
        DeleteFileA(temp.c_str());  // fails for a file that is still open
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }

  // Reports may be created on several threads at once.
  std::atomic<unsigned> counter_ = 0;
  InputGuard guard_;
};

}  // namespace

void NoteSystemFailure(int code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPSTR>(&text), 0,
      nullptr);
  std::string reason = length > 0 ? std::string(text, length)
                                  : "system error " + std::to_string(code);
  if (text) LocalFree(text);
  // The system's texts end in a full stop and a line break.
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  NoteFailure(std::move(reason));
}

// A drive letter and a separator, or a name that starts with a separator
// (the current drive's root, or \\server\share).
bool IsAbsolutePath(std::string_view path) {
  if (!path.empty() && IsPathSeparator(path.front())) return true;
  return path.size() >= 3 && path[1] == ':' && IsPathSeparator(path[2]);
}

char PathSeparator() { return '\\'; }
bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// Windows faults pages in as they are written, which is as good here.
void PrefaultForWriting(const void*, size_t) {}

std::unique_ptr<Platform> MakeSystemPlatform() {
  return std::make_unique<WindowsPlatform>();
}

}  // namespace tallyhawk

// The platform on Windows: paths with backslashes, files through the C
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

#include <cstdio>
#include <ctime>

#include "platform/platform.h"

namespace tallyhawk {
namespace {

constexpr size_t kBufferSize = 1 << 16;

class WindowsInputFile : public InputFile {
 public:
  explicit WindowsInputFile(FILE* file) : file_(file) {}
  ~WindowsInputFile() override { std::fclose(file_); }
  size_t Read(char* buffer, size_t size) override {
    return std::fread(buffer, 1, size, file_);
  }

 private:
  FILE* file_;
};

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
          std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
    return ok_;
  }
  bool Flush() override {
    ok_ = ok_ && file_ && std::fflush(file_) == 0;
    return ok_;
  }
  bool Commit() override {
    if (!file_) return false;
    bool flushed = std::fflush(file_) == 0;
    bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok_ && flushed && closed;
  }

 private:
  FILE* file_;
  bool ok_ = true;
};

class WindowsAtomicFile : public OutputFile {
 public:
  WindowsAtomicFile(FILE* file, std::string temp_path, std::string final_path)
      : file_(file),
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
    if (committed_ || !file_.Commit()) return false;
    if (!MoveFileExA(temp_path_.c_str(), final_path_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return false;
    }
    committed_ = true;
    return true;
  }

 private:
  WindowsOutputFile file_;
  std::string temp_path_;
  std::string final_path_;
  bool committed_ = false;
};

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class WindowsPlatform : public Platform {
 public:
  std::unique_ptr<InputFile> OpenInput(const std::string& path) override {
    if (IsDirectory(path)) return nullptr;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    return std::make_unique<WindowsInputFile>(file);
  }

  std::unique_ptr<OutputFile> CreateFile(const std::string& path) override {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return nullptr;
    return std::make_unique<WindowsOutputFile>(file);
  }

  std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) override {
    if (IsDirectory(path)) return nullptr;
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string temp = path + ".tmp" + std::to_string(_getpid()) + "-" +
                         std::to_string(counter_++);
      // "x": fail when the name exists, so no two writers share a file.
      FILE* file = std::fopen(temp.c_str(), "wbx");
      if (file) return std::make_unique<WindowsAtomicFile>(file, temp, path);
      if (errno != EEXIST) return nullptr;
    }
    return nullptr;
  }

  DirectoryResult CreateDirectory(const std::string& path) override {
    if (_mkdir(path.c_str()) == 0 || errno == EEXIST) {
      return DirectoryResult::kCreatedOrExists;
    }
    if (errno == ENOENT) return DirectoryResult::kMissingParent;
    return DirectoryResult::kOtherError;
  }

  void WriteConsole(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }

  int64_t Now() override { return static_cast<int64_t>(std::time(nullptr)); }

  LocalTime ToLocalTime(int64_t seconds) override {
    __time64_t t = seconds;
    struct tm tm_value {};
    _localtime64_s(&tm_value, &t);
    return LocalTimeFromTm(tm_value);
  }

 private:
  unsigned counter_ = 0;
};

}  // namespace

char PathSeparator() { return '\\'; }
bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::unique_ptr<Platform> MakeSystemPlatform() {
  return std::make_unique<WindowsPlatform>();
}

}  // namespace tallyhawk

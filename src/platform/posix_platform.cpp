// The platform on Linux and other POSIX systems.
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/platform.h"

namespace tallyhawk {
namespace {

constexpr size_t kBufferSize = 1 << 16;

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

class PosixInputFile : public InputFile {
 public:
  explicit PosixInputFile(int fd) : fd_(fd) {}
  ~PosixInputFile() override { ::close(fd_); }

  size_t Read(char* buffer, size_t size) override {
    size_t total = 0;
    while (total < size) {
      ssize_t n = ::read(fd_, buffer + total, size - total);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      total += static_cast<size_t>(n);
    }
    return total;
  }

  uint64_t SizeHint() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    return static_cast<uint64_t>(st.st_size);
  }

 private:
  int fd_;
};

// Buffers writes; a failed flush makes every later operation fail too.
class PosixOutputFile : public OutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) { buffer_.reserve(kBufferSize); }
  ~PosixOutputFile() override {
    if (fd_ >= 0) {
      Flush();
      ::close(fd_);
    }
  }

  bool Write(std::string_view bytes) override {
    if (!ok_ || fd_ < 0) return false;
    if (buffer_.size() + bytes.size() > kBufferSize) {
      if (!Flush()) return false;
      if (bytes.size() >= kBufferSize) {
        ok_ = WriteAll(fd_, bytes.data(), bytes.size());
        return ok_;
      }
    }
    buffer_.append(bytes);
    return true;
  }

  bool Flush() override {
    if (ok_ && fd_ >= 0 && !buffer_.empty()) {
      ok_ = WriteAll(fd_, buffer_.data(), buffer_.size());
    }
    buffer_.clear();
    return ok_ && fd_ >= 0;
  }

  bool Commit() override {
    if (fd_ < 0) return false;
    bool flushed = Flush();
    bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return flushed && closed;
  }

 private:
  int fd_;
  bool ok_ = true;
  std::string buffer_;
};

class PosixAtomicFile : public OutputFile {
 public:
  PosixAtomicFile(int fd, std::string temp_path, std::string final_path)
      : file_(fd),
        temp_path_(std::move(temp_path)),
        final_path_(std::move(final_path)) {}
  ~PosixAtomicFile() override {
    if (!committed_) {
      file_.Commit();
      ::unlink(temp_path_.c_str());
    }
  }

  bool Write(std::string_view bytes) override { return file_.Write(bytes); }
  bool Flush() override { return file_.Flush(); }

  bool Commit() override {
    if (committed_) return false;
    if (!file_.Commit()) return false;
    if (::rename(temp_path_.c_str(), final_path_.c_str()) != 0) return false;
    committed_ = true;
    return true;
  }

 private:
  PosixOutputFile file_;
  std::string temp_path_;
  std::string final_path_;
  bool committed_ = false;
};

// Gives the process what a console program may take for granted, whatever
// state it was started in.
void PrepareProcess() {
  // A closed standard descriptor would be handed to the first file the run
  // opens (the log), and the console text would then be written into it.
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
      ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    }
  }
  // Console write errors are not looked at, so a reader of the console that
  // goes away must not end the run: the write fails with EPIPE instead.
  ::signal(SIGPIPE, SIG_IGN);
}

class PosixPlatform : public Platform {
 public:
  PosixPlatform() { PrepareProcess(); }

  std::unique_ptr<InputFile> OpenInput(const std::string& path) override {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixInputFile>(fd);
  }

  std::unique_ptr<OutputFile> CreateFile(const std::string& path) override {
    int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixOutputFile>(fd);
  }

  std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) override {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return nullptr;
    // The temporary name carries the process ID and a counter, so two runs at
    // once, or two reports of one run, never share a temporary file.
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string temp = path + ".tmp" + std::to_string(::getpid()) + "-" +
                         std::to_string(counter_++);
      int fd =
          ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) return std::make_unique<PosixAtomicFile>(fd, temp, path);
      if (errno != EEXIST) return nullptr;
    }
    return nullptr;
  }

  DirectoryResult CreateDirectory(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) {
      return DirectoryResult::kCreatedOrExists;
    }
    if (errno == ENOENT || errno == ENOTDIR)
      return DirectoryResult::kMissingParent;
    return DirectoryResult::kOtherError;
  }

  void WriteConsole(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }

  int64_t Now() override { return static_cast<int64_t>(::time(nullptr)); }

  LocalTime ToLocalTime(int64_t seconds) override {
    time_t t = static_cast<time_t>(seconds);
    struct tm tm_value {};
    ::tzset();
    ::localtime_r(&t, &tm_value);
    return LocalTimeFromTm(tm_value);
  }

 private:
  unsigned counter_ = 0;
};

}  // namespace

char PathSeparator() { return '/'; }

std::unique_ptr<Platform> MakeSystemPlatform() {
  return std::make_unique<PosixPlatform>();
}

}  // namespace tallyhawk

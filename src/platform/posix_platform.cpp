// The platform on Linux and other POSIX systems.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef __linux__
#include <sys/vfs.h>
#endif
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace tallyhawk {
namespace {

constexpr size_t kBufferSize = 1 << 16;

// The platform's own reason for refusing an output.
constexpr char kIsInput[] =
    "it is one of the databases, which are never written";

// Notes errno as the reason of a failure and returns false.
bool Failure() {
  NoteSystemFailure(errno);
  return false;
}

// Writes all of `data`. When the disk is full, `free_space` (if any) may
// free some, and tells whether it did: then the write goes on.
bool WriteAll(int fd, const char* data, size_t size,
              const std::function<bool()>& free_space = nullptr) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      const bool full = errno == ENOSPC || errno == EDQUOT;
      if (full && free_space && free_space()) continue;
      return Failure();
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
      if (n < 0) Fail();
      if (n <= 0) break;
      total += static_cast<size_t>(n);
    }
    return total;
  }

  size_t ReadAt(char* buffer, size_t size, uint64_t offset) override {
    size_t total = 0;
    while (total < size) {
      ssize_t n = ::pread(fd_, buffer + total, size - total,
                          static_cast<off_t>(offset + total));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail();
      if (n <= 0) break;
      total += static_cast<size_t>(n);
    }
    return total;
  }

  bool Failed() const override { return failed_; }
  std::string FailureReason() const override {
    std::lock_guard<std::mutex> lock(reason_mutex_);
    return reason_;
  }

  uint64_t SizeHint() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    return static_cast<uint64_t>(st.st_size);
  }

 private:
  int fd_;
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

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The text of the symbolic link `path`. False when it cannot be read.
bool ReadLink(const std::string& path, std::string* text) {
  char buffer[PATH_MAX];
  const ssize_t size = ::readlink(path.c_str(), buffer, sizeof buffer);
  if (size < 0) return false;
  if (static_cast<size_t>(size) == sizeof buffer) {
    errno = ENAMETOOLONG;
    return false;
  }
  text->assign(buffer, static_cast<size_t>(size));
  return true;
}

// The most symbolic links followed for one name, as many as Linux follows:
// a longer chain is taken for a loop.
constexpr int kMostLinks = 40;

// The name that `path` finally leads to: `path` itself unless it is a
// symbolic link, else the name that the link (or chain of links) ends in, a
// relative link read against the link's own directory. An output is written
// there, so that a link that publishes it stays a link. That name need not
// exist. False (errno ELOOP) for a loop or too long a chain, or when a link
// cannot be read.
bool FollowLinks(std::string path, std::string* final_name) {
  for (int links = 0; links <= kMostLinks; ++links) {
    struct stat st;
    // A name that is missing or cannot be looked at is left to the open.
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      *final_name = std::move(path);
      return true;
    }
    std::string target;
    if (!ReadLink(path, &target)) return false;
    if (!target.starts_with('/')) target.insert(0, SplitDirectory(path).first);
    path = std::move(target);
  }
  errno = ELOOP;
  return false;
}

// The inputs that no output may replace or empty.
class InputGuard {
 public:
  // The inputs are identified once: stat-ing them again for every output
  // would cost a few system calls per report.
  void Set(const std::vector<std::string>& paths) {
    paths_ = paths;
    missing_.clear();
    known_.clear();
    for (const std::string& path : paths_) {
      struct stat input;
      if (::stat(path.c_str(), &input) == 0) {
        known_.push_back(input);
      } else {
        missing_.push_back(path);
      }
    }
  }
  // Whether `file` is one of the inputs, under whatever name. An input
  // missing when the guard was set is looked for again, in case it appeared.
  bool Covers(const struct stat& file) const {
    for (const struct stat& input : known_) {
      if (SameFile(input, file)) return true;
    }
    struct stat input;
    for (const std::string& path : missing_) {
      if (::stat(path.c_str(), &input) == 0 && SameFile(input, file)) {
        return true;
      }
    }
    return false;
  }
  // Whether `path`, which names no file yet, is spelled as one of the
  // inputs: creating it would make a missing input appear.
  bool Names(const std::string& path) const {
    return std::find(paths_.begin(), paths_.end(), path) != paths_.end();
  }

 private:
  std::vector<std::string> paths_;
  std::vector<struct stat> known_;
  std::vector<std::string> missing_;
};

// Buffers writes; a failed flush makes every later operation fail too.
class PosixOutputFile : public OutputFile {
 public:
  // `free_space`, when given, may free space on the disk when it is full.
  explicit PosixOutputFile(int fd, std::function<bool()> free_space = nullptr)
      : fd_(fd), free_space_(std::move(free_space)) {
    buffer_.reserve(kBufferSize);
  }
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
        ok_ = WriteAll(fd_, bytes.data(), bytes.size(), free_space_);
        return ok_;
      }
    }
    buffer_.append(bytes);
    return true;
  }

  bool Flush() override {
    if (ok_ && fd_ >= 0 && !buffer_.empty()) {
      ok_ = WriteAll(fd_, buffer_.data(), buffer_.size(), free_space_);
    }
    buffer_.clear();
    return ok_ && fd_ >= 0;
  }

  bool Commit() override {
    if (fd_ < 0) return false;
    bool flushed = Flush();
    bool closed = ::close(fd_) == 0 || Failure();
    fd_ = -1;
    return flushed && closed;
  }

 private:
  int fd_;
  bool ok_ = true;
  std::string buffer_;
  std::function<bool()> free_space_;
};

class PosixHeldFile : public HeldOutputFile {
 public:
  // `created_path` is the path when opening created the file, else empty.
  PosixHeldFile(int fd, const InputGuard& guard, std::string created_path)
      : fd_(fd), guard_(guard), created_path_(std::move(created_path)) {}
  ~PosixHeldFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  std::unique_ptr<OutputFile> Start() override {
    struct stat st;
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return Failure(), nullptr;
    if (guard_.Covers(st)) {
      NoteFailure(kIsInput);
      struct stat named;
      if (!created_path_.empty() && st.st_size == 0 &&
          ::stat(created_path_.c_str(), &named) == 0 && SameFile(st, named)) {
        ::unlink(created_path_.c_str());
      }
      return nullptr;
    }
    // Only a regular file has contents to drop; a device such as /dev/null
    // is written as it is.
    if (S_ISREG(st.st_mode) && ::ftruncate(fd_, 0) != 0) {
      return Failure(), nullptr;
    }
    return std::make_unique<PosixOutputFile>(std::exchange(fd_, -1));
  }

 private:
  int fd_;
  const InputGuard& guard_;
  std::string created_path_;
};

// A temporary file is in use while its writer holds an exclusive flock() on
// it; the system drops the lock when the writer ends, however it ends. Takes
// that lock on the new file `fd` at `temp_path`, and makes sure that the
// name still leads to it: a clean-up may have taken it for a dead run's
// before the lock was held. False when the name is no longer the file's.
bool MarkInUse(int fd, const std::string& temp_path) {
  while (::flock(fd, LOCK_EX) != 0) {
    // Without locks on this file system nothing can be marked; a clean-up
    // there cannot take the lock either, so it never removes the file.
    if (errno != EINTR) return true;
  }
  struct stat opened, named;
  return ::fstat(fd, &opened) == 0 && ::lstat(temp_path.c_str(), &named) == 0 &&
         SameFile(opened, named);
}

// Removes the temporary file `path` when no writer holds it: its run has
// ended without finishing it. Never touches a protected input, a file that
// is not regular, or one that another process is writing.
void RemoveIfAbandoned(const std::string& path, const InputGuard& guard) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat opened, named;
  if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
      !guard.Covers(opened) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named)) {
    ::unlink(path.c_str());
  }
  ::close(fd);
}

// The temporary files of this program found in `directory` (empty for the
// working directory), by entry name.
std::vector<std::string> ListTemporaries(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return names;
  while (const struct dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name.find(".tallyhawk-") != std::string_view::npos &&
        name.ends_with(".tmp")) {
      names.emplace_back(name);
    }
  }
  ::closedir(dir);
  return names;
}

// Closes descriptors on threads of its own. When a rename replaces the
// last name of a file, the system frees that file there and then, and first
// waits for any of its pages still being written out: about half of what a
// rename over an old report costs. Holding the old file across the rename,
// and letting it go here, keeps that off the thread that renames, which
// must rename the reports one after another. Freeing a file mostly waits
// for the disk (where blocks are discarded as they are freed, for each
// file), so a few threads free files at once; another starts only when
// files wait for the ones there are. Without them a full run on the large
// zone took 1.17 times as long (scripts/compare-speed.sh on a root ext4
// mounted with discard: the median of 11 runs of the script, 265 pairs).
// ReplacedFilesAreLetGo fails when they leave a file open at the end.
class BackgroundCloser {
 public:
  BackgroundCloser() = default;
  BackgroundCloser(const BackgroundCloser&) = delete;
  BackgroundCloser& operator=(const BackgroundCloser&) = delete;
  ~BackgroundCloser() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }

  // Closes `fd` on a closer thread; here when too many wait already (each
  // holds an old file's space on the disk), or no thread can start. Every
  // descriptor handed over is closed before the closer is destroyed.
  void Close(int fd) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (pending_.size() < kMostPending && Started()) {
        pending_.push_back(fd);
        wake_.notify_one();
        return;
      }
    }
    ::close(fd);
  }

  // Lets go of every file handed over so far, here and on the closer
  // threads, and returns once all are closed: a disk that is full gets
  // their space back before a report's write fails for want of it, so the
  // outcome does not depend on how far the threads have come. Whether there
  // was any.
  bool Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool any = !pending_.empty() || closing_ > 0;
    while (!pending_.empty()) {
      ::close(pending_.front());
      pending_.pop_front();
    }
    closed_.wait(lock, [this] { return closing_ == 0; });
    return any;
  }

 private:
  static constexpr size_t kMostPending = 32;
  static constexpr size_t kThreads = 4;

  // Under mutex_.
  bool Started() {
    if (threads_.size() >= kThreads || pending_.size() < threads_.size()) {
      return !threads_.empty();
    }
    try {
      threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      return !threads_.empty();
    }
    return true;
  }

  void Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
      if (pending_.empty()) return;  // stopping, with nothing left
      const int fd = pending_.front();
      pending_.pop_front();
      ++closing_;
      lock.unlock();
      ::close(fd);
      lock.lock();
      if (--closing_ == 0) closed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable closed_;
  std::deque<int> pending_;
  size_t closing_ = 0;  // taken from pending_, being closed
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// A descriptor that holds the file named `path` when a rename over that
// name would free it: a regular file with no other name. Else -1: also on
// NFS, whose client keeps a replaced file that is still held visible in the
// directory (as ".nfs..."), and where the system has no way to hold a file
// without opening it. O_PATH takes the directory entry itself, so a FIFO or
// a device is never opened.
int HoldReplaced(const std::string& path) {
#ifdef __linux__
  const int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  constexpr decltype(statfs::f_type) kNfs = 0x6969;
  struct stat st;
  struct statfs fs;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
      ::fstatfs(fd, &fs) == 0 && fs.f_type != kNfs) {
    return fd;
  }
  ::close(fd);
  return -1;
#else
  (void)path;
  return -1;
#endif
}

class PosixAtomicFile : public OutputFile {
 public:
  // `lock_fd` is a second descriptor of the file that keeps it marked as in
  // use until it has been renamed or removed.
  PosixAtomicFile(int fd, int lock_fd, std::string temp_path,
                  std::string final_path,
                  std::shared_ptr<BackgroundCloser> closer)
      // A disk full of replaced files still held gets their space first.
      : file_(fd, [closer] { return closer->Drain(); }),
        lock_fd_(lock_fd),
        closer_(std::move(closer)),
        temp_path_(std::move(temp_path)),
        final_path_(std::move(final_path)) {}
  ~PosixAtomicFile() override {
    if (!committed_) {
      file_.Commit();
      ::unlink(temp_path_.c_str());
    }
    if (lock_fd_ >= 0) ::close(lock_fd_);
  }

  bool Write(std::string_view bytes) override { return file_.Write(bytes); }
  bool Flush() override { return file_.Flush(); }

  bool Commit() override {
    if (committed_) return false;
    if (!file_.Commit()) return false;
    // The file that the rename replaces is freed when the closer lets it go.
    const int replaced = HoldReplaced(final_path_);
    // Still marked as in use while it is renamed: the lock descriptor is
    // closed only afterwards.
    const bool renamed =
        ::rename(temp_path_.c_str(), final_path_.c_str()) == 0 || Failure();
    if (replaced >= 0) closer_->Close(replaced);
    if (!renamed) return false;
    committed_ = true;
    ::close(std::exchange(lock_fd_, -1));
    return true;
  }

 private:
  PosixOutputFile file_;
  int lock_fd_;
  // Shared with the platform: a file may outlive it.
  std::shared_ptr<BackgroundCloser> closer_;
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

// Whether files may be created in the directory `directory`: it exists, is
// a directory, and this process may write and search it (a file system
// mounted read-only refuses too).
bool CanWriteIn(const std::string& directory) {
  struct stat st;
  if (::stat(directory.c_str(), &st) != 0) return Failure();
  if (!S_ISDIR(st.st_mode)) {
    NoteFailure("it is not a directory");
    return false;
  }
  return ::faccessat(AT_FDCWD, directory.c_str(), W_OK | X_OK, AT_EACCESS) ==
             0 ||
         Failure();
}

// The regular files of the directory `path`, by name; a missing one has
// none. Entries whose type the directory does not tell are looked up.
bool ListRegularFiles(const std::string& path,
                      std::vector<std::string>* names) {
  names->clear();
  const std::string directory = path.empty() ? "." : path;
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return errno == ENOENT || Failure();
  errno = 0;
  while (const struct dirent* entry = ::readdir(dir)) {
    bool regular = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      const std::string full = directory + "/" + entry->d_name;
      regular = ::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    if (regular) names->emplace_back(entry->d_name);
    errno = 0;
  }
  const bool read = errno == 0 || Failure();
  ::closedir(dir);
  return read;
}

// Removes `path` when it is a regular file; never a directory or what a link
// leads to.
bool RemoveRegularFile(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return Failure();
  if (!S_ISREG(st.st_mode)) {
    NoteFailure("it is not a regular file");
    return false;
  }
  return ::unlink(path.c_str()) == 0 || Failure();
}

class PosixPlatform : public Platform {
 public:
  PosixPlatform() : pid_(static_cast<unsigned long>(::getpid())) {
    PrepareProcess();
    // The zone is read once; localtime_r does not read it again by itself.
    ::tzset();
  }

  std::unique_ptr<InputFile> OpenInput(const std::string& path) override {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer; it is
    // refused below like everything else that is not a regular file.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Failure(), nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
      Failure();
      ::close(fd);
      return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
      NoteFailure(S_ISDIR(st.st_mode) ? "it is a directory"
                                      : "it is not a regular file");
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixInputFile>(fd);
  }

  std::unique_ptr<InputFile> OpenConfigInput(const std::string& path,
                                             bool* missing) override {
    *missing = false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      *missing = errno == ENOENT || errno == ENOTDIR;
      return Failure(), nullptr;
    }
    struct stat st;
    const bool known = ::fstat(fd, &st) == 0 || Failure();
    if (!known || S_ISDIR(st.st_mode)) {
      if (known) NoteFailure("it is a directory");
      *missing = known;  // a directory holds no settings to lose
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixInputFile>(fd);
  }

  void ProtectInputs(const std::vector<std::string>& paths) override {
    guard_.Set(paths);
  }

  std::unique_ptr<HeldOutputFile> OpenOutput(const std::string& path) override {
    // Opened under the name the links lead to, as an atomic file is: a file
    // created through a dangling link is then known as created.
    std::string target;
    if (!FollowLinks(path, &target)) return Failure(), nullptr;
    // Tells a file that this open creates from one that was there.
    int fd =
        ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return std::make_unique<PosixHeldFile>(fd, guard_, target);
    if (errno != EEXIST) return Failure(), nullptr;
    fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return Failure(), nullptr;
    return std::make_unique<PosixHeldFile>(fd, guard_, "");
  }

  std::unique_ptr<OutputFile> CreateAtomicFile(
      const std::string& path) override {
    // A symbolic link stays: the file it names is the one replaced, by a
    // temporary file made in that file's directory.
    std::string target;
    if (!FollowLinks(path, &target)) return Failure(), nullptr;
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (guard_.Names(path) || guard_.Names(target) ||
        (exists && guard_.Covers(st))) {
      NoteFailure(kIsInput);
      return nullptr;
    }
    if (exists && S_ISDIR(st.st_mode)) {
      NoteFailure("it is a directory");
      return nullptr;
    }
    RemoveAbandonedTemporaries(target);
    // The temporary name carries the process ID and a counter, so two runs at
    // once, or two reports of one run, never share a temporary file.
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string temp = TemporaryName(target, pid_, counter_++);
      int fd =
          ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        return Failure(), nullptr;
      }
      if (!MarkInUse(fd, temp)) {
        ::close(fd);  // removed by a clean-up; the next name will do
        continue;
      }
      int lock_fd = ::dup(fd);
      if (lock_fd < 0) {
        Failure();
        ::unlink(temp.c_str());
        ::close(fd);
        return nullptr;
      }
      return std::make_unique<PosixAtomicFile>(fd, lock_fd, temp, target,
                                               closer_);
    }
    NoteFailure("no free temporary name beside it");
    return nullptr;
  }

  DirectoryResult CreateDirectory(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) {
      return DirectoryResult::kCreatedOrExists;
    }
    Failure();
    if (errno == ENOENT || errno == ENOTDIR)
      return DirectoryResult::kMissingParent;
    return DirectoryResult::kOtherError;
  }

  void WriteConsole(std::string_view text) override {
    std::fwrite(text.data(), 1, text.size(), stdout);
    // Whatever is held goes out when the program ends.
    if (console_flush_.ShouldFlush(text)) std::fflush(stdout);
  }

  void WriteError(std::string_view text) override {
    // Unbuffered, so that a line is whole even when the console's text is
    // held; a failed write is not looked at, as on the console.
    std::fwrite(text.data(), 1, text.size(), stderr);
  }

  std::string WorkingDirectory() override {
    std::string path(256, '\0');
    while (::getcwd(path.data(), path.size()) == nullptr) {
      if (errno != ERANGE) return ".";
      path.resize(path.size() * 2);
    }
    path.resize(std::char_traits<char>::length(path.c_str()));
    return path;
  }

  bool CanWriteFile(const std::string& path) override {
    if (path.empty()) return NoteSystemFailure(ENOENT), false;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      NoteFailure("it is a directory");
      return false;
    }
    const std::string directory = SplitDirectory(path).first;
    return CanWriteIn(directory.empty() ? "." : directory);
  }

  DirectoryProbe ProbeDirectory(const std::string& path) override {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    struct stat st;
    if (::stat(name.c_str(), &st) == 0) {
      return !S_ISDIR(st.st_mode) || CanWriteIn(name)
                 ? DirectoryProbe::kExists
                 : DirectoryProbe::kRefused;
    }
    if (errno != ENOENT) return Failure(), DirectoryProbe::kRefused;
    const std::string parent = SplitDirectory(name).first;
    return CanWriteIn(parent.empty() ? "." : parent)
               ? DirectoryProbe::kWouldCreate
               : DirectoryProbe::kRefused;
  }

  int64_t Now() override { return static_cast<int64_t>(::time(nullptr)); }

  LocalTime ToLocalTime(int64_t seconds) override {
    time_t t = static_cast<time_t>(seconds);
    struct tm tm_value {};
    ::localtime_r(&t, &tm_value);
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
  const unsigned long pid_;
  ConsoleFlushPolicy console_flush_;
  // Removes what dead runs left of `path`'s temporary files. Each directory
  // is listed once per run; the entries found are checked when their report
  // is written. Reports may be created on several threads at once.
  void RemoveAbandonedTemporaries(const std::string& path) {
    const auto [directory, base] = SplitDirectory(path);
    std::lock_guard<std::mutex> lock(temporaries_mutex_);
    auto found = temporaries_.find(directory);
    if (found == temporaries_.end()) {
      found = temporaries_.emplace(directory, ListTemporaries(directory)).first;
    }
    std::vector<std::string>& names = found->second;
    for (auto name = names.begin(); name != names.end();) {
      if (IsTemporaryOf(*name, base)) {
        RemoveIfAbandoned(directory + *name, guard_);
        name = names.erase(name);
      } else {
        ++name;
      }
    }
  }

  std::atomic<unsigned> counter_ = 0;
  InputGuard guard_;
  std::mutex temporaries_mutex_;
  std::map<std::string, std::vector<std::string>> temporaries_;
  std::shared_ptr<BackgroundCloser> closer_ =
      std::make_shared<BackgroundCloser>();
};

}  // namespace

void NoteSystemFailure(int code) {
  NoteFailure(std::generic_category().message(code));
}

bool IsAbsolutePath(std::string_view path) { return path.starts_with('/'); }

char PathSeparator() { return '/'; }
bool IsPathSeparator(char c) { return c == '/'; }

void PrefaultForWriting(const void* begin, size_t size) {
#ifdef MADV_POPULATE_WRITE
  // madvise takes whole pages: the range is narrowed to those inside it.
  static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t first =
      (reinterpret_cast<uintptr_t>(begin) + page - 1) & ~(page - 1);
  const uintptr_t end =
      (reinterpret_cast<uintptr_t>(begin) + size) & ~(page - 1);
  if (first < end) {
    // A failure (an old kernel, a range not mapped) leaves the faults to
    // the writer.
    madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
  }
#else
  (void)begin;
  (void)size;
#endif
}

std::unique_ptr<Platform> MakeSystemPlatform() {
  return std::make_unique<PosixPlatform>();
}

}  // namespace tallyhawk

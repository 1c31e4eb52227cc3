#include "support/fake_platform.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace tallyhawk::testing {
namespace {

class FakeInputFile : public InputFile {
 public:
  FakeInputFile(FakePlatform& platform, std::string path, std::string bytes)
      : platform_(platform), path_(std::move(path)), bytes_(std::move(bytes)) {}
  size_t Read(char* buffer, size_t size) override {
    std::lock_guard<std::recursive_mutex> lock(platform_.mutex.m);
    if (failed_ || platform_.Fails("read", path_)) {
      failed_ = true;
      return 0;
    }
    size_t n = std::min(size, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }
  size_t ReadAt(char* buffer, size_t size, uint64_t offset) override {
    std::lock_guard<std::recursive_mutex> lock(platform_.mutex.m);
    if (failed_ || platform_.Fails("read", path_)) {
      failed_ = true;
      return 0;
    }
    if (offset >= bytes_.size()) return 0;
    size_t n = std::min<uint64_t>(size, bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, n);
    return n;
  }
  bool Failed() const override { return failed_; }
  std::string FailureReason() const override {
    return "injected read " + path_;
  }
  uint64_t SizeHint() override { return bytes_.size(); }

 private:
  FakePlatform& platform_;
  std::string path_;
  std::string bytes_;
  size_t position_ = 0;
  bool failed_ = false;
};

class FakeOutputFile : public OutputFile {
 public:
  FakeOutputFile(FakePlatform& platform, std::string path, bool atomic)
      : platform_(platform), path_(std::move(path)), atomic_(atomic) {
    if (atomic_) ++platform_.open_temporaries;
  }
  ~FakeOutputFile() override {
    std::lock_guard<std::recursive_mutex> lock(platform_.mutex.m);
    if (atomic_ && !committed_) {
      --platform_.open_temporaries;
      platform_.temporary_bytes -= pending_.size();
    }
  }

  bool Write(std::string_view bytes) override {
    std::lock_guard<std::recursive_mutex> lock(platform_.mutex.m);
    if (platform_.Fails("write", path_) || !platform_.HasRoomFor(bytes.size()))
      return false;
    (atomic_ ? pending_ : platform_.files[path_]).append(bytes);
    if (atomic_) platform_.temporary_bytes += bytes.size();
    return true;
  }
  bool Flush() override {
    std::lock_guard<std::recursive_mutex> lock(platform_.mutex.m);
    return !platform_.Fails("flush", path_);
  }

  bool Commit() override {
    std::lock_guard<std::recursive_mutex> lock(platform_.mutex.m);
    if (committed_ || platform_.Fails("close", path_)) return false;
    if (atomic_) {
      if (platform_.Fails("rename", path_)) return false;
      platform_.files[path_] = pending_;
      --platform_.open_temporaries;
      platform_.temporary_bytes -= pending_.size();
    }
    committed_ = true;
    return true;
  }

 private:
  FakePlatform& platform_;
  std::string path_;
  bool atomic_;
  bool committed_ = false;
  std::string pending_;
};

class FakeHeldFile : public HeldOutputFile {
 public:
  FakeHeldFile(FakePlatform& platform, std::string path, bool created)
      : platform_(platform), path_(std::move(path)), created_(created) {}
  std::unique_ptr<OutputFile> Start() override {
    std::lock_guard<std::recursive_mutex> lock(platform_.mutex.m);
    if (platform_.Fails("truncate", path_)) return nullptr;
    if (platform_.IsProtected(path_)) {
      NoteFailure("it is one of the databases");
      if (created_) platform_.files.erase(path_);
      return nullptr;
    }
    platform_.files[path_].clear();
    return std::make_unique<FakeOutputFile>(platform_, path_, false);
  }

 private:
  FakePlatform& platform_;
  std::string path_;
  bool created_;
};

}  // namespace

bool FakePlatform::Fails(const char* kind, const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  ++operation_count;
  if (record_operations) operations.push_back(std::string(kind) + " " + path);
  if (operation_count != failing_operation) return false;
  failed_operation = std::string(kind) + " " + path;
  NoteFailure("injected " + failed_operation);
  return true;
}

size_t FakePlatform::DiskUsed() const {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  size_t used = temporary_bytes;
  for (const auto& [path, bytes] : files) used += bytes.size();
  return used;
}

bool FakePlatform::HasRoomFor(size_t size) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  if (disk_capacity == SIZE_MAX || DiskUsed() + size <= disk_capacity)
    return true;
  NoteFailure("No space left on device");
  return false;
}

bool FakePlatform::CanWriteFile(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  if (std::ranges::count(unwritable, path) == 0) return true;
  NoteFailure("Permission denied");
  return false;
}

bool FakePlatform::IsProtected(const std::string& path) const {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  return std::ranges::count(protected_inputs, path) > 0;
}

std::unique_ptr<InputFile> FakePlatform::OpenInput(const std::string& path) {
  bool missing = false;
  return OpenConfigInput(path, &missing);
}

std::unique_ptr<InputFile> FakePlatform::OpenConfigInput(
    const std::string& path, bool* missing) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  auto it = files.find(path);
  // A failing open finds a file that cannot be read, whether or not it is
  // there.
  const bool fails = Fails("open", path);
  *missing = it == files.end() && !fails;
  if (*missing) NoteFailure("No such file or directory");
  if (fails || it == files.end()) return nullptr;
  return std::make_unique<FakeInputFile>(*this, path, it->second);
}

std::unique_ptr<HeldOutputFile> FakePlatform::OpenOutput(
    const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  if (Fails("open", path)) return nullptr;
  const bool created = files.try_emplace(path).second;
  return std::make_unique<FakeHeldFile>(*this, path, created);
}

std::unique_ptr<OutputFile> FakePlatform::CreateAtomicFile(
    const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  if (Fails("open", path)) return nullptr;
  if (IsProtected(path)) {
    NoteFailure("it is one of the databases");
    return nullptr;
  }
  return std::make_unique<FakeOutputFile>(*this, path, true);
}

DirectoryResult FakePlatform::CreateDirectory(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  return Fails("mkdir", path) ? DirectoryResult::kOtherError
                              : DirectoryResult::kCreatedOrExists;
}

// The files directly in `path`: those whose path starts with it and has no
// separator after that.
bool FakePlatform::ListFiles(const std::string& path,
                             std::vector<std::string>* names) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  names->clear();
  if (Fails("list", path)) return false;
  for (const auto& [file, bytes] : files) {
    if (!file.starts_with(path)) continue;
    const std::string name = file.substr(path.size());
    if (name.find_first_of("/\\") == std::string::npos) names->push_back(name);
  }
  return true;
}

bool FakePlatform::RemoveFile(const std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);
  if (Fails("remove", path)) return false;
  if (files.erase(path) == 0) {
    NoteFailure("No such file or directory");
    return false;
  }
  return true;
}

LocalTime FakePlatform::ToLocalTime(int64_t seconds) {
  std::lock_guard<std::recursive_mutex> lock(mutex.m);  // for gmtime's result
  const std::time_t t = static_cast<std::time_t>(seconds);
  return LocalTimeFromTm(*std::gmtime(&t));
}

std::string DifferingFiles(const FakePlatform& a, const FakePlatform& b) {
  std::string differing;
  for (const auto& [path, bytes] : a.files) {
    auto it = b.files.find(path);
    if (it == b.files.end() || it->second != bytes) differing += path + "\n";
  }
  for (const auto& [path, bytes] : b.files) {
    if (!a.files.count(path)) differing += path + "\n";
  }
  return differing;
}

}  // namespace tallyhawk::testing

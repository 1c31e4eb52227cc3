#include "support/fake_platform.h"

#include <time.h>

#include <cstring>

namespace tallyhawk::testing {
namespace {

class FakeInputFile : public InputFile {
 public:
  explicit FakeInputFile(std::string bytes) : bytes_(std::move(bytes)) {}
  size_t Read(char* buffer, size_t size) override {
    size_t n = std::min(size, bytes_.size() - position_);
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  std::string bytes_;
  size_t position_ = 0;
};

class FakeOutputFile : public OutputFile {
 public:
  FakeOutputFile(FakePlatform& platform, std::string path, bool atomic)
      : platform_(platform), path_(std::move(path)), atomic_(atomic) {
    if (atomic_) {
      ++platform_.open_temporaries;
    } else {
      platform_.files[path_].clear();
    }
  }
  ~FakeOutputFile() override {
    if (atomic_ && !committed_) --platform_.open_temporaries;
  }

  bool Write(std::string_view bytes) override {
    if (platform_.failing_writes.count(path_)) return false;
    auto left = platform_.writes_before_failure.find(path_);
    if (left != platform_.writes_before_failure.end() && left->second-- <= 0) {
      return false;
    }
    if (atomic_) {
      pending_.append(bytes);
    } else {
      platform_.files[path_].append(bytes);
    }
    return true;
  }

  bool Flush() override { return !platform_.failing_writes.count(path_); }

  bool Commit() override {
    if (committed_ || platform_.failing_commits.count(path_)) return false;
    if (atomic_) {
      platform_.files[path_] = pending_;
      --platform_.open_temporaries;
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

}  // namespace

std::unique_ptr<InputFile> FakePlatform::OpenInput(const std::string& path) {
  auto it = files.find(path);
  if (it == files.end() || unopenable.count(path)) return nullptr;
  return std::make_unique<FakeInputFile>(it->second);
}

std::unique_ptr<OutputFile> FakePlatform::CreateFile(const std::string& path) {
  if (uncreatable.count(path)) return nullptr;
  return std::make_unique<FakeOutputFile>(*this, path, false);
}

std::unique_ptr<OutputFile> FakePlatform::CreateAtomicFile(
    const std::string& path) {
  if (uncreatable.count(path)) return nullptr;
  return std::make_unique<FakeOutputFile>(*this, path, true);
}

DirectoryResult FakePlatform::CreateDirectory(const std::string& path) {
  auto it = directory_results.find(path);
  if (it != directory_results.end()) return it->second;
  created_directories.insert(path);
  return DirectoryResult::kCreatedOrExists;
}

LocalTime FakePlatform::ToLocalTime(int64_t seconds) {
  time_t t = static_cast<time_t>(seconds);
  struct tm tm_value {};
  gmtime_r(&t, &tm_value);
  return LocalTimeFromTm(tm_value);
}

}  // namespace tallyhawk::testing

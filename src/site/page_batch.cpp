#include "site/page_batch.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tallyhawk {
namespace {

constexpr size_t kDots = 10;

class Batch {
 public:
  Batch(size_t count,
        const std::function<void(size_t page, size_t thread)>& write)
      : count_(count), write_(write) {}

  // Takes pages until none is left or one failed; true while it may go on.
  bool WriteNext(size_t thread) {
    if (failed_.load(std::memory_order_relaxed)) return false;
    const size_t page = next_.fetch_add(1);
    if (page >= count_) return false;
    try {
      write_(page, thread);
    } catch (...) {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
      failed_ = true;
      return false;
    }
    done_.fetch_add(1);
    return true;
  }

  size_t done() const { return done_.load(); }
  void RethrowFailure() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  const size_t count_;
  const std::function<void(size_t, size_t)>& write_;
  std::atomic<size_t> next_ = 0;
  std::atomic<size_t> done_ = 0;
  std::atomic<bool> failed_ = false;
  std::mutex mutex_;
  std::exception_ptr failure_;
};

}  // namespace

void WritePageBatch(
    size_t count, size_t threads,
    const std::function<void(size_t page, size_t thread)>& write,
    ProgressSink& progress) {
  Batch batch(count, write);
  std::vector<std::thread> helpers;
  for (size_t thread = 1; thread < threads && thread < count; ++thread) {
    helpers.emplace_back([&batch, thread] {
      while (batch.WriteNext(thread)) {
      }
    });
  }
  size_t dots = 0;
  const auto print_dots = [&] {
    const size_t due = count == 0 ? 0 : batch.done() * kDots / count;
    for (; dots < due; ++dots) progress.Dot();
  };
  while (batch.WriteNext(0)) print_dots();
  for (std::thread& helper : helpers) helper.join();
  batch.RethrowFailure();
  print_dots();
}

}  // namespace tallyhawk

// Computing results ahead of their use, on other threads: the results of
// the indices 0, 1, 2, ... are computed by worker threads (and by the caller
// while it would wait) while the caller takes them, strictly in that order,
// and does its own work with each (the output, which must keep its order).
// At most `window` results past the last one taken are computed or held,
// which bounds the memory they take.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace tallyhawk {

template <typename Result>
class ComputeAhead {
 public:
  // With no workers, Take() computes each result itself.
  ComputeAhead(size_t count, size_t workers, size_t window,
               std::function<Result(size_t)> compute)
      : count_(count), compute_(std::move(compute)), slots_(window) {
    for (size_t i = 0; i < workers && window > 0; ++i) {
      workers_.emplace_back([this] { Work(); });
    }
  }

  // Waits for the workers, which stop at the next result; the results not
  // taken are dropped.
  ~ComputeAhead() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  ComputeAhead(const ComputeAhead&) = delete;
  ComputeAhead& operator=(const ComputeAhead&) = delete;

  // The result of `index`, which is the one after the last taken; an
  // exception its computation threw is thrown here. While it waits for it,
  // the caller computes results that no worker has started.
  Result Take(size_t index) {
    if (workers_.empty()) return compute_(index);
    std::unique_lock<std::mutex> lock(mutex_);
    Slot& slot = slots_[index % slots_.size()];
    while (!(slot.result || slot.failure)) {
      if (ComputeNext(lock)) continue;
      changed_.wait(
          lock, [&] { return slot.result || slot.failure || CanStartNext(); });
    }
    std::exception_ptr failure = std::exchange(slot.failure, nullptr);
    std::optional<Result> result = std::exchange(slot.result, std::nullopt);
    taken_ = index + 1;
    lock.unlock();
    changed_.notify_all();
    if (failure) std::rethrow_exception(failure);
    return std::move(*result);
  }

 private:
  struct Slot {
    std::optional<Result> result;
    std::exception_ptr failure;
  };

  // Whether a result is due that no one computes yet and the window has
  // room for.
  bool CanStartNext() const {
    return next_ < count_ && next_ < taken_ + slots_.size();
  }

  // Computes the next result due, if there is one, with `lock` released
  // meanwhile; false when there is none.
  bool ComputeNext(std::unique_lock<std::mutex>& lock) {
    if (!CanStartNext()) return false;
    const size_t index = next_++;
    lock.unlock();
    Slot done;
    try {
      done.result = compute_(index);
    } catch (...) {
      done.failure = std::current_exception();
    }
    lock.lock();
    slots_[index % slots_.size()] = std::move(done);
    changed_.notify_all();
    return true;
  }

  void Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
      changed_.wait(
          lock, [&] { return stopping_ || next_ >= count_ || CanStartNext(); });
      if (stopping_ || next_ >= count_) return;
      ComputeNext(lock);
    }
  }

  const size_t count_;
  const std::function<Result(size_t)> compute_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // The results by index modulo the window.
  std::vector<Slot> slots_;
  size_t next_ = 0;   // the next index to compute
  size_t taken_ = 0;  // how many results were taken
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace tallyhawk

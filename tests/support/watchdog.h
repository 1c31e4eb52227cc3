// For code whose fault is to hang (a thread never woken, never joined): the
// test program ends, failing, rather than stalling the whole suite.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace tallyhawk::testing {

// Ends the test program with a failure when it is not destroyed within
// `limit` of its construction.
class Watchdog {
 public:
  Watchdog(std::string what,
           std::chrono::seconds limit = std::chrono::seconds(60))
      : what_(std::move(what)), thread_([this, limit] { Watch(limit); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    ended_.notify_one();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  void Watch(std::chrono::seconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (ended_.wait_for(lock, limit, [this] { return done_; })) return;
    std::fprintf(stderr, "FAILED: %s did not end within %lld s\n",
                 what_.c_str(), static_cast<long long>(limit.count()));
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
  }

  const std::string what_;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace tallyhawk::testing

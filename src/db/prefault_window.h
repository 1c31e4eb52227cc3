// Memory that a loader fills in order from its start, made ready by the
// system a step ahead of the filling thread by whichever thread would
// otherwise wait: so the filling thread meets fewer page faults, and a
// thread with work of its own never takes them on.
#pragma once

#include <atomic>
#include <cstddef>

namespace tallyhawk {

// A stretch of memory: its first byte and its size.
struct MemoryRoom {
  const void* begin = nullptr;
  size_t bytes = 0;
};

class PrefaultWindow {
 public:
  // `ahead`: how many bytes past those filled may be readied.
  PrefaultWindow(MemoryRoom room, size_t ahead) : room_(room), ahead_(ahead) {}
  PrefaultWindow(const PrefaultWindow&) = delete;
  PrefaultWindow& operator=(const PrefaultWindow&) = delete;

  // The filling thread tells how many bytes of the room it has filled.
  void Filled(size_t bytes) { filled_.store(bytes, std::memory_order_relaxed); }

  // Readies the next step of the room: past what earlier steps readied and
  // past the bytes filled, but within `ahead` bytes of them. False when no
  // such step is left. Any number of threads may call it at once.
  bool Step();

 private:
  // Small enough that a waiting thread soon sees what it waits for.
  static constexpr size_t kStepBytes = size_t{256} << 10;

  const MemoryRoom room_;
  const size_t ahead_;
  std::atomic<size_t> filled_ = 0;
  std::atomic<size_t> readied_ = 0;
};

}  // namespace tallyhawk

#include "db/record_reader.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

namespace tallyhawk {
namespace {

// The bytes of each block of a file of `size` bytes (0: not known), whole
// records.
size_t BlockSize(uint64_t size, size_t record_size) {
  const size_t most = RecordReader::kMostBlockBytes / record_size;
  if (size == 0) {
    return std::clamp<size_t>(
               RecordReader::kBlockBytesOfUnknownSize / record_size, 1, most) *
           record_size;
  }
  // A file smaller than the largest block gets a block one record larger
  // than its whole records: its one block is not full, so it is the last.
  return static_cast<size_t>(std::min<uint64_t>(most, size / record_size + 1)) *
         record_size;
}

}  // namespace

RecordReader::RecordReader(InputFile& file, size_t record_size, Prepare prepare,
                           Idle idle)
    : file_(file),
      record_size_(record_size),
      size_at_start_(file.SizeHint()),
      block_size_(BlockSize(size_at_start_, record_size)),
      prepare_(std::move(prepare)),
      idle_(std::move(idle)) {}

void RecordReader::Run(const Store& store) {
  std::thread helper;
  // A file read in one block, or of unknown size, is the caller's alone.
  int threads = size_at_start_ >= block_size_ ? kThreads : 1;
  if (threads > 1) {
    try {
      helper = std::thread([this, &store] { ReadBlocks(1, kThreads, store); });
    } catch (const std::system_error&) {
      // Without a second thread, the caller reads every block itself.
      threads = 1;
    }
  }
  ReadBlocks(0, threads, store);
  if (helper.joinable()) helper.join();
  if (failure_) std::rethrow_exception(failure_);
}

void RecordReader::ReadBlocks(int thread, int threads, const Store& store) {
  try {
    const auto bytes =
        std::make_unique_for_overwrite<unsigned char[]>(block_size_);
    for (uint64_t index = static_cast<uint64_t>(thread);;
         index += static_cast<uint64_t>(threads)) {
      const Records records{{bytes.get(), Fill(bytes.get(), index)}, thread};
      if (prepare_ && !records.bytes.empty()) prepare_(records);
      std::unique_lock<std::mutex> lock(mutex_);
      if (!WaitForTurn(lock, index)) return;
      lock.unlock();
      if (!records.bytes.empty()) store(records);
      lock.lock();
      next_to_store_ = index + 1;
      // A block that is not full is the file's last.
      if (records.bytes.size() < block_size_) stopped_ = true;
      changed_.notify_all();
      if (stopped_) return;
    }
  } catch (...) {
    Fail(std::current_exception());
  }
}

size_t RecordReader::Fill(unsigned char* bytes, uint64_t index) {
  char* const data = reinterpret_cast<char*>(bytes);
  const uint64_t start = index * block_size_;
  // Of a file whose size is known, no byte past that size is read.
  size_t wanted = block_size_;
  if (size_at_start_ > 0) {
    wanted = static_cast<size_t>(std::min<uint64_t>(
        wanted, size_at_start_ - std::min(start, size_at_start_)));
  }
  // A read may return fewer bytes than asked for without being at the end:
  // the block is read until it is full or the file is done.
  size_t size = 0;
  while (size < wanted) {
    const size_t got = file_.ReadAt(data + size, wanted - size, start + size);
    if (got == 0) break;
    size += got;
  }
  // Only the file's last block can end in a partial record: it is dropped.
  return size / record_size_ * record_size_;
}

bool RecordReader::WaitForTurn(std::unique_lock<std::mutex>& lock,
                               uint64_t index) {
  const auto turn = [&] { return stopped_ || next_to_store_ == index; };
  while (!turn()) {
    if (idle_) {
      lock.unlock();
      const bool stepped = idle_();
      lock.lock();
      if (stepped) continue;
    }
    // No step is left until the thread before moves on, and then it wakes
    // this one.
    changed_.wait(lock, turn);
  }
  return !stopped_;
}

void RecordReader::Fail(std::exception_ptr failure) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!failure_) failure_ = std::move(failure);
    stopped_ = true;
  }
  changed_.notify_all();
}

}  // namespace tallyhawk

#include "db/record_reader.h"

#include <utility>

namespace tallyhawk {

RecordReader::RecordReader(InputFile& file, size_t record_size, Prepare prepare,
                           Idle idle)
    : file_(file),
      record_size_(record_size),
      block_size_(kMostBlockBytes / record_size * record_size),
      prepare_(std::move(prepare)),
      idle_(std::move(idle)) {
  for (Block& block : blocks_) {
    block.bytes = std::make_unique_for_overwrite<unsigned char[]>(block_size_);
  }
  helper_ = std::thread([this] { ReadAhead(); });
}

RecordReader::~RecordReader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  helper_.join();
}

RecordReader::Records RecordReader::NextRecords() {
  if (at_end_) return {};
  std::unique_lock<std::mutex> lock(mutex_);
  WaitIdle(lock, [&] { return ready_ > 0; });
  // The block the caller had goes back to the helper.
  --ready_;
  current_ = (current_ + 1) % kBlocks;
  const Block& next = blocks_[current_];
  if (next.size == 0) {
    at_end_ = true;
    return {};
  }
  lock.unlock();
  changed_.notify_all();
  return Records{std::span<const unsigned char>(next.bytes.get(), next.size),
                 current_};
}

void RecordReader::ReadAhead() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    // Every block but the caller's may be filled.
    WaitIdle(lock, [&] { return ready_ < kBlocks - 1 || stopping_; });
    if (stopping_) return;
    const int index = filling_;
    filling_ = (filling_ + 1) % kBlocks;
    Block& block = blocks_[index];
    lock.unlock();
    Fill(block);
    if (prepare_ && block.size > 0) {
      prepare_(std::span<const unsigned char>(block.bytes.get(), block.size),
               index);
    }
    lock.lock();
    ++ready_;
    changed_.notify_all();
    if (block.size == 0) return;
  }
}

template <typename Done>
void RecordReader::WaitIdle(std::unique_lock<std::mutex>& lock, Done done) {
  while (!done()) {
    if (idle_) {
      lock.unlock();
      const bool stepped = idle_();
      lock.lock();
      if (stepped) continue;
    }
    // No step is left until the other side moves on, and then it wakes
    // this one.
    changed_.wait(lock, done);
  }
}

void RecordReader::Fill(Block& block) {
  size_t size = 0;
  char* const data = reinterpret_cast<char*>(block.bytes.get());
  while (size < block_size_) {
    const size_t got = file_.Read(data + size, block_size_ - size);
    if (got == 0) break;
    size += got;
  }
  // Only the file's last block can end in a partial record: it is dropped.
  block.size = size / record_size_ * record_size_;
}

}  // namespace tallyhawk

#include "db/record_reader.h"

#include <cstring>

namespace tallyhawk {
namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

}  // namespace

RecordReader::RecordReader(InputFile& file, size_t record_size)
    : file_(file), record_size_(record_size) {
  for (Block& block : blocks_) {
    block.bytes = std::make_unique_for_overwrite<unsigned char[]>(record_size +
                                                                  kBlockSize);
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

std::span<const unsigned char> RecordReader::NextRecords() {
  while (end_ - begin_ < record_size_) {
    if (at_end_) return {};
    const size_t unread = end_ - begin_;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return spare_filled_; });
    spare_filled_ = false;
    const Block& done = blocks_[current_];
    current_ = 1 - current_;
    Block& next = blocks_[current_];
    if (next.size == 0) {  // the end; a partial record is dropped
      at_end_ = true;
      return {};
    }
    // The unread part of a record goes in front of the new bytes.
    std::memcpy(next.bytes.get() + record_size_ - unread,
                done.bytes.get() + begin_, unread);
    begin_ = record_size_ - unread;
    end_ = record_size_ + next.size;
    spare_wanted_ = true;
    lock.unlock();
    changed_.notify_all();
  }
  const size_t whole = (end_ - begin_) / record_size_ * record_size_;
  const std::span<const unsigned char> records(
      blocks_[current_].bytes.get() + begin_, whole);
  begin_ += whole;
  return records;
}

void RecordReader::ReadAhead() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    changed_.wait(lock, [&] { return spare_wanted_ || stopping_; });
    if (stopping_) return;
    spare_wanted_ = false;
    Block& spare = blocks_[1 - current_];
    lock.unlock();
    Fill(spare);
    lock.lock();
    spare_filled_ = true;
    changed_.notify_all();
    if (spare.size == 0) return;
  }
}

void RecordReader::Fill(Block& block) {
  block.size = 0;
  char* const data = reinterpret_cast<char*>(block.bytes.get()) + record_size_;
  while (block.size < kBlockSize) {
    const size_t got = file_.Read(data + block.size, kBlockSize - block.size);
    if (got == 0) break;
    block.size += got;
  }
}

}  // namespace tallyhawk

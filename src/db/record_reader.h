// Splits a database file into its fixed-size records, reading it in large
// blocks.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace tallyhawk {

class RecordReader {
 public:
  // `record_size` must be above 0 and at most the block size (1 MiB).
  RecordReader(InputFile& file, size_t record_size);

  // The bytes of the next whole records, one after another (at least one),
  // valid until the next call; empty at the end of the file. A partial
  // record at the end is never returned.
  std::span<const unsigned char> NextRecords();

 private:
  // Moves the unread bytes to the front and reads more behind them; false
  // when the file gave nothing more.
  bool Refill();

  InputFile& file_;
  size_t record_size_;
  std::vector<unsigned char> buffer_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte read
};

}  // namespace tallyhawk

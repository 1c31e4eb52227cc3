// Splits a database file into its fixed-size records, reading it in large
// blocks.
#pragma once

#include <cstddef>
#include <memory>

#include "platform/platform.h"

namespace tallyhawk {

class RecordReader {
 public:
  // `record_size` must be above 0 and at most the block size (1 MiB).
  RecordReader(InputFile& file, size_t record_size);

  // The bytes of the next complete record, valid until the next call; null
  // at the end of the file. A partial record at the end is never returned.
  const unsigned char* Next();

 private:
  // Moves the unread bytes to the front and reads more behind them; false
  // when the file gave nothing more.
  bool Refill();

  InputFile& file_;
  size_t record_size_;
  // Not zeroed: only the bytes read are ever looked at, and a small file
  // touches only the start of the block.
  std::unique_ptr<unsigned char[]> buffer_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte read
};

}  // namespace tallyhawk

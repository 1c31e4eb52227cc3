// Splits a database file into its fixed-size records, reading it in large
// blocks. A helper thread reads the next block while the caller works on
// the records of the current one, so that the system's copy of the file
// and the decoding of its records overlap.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "platform/platform.h"

namespace tallyhawk {

class RecordReader {
 public:
  // `record_size` must be above 0 and at most the block size (1 MiB). The
  // reader is the only user of `file` until it is destroyed.
  RecordReader(InputFile& file, size_t record_size);
  ~RecordReader();
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  // The bytes of the next whole records, one after another (at least one),
  // valid until the next call; empty at the end of the file. A partial
  // record at the end is never returned.
  std::span<const unsigned char> NextRecords();

 private:
  // A block of the file, behind room for the unread part of a record from
  // the block before.
  struct Block {
    // Not zeroed: only the bytes read are ever looked at, and a small file
    // touches only the start of the block.
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;  // bytes read into it, after the room
  };

  // The helper thread: fills the spare block whenever it is handed back,
  // until the file gives nothing more.
  void ReadAhead();
  // Fills `block` from the file: a read may return fewer bytes than asked
  // for without being at the end, so it reads until the block is full or
  // the file is done.
  void Fill(Block& block);

  InputFile& file_;
  const size_t record_size_;
  Block blocks_[2];
  int current_ = 0;   // the block the caller takes records from
  size_t begin_ = 0;  // its first unread byte
  size_t end_ = 0;    // one past its last byte
  bool at_end_ = false;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool spare_filled_ = false;  // the helper has filled the other block
  bool spare_wanted_ = true;   // the other block is the helper's to fill
  bool stopping_ = false;
  std::thread helper_;
};

}  // namespace tallyhawk

// Splits a database file into its fixed-size records, reading it in large
// blocks. A helper thread reads the next blocks while the caller works on
// the records of the current one, so that the system's copy of the file
// and the decoding of its records overlap. The helper can also prepare
// each block's records for the caller as soon as it has read them, and
// either thread can take up work of the caller's in small steps while it
// would wait for the other.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "platform/platform.h"

namespace tallyhawk {

class RecordReader {
 public:
  // Blocks in turn: the caller's, and up to kBlocks - 1 read ahead of it.
  // With one block ahead, either side waited whenever the other's pace
  // wavered; with three, the two keep each other busy.
  static constexpr int kBlocks = 4;

  // Work on a block's records, done on the helper thread before the caller
  // gets them; `block` (below kBlocks) tells the caller which results are
  // theirs.
  using Prepare =
      std::function<void(std::span<const unsigned char> records, int block)>;
  // Work that either thread may take up while it would wait for the other:
  // each call does a small step of it, if one is left, and tells whether it
  // did. Both threads may call it at once.
  using Idle = std::function<bool()>;

  // The most bytes of a block: a block holds as many whole records as fit.
  static constexpr size_t kMostBlockBytes = size_t{1} << 20;

  // Whole records of one block, and the block they were prepared in.
  struct Records {
    std::span<const unsigned char> bytes;
    int block = 0;
  };

  // `record_size` must be above 0 and at most kMostBlockBytes. The reader is
  // the only user of `file` until it is destroyed.
  RecordReader(InputFile& file, size_t record_size, Prepare prepare = nullptr,
               Idle idle = nullptr);
  ~RecordReader();
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  // The next whole records, one after another (at least one), valid until
  // the next call; empty at the end of the file. A partial record at the
  // end is never returned.
  Records NextRecords();

 private:
  // A block of the file: always a whole number of records, since a block
  // is read full unless the file ends in it.
  struct Block {
    // Not zeroed: only the bytes read are ever looked at, and a small file
    // touches only the start of the block.
    std::unique_ptr<unsigned char[]> bytes;
    size_t size = 0;  // bytes of whole records read into it
  };

  // The helper thread: fills the blocks in turn, each once the caller has
  // moved past it, until the file gives nothing more.
  void ReadAhead();
  // Waits with `lock` held until `done` holds, taking up idle_ steps
  // meanwhile (with the lock released) while there are any.
  template <typename Done>
  void WaitIdle(std::unique_lock<std::mutex>& lock, Done done);
  // Fills `block` from the file: a read may return fewer bytes than asked
  // for without being at the end, so it reads until the block is full or
  // the file is done.
  void Fill(Block& block);

  InputFile& file_;
  const size_t record_size_;
  const size_t block_size_;
  const Prepare prepare_;
  const Idle idle_;
  Block blocks_[kBlocks];
  // The block the caller has its records from; before the first, the one
  // before block 0.
  int current_ = kBlocks - 1;
  bool at_end_ = false;

  std::mutex mutex_;
  std::condition_variable changed_;
  int ready_ = 0;    // blocks filled after the caller's, not yet taken
  int filling_ = 0;  // the next block the helper fills
  bool stopping_ = false;
  std::thread helper_;
};

}  // namespace tallyhawk

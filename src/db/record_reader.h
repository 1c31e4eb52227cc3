// Splits a database file into its fixed-size records, reading a large file
// in large blocks on two threads at once: the caller's and a helper. Each
// thread reads its block, prepares its records and stores them, so that the
// bytes stay in that thread's cache from the system's copy to the store;
// the threads take the blocks in turn, and store them strictly in file
// order. While one thread stores a block, the other reads and prepares the
// next; a thread that would wait for its turn takes up small steps of other
// work. A file that fits in one block is read in a block of its own size on
// the caller's thread alone: most zones are small, and a large block and a
// thread cost more than reading them (the three files of a 2 KB zone took
// 83 us to load, 1.1 us so; under AddressSanitizer 20 ms, 40 us so).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <span>

#include "platform/platform.h"

namespace tallyhawk {

class RecordReader {
 public:
  // The threads that read: each has one block at a time.
  static constexpr int kThreads = 2;

  // The most bytes of a block: a block holds as many whole records as fit.
  static constexpr size_t kMostBlockBytes = size_t{1} << 20;
  // The bytes of a block of a file that tells no size, which is read on the
  // caller's thread alone: on POSIX such a file is most likely empty.
  static constexpr size_t kBlockBytesOfUnknownSize = size_t{64} << 10;

  // Whole records of one block, and the thread (below kThreads) that read
  // and prepared them: which of the preparations' results are theirs.
  struct Records {
    std::span<const unsigned char> bytes;
    int thread = 0;
  };

  // Work on a block's records done before they are stored, on the thread
  // that read them; the two threads may prepare blocks at once.
  using Prepare = std::function<void(const Records& records)>;
  // Takes the records of each block in file order, one block at a time, on
  // either thread.
  using Store = std::function<void(const Records& records)>;
  // Work that a thread may take up while it waits for its turn to store:
  // each call does a small step of it, if one is left, and tells whether it
  // did. Both threads may call it at once.
  using Idle = std::function<bool()>;

  // `record_size` must be above 0 and at most kMostBlockBytes. The reader is
  // the only user of `file` while it runs.
  RecordReader(InputFile& file, size_t record_size, Prepare prepare = nullptr,
               Idle idle = nullptr);
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

  // Reads the file up to the size it had when the reader was made (its
  // SizeHint; to its end when that is 0) and hands every whole record to
  // `store`. The helper thread reads every other block of a file of a full
  // block or more. The first block that is not full ends it: records
  // appended meanwhile are left for the next run, so a file that keeps
  // growing is never chased, and a file that shrank ends where it ends. A
  // thread reads its next block only once it has stored its last and that was
  // not the end: which blocks are read depends on the file alone. A partial
  // record at the end is dropped. What `prepare` or `store` throws stops both
  // threads before the next block is stored, and is thrown here. Call it
  // once.
  void Run(const Store& store);

 private:
  // One thread's part: the blocks `thread`, `thread` + `threads`, ...
  // until the end is found or the run stops. Never throws.
  void ReadBlocks(int thread, int threads, const Store& store);
  // Reads block `index` into `bytes`; returns the size of its whole records.
  size_t Fill(unsigned char* bytes, uint64_t index);
  // Waits with `lock` held until block `index` may be stored or the run
  // stops, taking up idle_ steps meanwhile (with the lock released) while
  // there are any. False when the run stops first.
  bool WaitForTurn(std::unique_lock<std::mutex>& lock, uint64_t index);
  // Keeps the first failure and stops the run.
  void Fail(std::exception_ptr failure);

  InputFile& file_;
  const size_t record_size_;
  // Where reading stops, at the latest; 0 when the size is not known.
  const uint64_t size_at_start_;
  const size_t block_size_;
  const Prepare prepare_;
  const Idle idle_;

  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t next_to_store_ = 0;
  // Set once the last block is stored, or something failed.
  bool stopped_ = false;
  std::exception_ptr failure_;
};

}  // namespace tallyhawk

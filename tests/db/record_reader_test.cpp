#include "db/record_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tallyhawk {
namespace {

constexpr size_t kRecord = 28;
constexpr size_t kBlock = RecordReader::kMostBlockBytes / kRecord * kRecord;

// Byte k of every input here is k mod 251.
unsigned char PatternAt(uint64_t offset) {
  return static_cast<unsigned char>(offset % 251);
}

// Holds `size` bytes of the pattern and hands out at most `chunk` of them a
// read, as a pipe or a network file system may. `until(offset)`, when set,
// says where the file ends for a read from `offset`: a file that grows or
// shrinks while it is read. `size_hint` is the size it tells: `size`,
// unless a test tells otherwise. It counts its reads and the threads that
// made them.
class ChunkedInput : public InputFile {
 public:
  ChunkedInput(size_t size, size_t chunk)
      : size_hint(size), size_(size), chunk_(chunk) {}
  // The reader reads at offsets only.
  size_t Read(char*, size_t) override { return 0; }
  size_t ReadAt(char* buffer, size_t max, uint64_t offset) override {
    static const std::array<char, 251> kPattern = [] {
      std::array<char, 251> bytes;
      for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = char(k);
      return bytes;
    }();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++reads;
      readers.insert(std::this_thread::get_id());
    }
    const uint64_t end = until ? until(offset) : size_;
    if (offset >= end) return 0;
    const size_t n = static_cast<size_t>(
        std::min<uint64_t>(std::min(max, chunk_), end - offset));
    // Copied a run at a time, so that a large read is quick.
    for (size_t i = 0; i < n;) {
      const size_t from = (offset + i) % 251;
      const size_t run = std::min(n - i, 251 - from);
      std::memcpy(buffer + i, kPattern.data() + from, run);
      i += run;
    }
    return n;
  }

  uint64_t SizeHint() override { return size_hint; }

  std::function<uint64_t(uint64_t offset)> until;
  uint64_t size_hint;
  size_t reads = 0;
  std::set<std::thread::id> readers;

 private:
  size_t size_, chunk_;
  std::mutex mutex_;
};

// Whether `flag` is set within ten seconds.
bool WaitFor(const std::atomic<bool>& flag) {
  const auto until =
      std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!flag && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return flag;
}

// What a run stored: its records' count, checked against the pattern and
// against what was prepared, and the threads that stored them.
struct Stored {
  size_t records = 0;
  std::set<int> threads;
};

Stored ReadAll(InputFile& input, size_t record_size) {
  Stored stored;
  // What each thread last prepared; a block is stored by the thread that
  // prepared it, with the same bytes.
  std::array<std::span<const unsigned char>, RecordReader::kThreads> prepared;
  std::atomic<bool> storing = false;
  RecordReader reader(input, record_size,
                      [&](const RecordReader::Records& records) {
                        prepared[records.thread] = records.bytes;
                      });
  reader.Run([&](const RecordReader::Records& records) {
    EXPECT_FALSE(storing.exchange(true)) << "two blocks stored at once";
    EXPECT_EQ(records.bytes.data(), prepared[records.thread].data());
    EXPECT_EQ(records.bytes.size(), prepared[records.thread].size());
    EXPECT_EQ(records.bytes.size() % record_size, 0u);
    for (size_t at = 0; at < records.bytes.size(); at += record_size) {
      const uint64_t start = stored.records++ * record_size;
      EXPECT_EQ(records.bytes[at], PatternAt(start));
      EXPECT_EQ(records.bytes[at + record_size - 1],
                PatternAt(start + record_size - 1));
    }
    stored.threads.insert(records.thread);
    storing = false;
  });
  return stored;
}

TEST(RecordReaderTest, WholeRecordsInFileOrderWhateverTheReadSizes) {
  // Spans several 1 MiB blocks, ending mid-record.
  const size_t big = (11u << 19) / 196;
  // Two blocks exactly, then nothing: the end comes as a block of its own.
  const size_t whole = 2 * kBlock / kRecord;
  const size_t kCases[][3] = {{196 * 5 + 195, 196, 5},
                              {27, 28, 0},
                              {0, 28, 0},
                              {big * 196 + 10, 196, big},
                              {whole * 28, 28, whole}};
  for (size_t chunk : {1u, 7u, 196u, 1u << 22}) {
    for (const auto& [size, record_size, records] : kCases) {
      // Byte by byte, only the small files.
      if (chunk == 1 && size > 4096) continue;
      SCOPED_TRACE(std::to_string(size) + " bytes read " +
                   std::to_string(chunk) + " at a time");
      ChunkedInput input(size, chunk);
      const Stored stored = ReadAll(input, record_size);
      EXPECT_EQ(stored.records, records);
      // A file of several blocks is shared by both threads; a smaller one
      // is read on the caller's thread alone, in one block, so that reads
      // of a whole block at once take it in one read.
      if (size > kBlock) {
        EXPECT_EQ(stored.threads.size(), 2u);
        EXPECT_EQ(input.readers.size(), 2u);
      } else {
        EXPECT_EQ(input.readers,
                  std::set<std::thread::id>{std::this_thread::get_id()});
        if (chunk > size) {
          EXPECT_EQ(input.reads, 1u);
        }
      }
    }
  }
}

TEST(RecordReaderTest, TheFirstBlockNotFullEndsTheFile) {
  // The second block is found half full; the file then grows (or a later
  // read sees bytes a shorter read did not): nothing after the end counts.
  ChunkedInput grown(4 * kBlock, 1u << 22);
  grown.until = [](uint64_t offset) -> uint64_t {
    return offset < 2 * kBlock ? kBlock + kBlock / 2 + 5 : 4 * kBlock;
  };
  EXPECT_EQ(ReadAll(grown, kRecord).records,
            kBlock / kRecord + (kBlock / 2 + 5) / kRecord);
  // The first block comes short: it is the only one.
  ChunkedInput shrunk(4 * kBlock, 1u << 22);
  shrunk.until = [](uint64_t offset) -> uint64_t {
    return offset < kBlock ? 100 * kRecord : 4 * kBlock;
  };
  EXPECT_EQ(ReadAll(shrunk, kRecord).records, 100u);
}

// A file whose size is known is read up to the size it had at the start:
// what is appended while it is read is left for the next run, however fast
// it grows. A file that shrinks ends where it ends, and one whose size is
// not known is read to its end.
TEST(RecordReaderTest, AFileIsReadUpToItsSizeAtTheStart) {
  constexpr uint64_t kGrowing = 0;
  const uint64_t kCases[][3] = {
      // size told, where the file ends (kGrowing: a block further at every
      // read), records read
      {2 * kBlock + 100, kGrowing, (2 * kBlock + 100) / kRecord},
      {3 * kBlock, kGrowing, 3 * kBlock / kRecord},
      {4 * kBlock, kBlock + 50, (kBlock + 50) / kRecord},
      {0, 3 * kBlock + 5, (3 * kBlock + 5) / kRecord}};
  for (const auto& [told, ends, records] : kCases) {
    SCOPED_TRACE(std::to_string(told) + " bytes told");
    std::atomic<uint64_t> end = told;
    ChunkedInput input(0, 1u << 22);
    input.size_hint = told;
    input.until = [&](uint64_t) -> uint64_t {
      if (ends != kGrowing) return ends;
      // Bounded, so that a reader that chases it still ends.
      return end = std::min(end + kBlock, 64 * kBlock);
    };
    EXPECT_EQ(ReadAll(input, kRecord).records, records);
    // Of a file of unknown size, the caller reads every block.
    if (told == 0) {
      EXPECT_EQ(input.readers.size(), 1u);
    }
  }
}

TEST(RecordReaderTest, AFailureStopsTheRunBeforeTheNextBlockIsStored) {
  ChunkedInput input(6 * kBlock, 1u << 22);
  // A store that fails: no later block is stored, and Run throws it.
  int stores = 0;
  RecordReader storing(input, kRecord);
  EXPECT_THROW(storing.Run([&](const RecordReader::Records&) {
    if (++stores == 2) throw std::runtime_error("store");
  }),
               std::runtime_error);
  EXPECT_EQ(stores, 2);
  // A preparation that fails, on either thread: nothing after the block
  // before it is stored.
  for (uint64_t failing : {0, 1, 3}) {
    std::vector<unsigned char> firsts;
    RecordReader preparing(
        input, kRecord, [&](const RecordReader::Records& records) {
          // Each block of the six starts with a byte of its own.
          if (records.bytes[0] == PatternAt(failing * kBlock)) {
            throw std::runtime_error("prepare");
          }
        });
    EXPECT_THROW(preparing.Run([&](const RecordReader::Records& records) {
      firsts.push_back(records.bytes[0]);
    }),
                 std::runtime_error);
    ASSERT_LE(firsts.size(), failing);
    for (size_t k = 0; k < firsts.size(); ++k) {
      EXPECT_EQ(firsts[k], PatternAt(k * kBlock));
    }
  }
}

// Each thread takes up the idle work while it waits for its turn: the
// helper while the caller's first block is read (which waits until the
// helper has idled), the caller while the helper stores the second block
// (which waits until the caller has idled).
TEST(RecordReaderTest, BothThreadsTakeUpIdleWorkWhileTheyWait) {
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<bool> caller_idled = false;
  std::atomic<bool> helper_idled = false;
  std::atomic<int> steps_left = 8;
  ChunkedInput input(4 * kBlock, 1u << 22);
  input.until = [&](uint64_t offset) -> uint64_t {
    if (offset == 0) {
      EXPECT_TRUE(WaitFor(helper_idled));
    }
    return 4 * kBlock;
  };
  RecordReader reader(input, kRecord, nullptr, [&] {
    (std::this_thread::get_id() == caller ? caller_idled : helper_idled) = true;
    // A few steps, then none: the threads go on to wait as without them.
    return steps_left.fetch_sub(1) > 0;
  });
  size_t blocks = 0;
  reader.Run([&](const RecordReader::Records& records) {
    ASSERT_EQ(records.bytes[0], PatternAt(blocks * kBlock));
    if (++blocks == 2) {
      EXPECT_TRUE(WaitFor(caller_idled));
    }
  });
  EXPECT_EQ(blocks, 4u);
  EXPECT_TRUE(caller_idled);
  EXPECT_TRUE(helper_idled);
}

}  // namespace
}  // namespace tallyhawk

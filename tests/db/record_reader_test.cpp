#include "db/record_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <span>
#include <thread>
#include <vector>

namespace tallyhawk {
namespace {

// Hands out `size` bytes, byte k being k mod 251, at most `chunk` at a time,
// as a pipe may.
class ChunkedInput : public InputFile {
 public:
  ChunkedInput(size_t size, size_t chunk) : size_(size), chunk_(chunk) {}
  size_t Read(char* buffer, size_t max) override {
    static const std::array<char, 251> kPattern = [] {
      std::array<char, 251> bytes;
      for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = char(k);
      return bytes;
    }();
    const size_t n = std::min({max, chunk_, size_ - position_});
    // Copied a run at a time, so that a large read is quick.
    for (size_t i = 0; i < n;) {
      const size_t from = position_ % 251;
      const size_t run = std::min(n - i, 251 - from);
      std::memcpy(buffer + i, kPattern.data() + from, run);
      i += run;
      position_ += run;
    }
    return n;
  }

 private:
  size_t size_, chunk_, position_ = 0;
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

// A ChunkedInput that reads past its first `free_bytes` only once `gate` is
// set (or ten seconds passed).
class GatedInput : public ChunkedInput {
 public:
  GatedInput(size_t size, size_t free_bytes, const std::atomic<bool>& gate)
      : ChunkedInput(size, size), free_bytes_(free_bytes), gate_(gate) {}
  size_t Read(char* buffer, size_t max) override {
    if (read_ >= free_bytes_ && !timed_out_) timed_out_ = !WaitFor(gate_);
    const size_t n = ChunkedInput::Read(buffer, max);
    read_ += n;
    return n;
  }

 private:
  size_t free_bytes_, read_ = 0;
  const std::atomic<bool>& gate_;
  bool timed_out_ = false;
};

TEST(RecordReaderTest, WholeRecordsPreparedAheadWhateverTheReadSizes) {
  // Spans more 1 MiB blocks than the reader has, ending mid-record.
  const size_t big = (11u << 19) / 196;
  // Two blocks exactly, then nothing: the end comes as a block of its own.
  const size_t whole = 2 * ((1u << 20) / 28);
  const size_t kCases[][3] = {{196 * 5 + 195, 196, 5},
                              {27, 28, 0},
                              {0, 28, 0},
                              {big * 196 + 10, 196, big},
                              {whole * 28, 28, whole}};
  for (size_t chunk : {1u, 7u, 196u, 1u << 22}) {
    for (const auto& [size, record_size, records] : kCases) {
      ChunkedInput input(size, chunk);
      // What the helper thread prepared: the records' bytes, per block.
      std::vector<unsigned char> prepared[RecordReader::kBlocks];
      RecordReader reader(input, record_size,
                          [&](std::span<const unsigned char> bytes, int block) {
                            prepared[block].assign(bytes.begin(), bytes.end());
                          });
      size_t count = 0;
      for (auto next = reader.NextRecords(); !next.bytes.empty();
           next = reader.NextRecords()) {
        const std::span<const unsigned char> records = next.bytes;
        // The helper meanwhile fills every block it may; filling the
        // caller's would change these bytes before they are checked.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ASSERT_TRUE(std::equal(records.begin(), records.end(),
                               prepared[next.block].begin(),
                               prepared[next.block].end()));
        ASSERT_EQ(records.size() % record_size, 0u);
        for (size_t at = 0; at < records.size(); at += record_size) {
          const size_t start = count++ * record_size;
          EXPECT_EQ(records[at], start % 251);
          EXPECT_EQ(records[at + record_size - 1],
                    (start + record_size - 1) % 251);
        }
      }
      EXPECT_EQ(count, records);
    }
  }
}

// Each thread takes up the idle work while it would wait for the other: the
// helper once every block ahead is filled, the caller while the next block
// is read. The helper reads past the ring's blocks only once the caller has
// idled, and the caller holds its first block until the helper has.
TEST(RecordReaderTest, BothThreadsTakeUpIdleWorkWhileTheyWait) {
  constexpr size_t kRecord = 28;
  constexpr size_t kBlock = RecordReader::kMostBlockBytes / kRecord * kRecord;
  const std::thread::id caller = std::this_thread::get_id();
  std::atomic<bool> caller_idled = false;
  std::atomic<bool> helper_idled = false;
  std::atomic<int> steps_left = 8;
  GatedInput input(8 * kBlock, RecordReader::kBlocks * kBlock, caller_idled);
  RecordReader reader(input, kRecord, nullptr, [&] {
    (std::this_thread::get_id() == caller ? caller_idled : helper_idled) = true;
    // A few steps, then none: the threads go on to wait as without them.
    return steps_left.fetch_sub(1) > 0;
  });
  size_t count = 0;
  for (auto next = reader.NextRecords(); !next.bytes.empty();
       next = reader.NextRecords()) {
    if (count == 0) {
      EXPECT_TRUE(WaitFor(helper_idled));
    }
    ASSERT_EQ(next.bytes[0], count * kRecord % 251);
    count += next.bytes.size() / kRecord;
  }
  EXPECT_TRUE(caller_idled);
  EXPECT_EQ(count, 8 * kBlock / kRecord);
}

}  // namespace
}  // namespace tallyhawk

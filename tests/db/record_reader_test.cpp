#include "db/record_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

}  // namespace
}  // namespace tallyhawk

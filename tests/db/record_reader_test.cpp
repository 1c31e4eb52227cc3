#include "db/record_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace tallyhawk {
namespace {

// Hands out its bytes at most `chunk` at a time, as a pipe or a slow disk
// may.
class ChunkedInput : public InputFile {
 public:
  ChunkedInput(std::string bytes, size_t chunk)
      : bytes_(std::move(bytes)), chunk_(chunk) {}
  size_t Read(char* buffer, size_t size) override {
    size_t n = std::min({size, chunk_, bytes_.size() - position_});
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  std::string bytes_;
  size_t chunk_;
  size_t position_ = 0;
};

// Reads `size` bytes whose byte k is k mod 251 as records, checks that each
// record holds its own bytes, and returns the record count.
size_t ReadPattern(size_t size, size_t record_size, size_t chunk) {
  std::string bytes(size, '\0');
  for (size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>(k % 251);
  ChunkedInput input(bytes, chunk);
  RecordReader reader(input, record_size);
  size_t count = 0;
  while (const unsigned char* record = reader.Next()) {
    const size_t start = count++ * record_size;
    EXPECT_EQ(record[0], start % 251);
    EXPECT_EQ(record[record_size - 1], (start + record_size - 1) % 251);
  }
  return count;
}

TEST(RecordReaderTest, WholeRecordsOnlyWhateverTheReadSizes) {
  for (size_t chunk : {1u, 7u, 196u, 1u << 22}) {
    EXPECT_EQ(ReadPattern(196 * 5, 196, chunk), 5u);
    EXPECT_EQ(ReadPattern(196 * 5 + 195, 196, chunk), 5u);
    EXPECT_EQ(ReadPattern(27, 28, chunk), 0u);
    EXPECT_EQ(ReadPattern(0, 28, chunk), 0u);
  }
}

TEST(RecordReaderTest, RecordsSpanningBlockBoundariesComeOutWhole) {
  // 2.5 MiB of 196-byte records: the 1 MiB blocks end inside a record.
  const size_t count = (5u << 19) / 196;
  EXPECT_EQ(ReadPattern(count * 196 + 10, 196, 1u << 22), count);
}

}  // namespace
}  // namespace tallyhawk

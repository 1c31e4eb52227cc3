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

// Byte k of the stream holds k mod 251, so every record's bytes are known.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t k = 0; k < size; ++k) bytes[k] = static_cast<char>(k % 251);
  return bytes;
}

// Reads all records and checks each against the pattern; returns the count.
size_t ReadAll(const std::string& bytes, size_t record_size, size_t chunk) {
  ChunkedInput input(bytes, chunk);
  RecordReader reader(input, record_size);
  size_t count = 0;
  while (const unsigned char* record = reader.Next()) {
    for (size_t k = 0; k < record_size; ++k) {
      const size_t offset = count * record_size + k;
      if (record[k] != offset % 251) {
        ADD_FAILURE() << "record " << count << " byte " << k;
        return count;
      }
    }
    ++count;
  }
  return count;
}

TEST(RecordReaderTest, WholeRecordsOnlyWhateverTheReadSizes) {
  for (size_t chunk : {1u, 7u, 196u, 4096u, 1u << 22}) {
    EXPECT_EQ(ReadAll(Pattern(196 * 5), 196, chunk), 5u) << chunk;
    EXPECT_EQ(ReadAll(Pattern(196 * 5 + 195), 196, chunk), 5u) << chunk;
  }
}

TEST(RecordReaderTest, RecordsSpanningBlockBoundariesComeOutWhole) {
  // 2.5 MiB of 196-byte records: the 1 MiB blocks end inside a record.
  const size_t count = (5u << 19) / 196;
  EXPECT_EQ(ReadAll(Pattern(count * 196 + 10), 196, size_t{1} << 22), count);
  EXPECT_EQ(ReadAll(Pattern(count * 196), 196, 65536), count);
}

TEST(RecordReaderTest, EmptyAndShortFilesGiveNoRecord) {
  EXPECT_EQ(ReadAll("", 28, 4096), 0u);
  EXPECT_EQ(ReadAll(Pattern(27), 28, 4096), 0u);
}

}  // namespace
}  // namespace tallyhawk

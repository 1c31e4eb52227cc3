#include "db/record_reader.h"

#include <cstring>

namespace tallyhawk {
namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

}  // namespace

RecordReader::RecordReader(InputFile& file, size_t record_size)
    : file_(file), record_size_(record_size), buffer_(kBlockSize) {}

std::span<const unsigned char> RecordReader::NextRecords() {
  // A read may return fewer bytes than asked for without being at the end,
  // so keep reading until a whole record is there or the file is done.
  while (end_ - begin_ < record_size_) {
    if (!Refill()) return {};
  }
  const size_t whole = (end_ - begin_) / record_size_ * record_size_;
  const std::span<const unsigned char> records(buffer_.data() + begin_, whole);
  begin_ += whole;
  return records;
}

bool RecordReader::Refill() {
  const size_t unread = end_ - begin_;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, unread);
    begin_ = 0;
    end_ = unread;
  }
  const size_t got = file_.Read(reinterpret_cast<char*>(buffer_.data()) + end_,
                                buffer_.size() - end_);
  end_ += got;
  return got > 0;
}

}  // namespace tallyhawk

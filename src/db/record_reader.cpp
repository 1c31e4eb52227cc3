#include "db/record_reader.h"

#include <cstring>

namespace tallyhawk {
namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

}  // namespace

RecordReader::RecordReader(InputFile& file, size_t record_size)
    : file_(file),
      record_size_(record_size),
      buffer_(std::make_unique_for_overwrite<unsigned char[]>(kBlockSize)) {}

const unsigned char* RecordReader::Next() {
  // A read may return fewer bytes than asked for without being at the end,
  // so keep reading until a whole record is there or the file is done.
  while (end_ - begin_ < record_size_) {
    if (!Refill()) return nullptr;
  }
  const unsigned char* record = buffer_.get() + begin_;
  begin_ += record_size_;
  return record;
}

bool RecordReader::Refill() {
  const size_t unread = end_ - begin_;
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, unread);
    begin_ = 0;
    end_ = unread;
  }
  const size_t got = file_.Read(reinterpret_cast<char*>(buffer_.get()) + end_,
                                kBlockSize - end_);
  end_ += got;
  return got > 0;
}

}  // namespace tallyhawk

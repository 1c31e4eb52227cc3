// Database records as bytes, and the buffered file they are written to.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace zonegen {

using tallyhawk::OutputFile;

// A file written through a large buffer, so that millions of records cost
// few writes.
class BufferedFile {
 public:
  explicit BufferedFile(std::unique_ptr<OutputFile> file)
      : file_(std::move(file)) {
    buffer_.reserve(kBufferSize);
  }
  void Append(const unsigned char* bytes, size_t size) {
    buffer_.append(reinterpret_cast<const char*>(bytes), size);
    if (buffer_.size() >= kBufferSize) Flush();
  }
  bool Commit() {
    Flush();
    return ok_ && file_->Commit();
  }

 private:
  static constexpr size_t kBufferSize = size_t{4} << 20;
  void Flush() {
    ok_ = ok_ && file_->Write(buffer_);
    buffer_.clear();
  }
  std::unique_ptr<OutputFile> file_;
  std::string buffer_;
  bool ok_ = true;
};

// One record under construction: unset bytes are zero.
template <size_t Size>
class RecordBytes {
 public:
  RecordBytes() { bytes_.fill(0); }
  void U32(size_t offset, uint64_t value) {
    for (size_t i = 0; i < 4; ++i)
      bytes_[offset + i] = (value >> (8 * i)) & 0xFF;
  }
  void U16(size_t offset, uint64_t value) {
    bytes_[offset] = value & 0xFF;
    bytes_[offset + 1] = (value >> 8) & 0xFF;
  }
  // A name and its terminator; `leftover` is what an earlier, longer name
  // left behind the terminator, as real files have.
  void Name(size_t offset, std::string_view name, std::string_view leftover) {
    name = name.substr(0, 31);
    std::copy(name.begin(), name.end(), bytes_.begin() + offset);
    const size_t room = 31 - name.size();
    leftover = leftover.substr(0, room);
    std::copy(leftover.begin(), leftover.end(),
              bytes_.begin() + offset + name.size() + 1);
  }
  void AppendTo(BufferedFile& file) const { file.Append(bytes_.data(), Size); }

 private:
  std::array<unsigned char, Size> bytes_;
};

}  // namespace zonegen

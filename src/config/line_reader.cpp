#include "config/line_reader.h"

namespace tallyhawk {

bool IsCWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

void LineReader::SkipWhiteSpace() {
  while (position_ < data_.size() && IsCWhiteSpace(data_[position_])) {
    if (data_[position_] == '\n') ++line_feeds_;
    ++position_;
  }
}

bool LineReader::Next(std::string_view* line) {
  SkipWhiteSpace();
  if (position_ >= data_.size()) return false;
  size_t start = position_;
  size_t length = 0;
  line_number_ = line_feeds_ + 1;
  cut_ = false;
  // The line end is looked for before the length limit, so that exactly 127
  // characters followed by LF (or CR LF) make one line and no empty remainder.
  while (position_ < data_.size()) {
    char c = data_[position_];
    if (c == '\n') {
      ++position_;
      ++line_feeds_;
      break;
    }
    if (c == '\r' && position_ + 1 < data_.size() &&
        data_[position_ + 1] == '\n') {
      position_ += 2;
      ++line_feeds_;
      break;
    }
    if (length == kMaxLineLength) {
      cut_ = true;
      break;
    }
    ++length;
    ++position_;
  }
  std::string_view text = data_.substr(start, length);
  // Lines are handled as C strings, so a NUL byte ends the line's text; the
  // bytes after it up to the line end are dropped rather than read as part
  // of a key, value or name.
  size_t nul = text.find('\0');
  *line = nul == std::string_view::npos ? text : text.substr(0, nul);
  return true;
}

}  // namespace tallyhawk

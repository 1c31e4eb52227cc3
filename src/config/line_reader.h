// Splits the text of the settings file and the zone map into lines the way
// both files are read: white space before a line is skipped, a line holds at
// most 127 characters, and LF and CR LF line ends are taken alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tallyhawk {

// Longest line the reader hands out; the rest of a longer physical line
// becomes the next line.
constexpr size_t kMaxLineLength = 127;

// The C locale's white space: space, \t, \n, \v, \f, \r. Bytes from 0x80 on
// are never white space.
bool IsCWhiteSpace(char c);

class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data) {}

  // Skips white space, then reads one line into `line` (a view into the
  // data). False when only white space, or nothing, is left.
  bool Next(std::string_view* line);

  // The physical line, from 1, that the last line read starts on.
  uint32_t line_number() const { return line_number_; }
  // Whether the last line read was cut at the longest length, the rest of
  // its physical line left for the next.
  bool cut() const { return cut_; }

 private:
  void SkipWhiteSpace();

  std::string_view data_;
  size_t position_ = 0;
  // Line feeds passed so far.
  uint32_t line_feeds_ = 0;
  uint32_t line_number_ = 0;
  bool cut_ = false;
};

}  // namespace tallyhawk

#include "config/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallyhawk {
namespace {

using Texts = std::vector<std::string>;

Texts Lines(std::string_view data) {
  LineReader reader(data);
  Texts lines;
  std::string_view line;
  while (reader.Next(&line)) lines.emplace_back(line);
  return lines;
}

TEST(LineReaderTest, SplitsLinesSkippingLeadingWhiteSpace) {
  const std::string x(127, 'x');
  const std::pair<std::string, Texts> kCases[] = {
      {"a\r\nb\n\r\n  \t\v\f c d \n", {"a", "b", "c d "}},
      {"a\rb\n", {"a\rb"}},  // a lone CR is text
      {"", {}},
      {" \r\n\t", {}},
      {x + "\nb", {x, "b"}},
      {x + "\r\nb", {x, "b"}},
      // The rest of a longer line is the next line, white space skipped.
      {x + "   y \nb", {x, "y ", "b"}},
      {x + "   \r\n", {x}},
      {x + x + "xyz", {x, x, "xyz"}},
      {std::string("ab\0cd\nef", 8), {"ab", "ef"}},  // NUL ends the text
      {std::string("\0x", 2), {""}},
      {"\xA0\n\x85", {"\xA0", "\x85"}},  // high bytes are not white space
  };
  for (const auto& [data, lines] : kCases)
    EXPECT_EQ(Lines(data), lines) << data;
}

}  // namespace
}  // namespace tallyhawk

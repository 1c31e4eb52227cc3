#include "config/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallyhawk {
namespace {

std::vector<std::string> Lines(std::string_view data) {
  LineReader reader(data);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(&line)) lines.emplace_back(line);
  return lines;
}

using Texts = std::vector<std::string>;

TEST(LineReaderTest, LfAndCrLfEndLinesAlikeAndBlankLinesAreSkipped) {
  EXPECT_EQ(Lines("a\r\nb\n\r\n  \t\v\f c d \n"), (Texts{"a", "b", "c d "}));
  EXPECT_EQ(Lines("a\rb\n"), (Texts{"a\rb"}));  // a lone CR is text
}

TEST(LineReaderTest, LastLineWithoutLineFeedIsRead) {
  EXPECT_EQ(Lines("a\nlast"), (Texts{"a", "last"}));
  EXPECT_EQ(Lines(""), Texts{});
  EXPECT_EQ(Lines(" \r\n\t"), Texts{});
}

TEST(LineReaderTest, ExactlyMaxLengthBeforeLineEndIsOneLine) {
  std::string full(127, 'x');
  EXPECT_EQ(Lines(full + "\nb"), (Texts{full, "b"}));
  EXPECT_EQ(Lines(full + "\r\nb"), (Texts{full, "b"}));
}

TEST(LineReaderTest, LongerLineContinuesAsNextLineWithWhiteSpaceSkipped) {
  std::string full(127, 'x');
  EXPECT_EQ(Lines(full + "y\nb"), (Texts{full, "y", "b"}));
  EXPECT_EQ(Lines(full + "   y \nb"), (Texts{full, "y ", "b"}));
  EXPECT_EQ(Lines(full + "   \r\n"), (Texts{full}));
}

TEST(LineReaderTest, NulEndsTheLineText) {
  EXPECT_EQ(Lines(std::string("ab\0cd\nef", 8)), (Texts{"ab", "ef"}));
  EXPECT_EQ(Lines(std::string("\0x", 2)), (Texts{""}));
}

TEST(LineReaderTest, HighBytesAreNotWhiteSpace) {
  EXPECT_EQ(Lines("\xA0"
                  "a\n\x85"),
            (Texts{"\xA0"
                   "a",
                   "\x85"}));
}

TEST(LineReaderTest, HugeLineAndBinaryGarbageTerminate) {
  Texts huge = Lines(std::string(100000, 'z'));
  ASSERT_EQ(huge.size(), 788u);  // 787 full lines and 51 characters
  EXPECT_EQ(huge.back(), std::string(51, 'z'));
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>(i * 37));
  size_t total = 0;
  for (const std::string& line : Lines(garbage)) total += line.size();
  EXPECT_LE(total, garbage.size());
}

}  // namespace
}  // namespace tallyhawk

#include "util/status_output.h"

#include <gtest/gtest.h>

#include <string>

namespace tallyhawk {
namespace {

TEST(StatusLineTest, KeepsThe255FirstCharactersAndFormatsNumbers) {
  StatusLine line;
  line << std::string(250, 'a') << "bcdefgh" << uint32_t{42};
  EXPECT_EQ(line.text(), std::string(250, 'a') + "bcdef");
  line.Reset();
  line << "x" << uint64_t{8589934592} << " " << 2.4 << " " << 42.5;
  EXPECT_EQ(line.text(), "x8589934592 2 43");
  line.Reset();
  line.SetPrecision(3);
  line << 1.5;
  line.Reset();  // also ends the precision
  line << 1.5;
  EXPECT_EQ(line.text(), "2");
}

}  // namespace
}  // namespace tallyhawk

#include "run/status_output.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_platform.h"

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

TEST(StatusOutputTest, CopyStatusLineEmptiesTheLineWithoutPrinting) {
  testing::FakePlatform platform;
  StatusOutput status(platform, false, false);
  status.line() << "path/TotPts" << uint32_t{7} << ".txt";
  EXPECT_EQ(status.CopyStatusLine(), "path/TotPts7.txt");
  EXPECT_EQ(status.line().text(), "");
  EXPECT_EQ(platform.console, "");
}

}  // namespace
}  // namespace tallyhawk

#include "run/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace tallyhawk {
namespace {

TEST(CommandLineTest, FileNamesAreCutAndSwitchLettersAreCaseSensitive) {
  RunOptions options =
      ParseCommandLine({"/L" + std::string(200, 'x'), "/Fa.ini", "/F", "/fb"});
  EXPECT_EQ(options.LogFileName, std::string(127, 'x'));
  EXPECT_EQ(options.IniFileName, "");
  EXPECT_FALSE(options.mayCreateTemplate);
  RunOptions lower = ParseCommandLine({"/fb.ini", "/lb.log", "/zb.txt", "/x"});
  EXPECT_EQ(lower.IniFileName, "tallyhawk.ini");
  EXPECT_TRUE(lower.mayCreateTemplate);
  EXPECT_EQ(lower.LogFileName, "tallyhawk.log");
  EXPECT_EQ(lower.ZoneInfoFileName, "zoneinfo.txt");
}

}  // namespace
}  // namespace tallyhawk

#include "run/command_line.h"

#include <gtest/gtest.h>

namespace tallyhawk {
namespace {

TEST(CommandLineTest, DefaultsWithoutArguments) {
  RunOptions options = ParseCommandLine({});
  EXPECT_FALSE(options.quiet);
  EXPECT_FALSE(options.veryquiet);
  EXPECT_EQ(options.IniFileName, "tallyhawk.ini");
  EXPECT_EQ(options.LogFileName, "tallyhawk.log");
  EXPECT_EQ(options.ZoneInfoFileName, "zoneinfo.txt");
  EXPECT_TRUE(options.mayCreateTemplate);
}

TEST(CommandLineTest, QuietSwitchesMatchWholeAndNeverClear) {
  EXPECT_TRUE(ParseCommandLine({"/quiet"}).quiet);
  EXPECT_TRUE(ParseCommandLine({"-quiet"}).quiet);
  EXPECT_FALSE(ParseCommandLine({"/quieter"}).quiet);
  EXPECT_FALSE(ParseCommandLine({"/Quiet"}).quiet);
  EXPECT_FALSE(ParseCommandLine({"quiet"}).quiet);
  RunOptions both = ParseCommandLine({"/veryquiet", "/quiet"});
  EXPECT_TRUE(both.quiet);
  EXPECT_TRUE(both.veryquiet);
  EXPECT_FALSE(ParseCommandLine({"/quiet"}).veryquiet);
}

TEST(CommandLineTest, FileNameSwitchesTakeTheRestOfTheArgument) {
  RunOptions options = ParseCommandLine(
      {"/Fa.ini", "-Fb c.ini", "/Lrun.log", "-Zzones.txt", "Fignored.ini"});
  EXPECT_EQ(options.IniFileName, "b c.ini");
  EXPECT_FALSE(options.mayCreateTemplate);
  EXPECT_EQ(options.LogFileName, "run.log");
  EXPECT_EQ(options.ZoneInfoFileName, "zones.txt");
  EXPECT_EQ(ParseCommandLine({"/F"}).IniFileName, "");
  EXPECT_FALSE(ParseCommandLine({"/F"}).mayCreateTemplate);
  EXPECT_EQ(ParseCommandLine({"/L" + std::string(200, 'x')}).LogFileName,
            std::string(127, 'x'));
}

TEST(CommandLineTest, UnknownSwitchesAreIgnored) {
  RunOptions options = ParseCommandLine({"/", "-", "/x", "/fname", "--help"});
  EXPECT_EQ(options.IniFileName, "tallyhawk.ini");
  EXPECT_TRUE(options.mayCreateTemplate);
  EXPECT_FALSE(options.quiet);
}

}  // namespace
}  // namespace tallyhawk

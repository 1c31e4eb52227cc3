#include "run/status_output.h"

#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace tallyhawk {
namespace {

using testing::FakePlatform;

TEST(StatusLineTest, KeepsTheFirst255CharactersOnly) {
  StatusLine line;
  line << std::string(250, 'a') << "bcdefgh" << uint32_t{42};
  EXPECT_EQ(line.text(), std::string(250, 'a') + "bcdef");
  line.Reset();
  line << "x" << uint64_t{8589934592} << " " << 2.4 << " " << 42.5;
  EXPECT_EQ(line.text(), "x8589934592 2 43");
}

TEST(StatusLineTest, PrecisionHoldsUntilReset) {
  StatusLine line;
  line.SetPrecision(3);
  line << 1.5;
  line.Reset();
  line << 1.5;
  EXPECT_EQ(line.text(), "2");
}

TEST(StatusOutputTest, ConsoleAndLogGetTheSameWordsWithCrLfInTheLog) {
  FakePlatform platform;
  StatusOutput status(platform, false, false);
  status.OpenLog("run.log");
  status.PrintStatus("Loading users .");
  status.line() << ". Done\n";
  status.PrintStatusLine();
  EXPECT_EQ(status.line().text(), "");
  status.CloseLog();
  EXPECT_EQ(platform.console, "Loading users .. Done\n");
  EXPECT_EQ(platform.files["run.log"], "Loading users .. Done\r\n");
}

TEST(StatusOutputTest, QuietKeepsTheLogAndVeryquietKeepsNothing) {
  FakePlatform platform;
  StatusOutput quiet(platform, true, false);
  quiet.OpenLog("quiet.log");
  quiet.PrintStatus("x\n");
  quiet.CloseLog();
  StatusOutput silent(platform, false, true);
  silent.OpenLog("silent.log");
  silent.PrintStatus("y\n");
  silent.CloseLog();
  EXPECT_EQ(platform.console, "");
  EXPECT_EQ(platform.files["quiet.log"], "x\r\n");
  EXPECT_EQ(platform.files.count("silent.log"), 0u);
}

TEST(StatusOutputTest, UnopenableLogWarnsOnTheConsoleOnly) {
  FakePlatform platform;
  platform.uncreatable.insert("bad.log");
  StatusOutput status(platform, false, false);
  status.OpenLog("bad.log");
  status.PrintStatus("go on\n");
  EXPECT_EQ(platform.console,
            "WARNING:  Unable to open log file 'bad.log', no log will be kept\ngo on\n");
  EXPECT_EQ(platform.files.count("bad.log"), 0u);
}

TEST(StatusOutputTest, CopyStatusLineEmptiesTheLineWithoutPrinting) {
  FakePlatform platform;
  StatusOutput status(platform, false, false);
  status.line() << "path/TotPts" << uint32_t{7} << ".txt";
  EXPECT_EQ(status.CopyStatusLine(), "path/TotPts7.txt");
  EXPECT_EQ(status.line().text(), "");
  EXPECT_EQ(platform.console, "");
}

}  // namespace
}  // namespace tallyhawk

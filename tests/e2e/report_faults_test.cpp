// Reports that cannot be created or completed end the run with the right
// message and exit code 1, and leave the reports of the previous run intact.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

namespace fs = std::filesystem;

const char kAllOutputs[] = "[Output]\nText=1\nHTML=1\nHTMLGroup=1\n";

void WriteZone(const TempDir& dir) {
  dir.Write("user.dat", MakeUser(1, "Ace", 10) + MakeUser(2, "Bo", 10));
  dir.Write("squad.dat", MakeSquad(10, "Red"));
  dir.Write("score.dat", MakeScore(1, 7, 1, 60, 40, 500, 100) +
                             MakeScore(2, 7, 2, 70, 0, 300, 0));
  dir.Write("tallyhawk.ini", kAllOutputs);
}

bool HasTemporaryFiles(const std::map<std::string, std::string>& files) {
  for (const auto& [relative, bytes] : files) {
    if (relative.find(".tmp") != std::string::npos) return true;
  }
  return false;
}

TEST(ReportFaultsTest,
     DirectoryInPlaceOfAReportEndsTheRunAndKeepsEarlierReports) {
  TempDir dir;
  WriteZone(dir);
  ASSERT_EQ(RunTallyhawkIn(dir).exit_code, 0);
  std::map<std::string, std::string> before = dir.Files();
  fs::remove(fs::path(dir.path()) / "Wins7.html");
  dir.MakeDirectory("Wins7.html");

  RunResult run = RunTallyhawkIn(dir);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.console.ends_with(
      "Writing 'Wins7.txt' ... Done\n"
      "ERROR: Unable to open file for HTML output\n"
      "*** Error occurred, exiting.  (Logged to error file)\n"));
  std::map<std::string, std::string> after = dir.Files();
  EXPECT_FALSE(HasTemporaryFiles(after));
  // The grouped page that was open when the run failed keeps its earlier
  // version; every other report is as the earlier run left it.
  for (const auto& [relative, bytes] : before) {
    if (relative == "Wins7.html" || relative == "tallyhawk.log") continue;
    EXPECT_EQ(Masked(after[relative]), Masked(bytes)) << relative;
  }
  EXPECT_EQ(Masked(after["tallyhawk.err"]),
            Masked(CrLf(std::string(kFrozenDateText) +
                        "Unable to open file for HTML output\n\n")));
}

// Without subdirectories the grouped page is the first report a pass opens.
TEST(ReportFaultsTest, MissingOutputDirectoryEndsTheRun) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string(kAllOutputs) + "Directory=missing\n",
       "SCORE ID 7\n--------------------------\n"
       "ERROR: Unable to open file for group HTML output\n"},
      {"[Output]\nUseSubDir=1\nDirectory=missing\n",
       "Using subdirectories\nERROR: Invalid path to subdirectory\n"},
  };
  for (const auto& [settings, console_end] : cases) {
    TempDir dir;
    WriteZone(dir);
    dir.Write("tallyhawk.ini", settings);
    RunResult run = RunTallyhawkIn(dir);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_TRUE(run.console.ends_with(
        console_end + "*** Error occurred, exiting.  (Logged to error file)\n"))
        << run.console;
  }
}

// A report is handed to the system line by line, so a full disk ends the run
// at the first line that does not fit: here the grouped page's first line.
TEST(ReportFaultsTest, FullDiskEndsTheRunWithTheWriteMessage) {
  TempDir dir;
  SmallDisk disk(dir.path());
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small file system here";
  WriteZone(dir);
  dir.Write("zoneinfo.txt", "");
  dir.Write("PilotStats7.html", "the earlier page");
  dir.Write("filler", std::string(200 * 1024, 'x'));  // fills the disk

  RunResult run = RunTallyhawkIn(dir);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.console.ends_with(
      "SCORE ID 7\n--------------------------\n"
      "ERROR: Unable to write file for group HTML output\n"
      "*** Error occurred, exiting.  (Logged to error file)\n"))
      << run.console;
  std::map<std::string, std::string> after = dir.Files();
  EXPECT_FALSE(HasTemporaryFiles(after));
  EXPECT_EQ(after["PilotStats7.html"], "the earlier page");
  fs::remove(fs::path(dir.path()) / "filler");
}

}  // namespace
}  // namespace tallyhawk::testing

// Whole runs of the real program beyond the golden ones: command line,
// console and log; runs that fail, with their error file and the earlier
// reports kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <sstream>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace tallyhawk::testing {
namespace {

const char kLoaded[] = "Loading settings from 'tallyhawk.ini' ... Done\n";
const char kEmptyZoneRun[] =
    "Loading users . Done\nRead 0 users\n"
    "Loading squads . Done\nRead 0 squads\n"
    "Loading scores . Done\nRead 0 scores\n"
    "\n"
    "Sorting all scoreID's . Done, found 0 scoreID's\n"
    "\n"
    "\nScore extraction complete.\n\n";
const char kAllOutputs[] = "[Output]\nText=1\nHTML=1\nHTMLGroup=1\n";

// The words of `text`, as arguments.
std::vector<std::string> Args(const std::string& text) {
  std::istringstream words(text);
  return {std::istream_iterator<std::string>(words), {}};
}

void WriteEmptyZone(const TempDir& dir) {
  for (const char* name : {"user.dat", "squad.dat", "score.dat"})
    dir.Write(name, "");
}

void WriteZone(const TempDir& dir) {
  for (const auto& [name, bytes] : SmallZone()) dir.Write(name, bytes);
  dir.Write("tallyhawk.ini", kAllOutputs);
}

// Quiet switches, and a console that is closed or whose reader has gone,
// silence the console only; veryquiet touches no log either, and a log that
// cannot be opened only warns.
TEST(RunTest, ConsoleAndLogOfARun) {
  struct Case {
    std::string args;
    Console console = Console::kCaptured;
    bool quiet = false;
    bool veryquiet = false;  // or a log that cannot be opened
    std::string before = "";
  };
  const Case cases[] = {
      {"", Console::kCaptured},
      {"/quiet", Console::kCaptured, true},
      {"", Console::kClosed, true},
      {"", Console::kBrokenPipe, true},
      {"/veryquiet /quiet", Console::kCaptured, true, true},
      {"/Lmissing/run.log", Console::kCaptured, false, true,
       "WARNING:  Unable to open log file 'missing/run.log', no log will be "
       "kept\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteEmptyZone(dir);
    dir.Write("tallyhawk.ini", "");
    dir.Write("tallyhawk.log", "earlier log");
    RunResult run = RunTallyhawkIn(dir, Args(c.args), {.console = c.console});
    const std::string text = kBanner + std::string(kLoaded) + kEmptyZoneRun;
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(Masked(run.console), c.quiet ? "" : c.before + text);
    EXPECT_EQ(Masked(dir.Read("tallyhawk.log")),
              c.veryquiet ? "earlier log" : CrLf(text));
  }
}

// The last of each switch counts, its letter in upper case, and a name is
// cut at 127 characters.
TEST(RunTest, FileNameSwitchesNameTheLogSettingsAndZoneMap) {
  TempDir dir;
  WriteEmptyZone(dir);
  dir.Write("b.ini", "[General]\nTopX=5\n");
  RunResult run = RunTallyhawkIn(
      dir, {"/Fa.ini", "-Fb.ini", "/fc.ini", "/L" + std::string(130, 'x'),
            "/lrun.log", "/Zzones.txt", "/zz.txt", "/quieter", "Fx.ini"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.console.find("Loading settings from 'b.ini' ... Done\n"),
            std::string::npos);
  EXPECT_EQ(dir.Read(std::string(127, 'x')), CrLf(run.console));
  std::string names;
  for (const auto& [name, bytes] : dir.Files())
    names += name.substr(0, 9) + " ";
  EXPECT_EQ(names, "b.ini score.dat squad.dat user.dat xxxxxxxxx zones.txt ");
}

TEST(RunTest, HelpAndVersionTouchNoFile) {
  TempDir dir;
  RunResult help = RunTallyhawkIn(dir, {"/quiet", "--help"});
  RunResult version = RunTallyhawkIn(dir, {"--version"});
  EXPECT_EQ(std::pair(help.exit_code, version.exit_code), std::pair(0, 0));
  EXPECT_TRUE(help.console.starts_with("Usage: tallyhawk"));
  EXPECT_EQ(Masked(version.console), "Tallyhawk v0.2 Build <build date>\n");
  EXPECT_TRUE(dir.Files().empty());
}

std::string FatalLines(const std::string& message) {
  return "ERROR: " + message +
         "\n*** Error occurred, exiting.  (Logged to error file)\n";
}

// Runs in `dir` in a time zone five hours west of UTC, expecting the run to
// fail: exit code 1, no temporary file left, and every file that was there
// but the log as it was.
RunResult RunToFailure(const TempDir& dir,
                       const std::vector<std::string>& args = {}) {
  const std::map<std::string, std::string> before = dir.Files();
  RunResult run = RunTallyhawkIn(dir, args, {.tz = "EST5"});
  EXPECT_EQ(run.exit_code, 1);
  std::map<std::string, std::string> after = dir.Files();
  for (const auto& [relative, bytes] : after)
    EXPECT_EQ(relative.find(".tmp"), std::string::npos) << relative;
  for (const auto& [relative, bytes] : before) {
    if (relative == "tallyhawk.log") continue;
    EXPECT_EQ(Masked(after[relative]), Masked(bytes)) << relative;
  }
  return run;
}

// Each fatal error: the console lines (none with veryquiet), the log a copy
// of them, the error file with the local time and the message, exit code 1,
// and the reports of the earlier run kept. Without subdirectories the grouped
// page is the first report a pass opens.
TEST(RunTest, FatalErrorEndsTheRunAndKeepsTheEarlierReports) {
  struct Case {
    std::string console;  // before the error
    std::string error;
    std::string args = "";
    std::string settings = kAllOutputs;
  };
  const Case cases[] = {
      {kBanner, "Unable to load configuration settings, exiting",
       "/Fother.ini"},
      // Every switch counts, one with an empty name too.
      {"", "Unable to load configuration settings, exiting", "/veryquiet /F"},
      {"SCORE ID 7\n--------------------------\n",
       "Unable to open file for group HTML output", "",
       std::string(kAllOutputs) + "Directory=missing\n"},
      {"Using subdirectories\n", "Invalid path to subdirectory", "",
       "[Output]\nUseSubDir=1\nDirectory=missing\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteZone(dir);
    ASSERT_EQ(RunTallyhawkIn(dir, {}, {.tz = "EST5"}).exit_code, 0);
    std::filesystem::remove(dir.path() + "/tallyhawk.log");
    dir.Write("tallyhawk.ini", c.settings);
    RunResult run = RunToFailure(dir, Args(c.args));
    EXPECT_TRUE(
        c.console.empty()
            ? run.console.empty()
            : Masked(run.console).ends_with(c.console + FatalLines(c.error)))
        << run.console;
    EXPECT_EQ(Masked(dir.Read("tallyhawk.err")),
              Masked(CrLf("Sun Dec 06 07:00:00 2026\n" + c.error + "\n\n")));
    EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(run.console));
  }
}

// A report's first line reaches the system at once, so a full disk ends the
// run at the first report: here the grouped page.
TEST(RunTest, FullDiskEndsTheRunWithTheWriteMessage) {
#ifdef __linux__
  TempDir dir;
  if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=96k") != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  struct Unmount {
    const std::string& path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{dir.path()};
  WriteZone(dir);
  dir.Write("zoneinfo.txt", "");
  dir.Write("PilotStats7.html", "the earlier page");
  dir.Write("filler", std::string(200 * 1024, 'x'));  // fills the disk
  EXPECT_TRUE(RunToFailure(dir).console.ends_with(
      "SCORE ID 7\n--------------------------\n" +
      FatalLines("Unable to write file for group HTML output")));
#else
  GTEST_SKIP() << "a small file system is mounted on Linux only";
#endif
}

}  // namespace
}  // namespace tallyhawk::testing

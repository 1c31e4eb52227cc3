// Whole runs of the real program: command line, console, log and the
// fatal-error path. The template bytes are pinned by the golden runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

const char kCreated[] = "Settings not found, creating 'tallyhawk.ini' ... ";
const char kLoaded[] = "Loading settings from 'tallyhawk.ini' ... Done\n";
const char kEmptyZoneRun[] =
    "Loading users . Done\nRead 0 users\n"
    "Loading squads . Done\nRead 0 squads\n"
    "Loading scores . Done\nRead 0 scores\n"
    "\n"
    "Sorting all scoreID's . Done, found 0 scoreID's\n"
    "\n"
    "\nScore extraction complete.\n\n";

std::string FatalConsole(const std::string& message) {
  return "ERROR: " + message +
         "\n*** Error occurred, exiting.  (Logged to error file)\n";
}

void WriteEmptyDatabases(const TempDir& dir) {
  for (const char* name : {"user.dat", "squad.dat", "score.dat"})
    dir.Write(name, "");
}

// The output directory ends in the platform's separator; '/' ends it too.
TEST(RunTest, ExistingSettingsAreReadAndTheLogIsTruncated) {
  for (const auto& [directory, shown] :
       {std::pair<std::string, std::string>{"out", PlatformPath("out/")},
        {"out/", "out/"}}) {
    TempDir dir;
    WriteEmptyDatabases(dir);
    dir.Write("tallyhawk.ini",
              "[Output]\nStyleSheet= \nDirectory=" + directory + "\n");
    dir.Write("tallyhawk.log", std::string(5000, 'x'));
    RunResult run = RunTallyhawkIn(dir);
    std::string zone_run = kEmptyZoneRun;
    zone_run.insert(
        zone_run.find("scoreID's\n") + 10,
        "Using output directory " + shown + "\nStyle sheet defined:  \n");
    EXPECT_EQ(Masked(run.console), kBanner + std::string(kLoaded) + zone_run);
    EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(run.console));
  }
}

// The quiet switches, and a console that is closed or whose reader has gone,
// silence the console only; veryquiet touches no log either.
TEST(RunTest, QuietSwitchesAndLostConsolesKeepTheLog) {
  const std::string log = CrLf(kBanner + std::string(kLoaded) + kEmptyZoneRun);
  const std::tuple<std::vector<std::string>, Console, std::string> cases[] = {
      {{"/quiet"}, Console::kCaptured, log},
      {{}, Console::kClosed, log},
      {{}, Console::kBrokenPipe, log},
      {{"-veryquiet"}, Console::kCaptured, "earlier log"},
      {{"/veryquiet", "/quiet"}, Console::kCaptured, "earlier log"},
  };
  for (const auto& [args, console, expected_log] : cases) {
    TempDir dir;
    WriteEmptyDatabases(dir);
    dir.Write("tallyhawk.ini", "");
    dir.Write("tallyhawk.log", "earlier log");
    RunResult run = RunTallyhawkIn(dir, args, {.console = console});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.console, "");
    EXPECT_EQ(Masked(dir.Read("tallyhawk.log")), expected_log);
  }
}

TEST(RunTest, FileNameSwitchesNameTheLogSettingsAndZoneMap) {
  TempDir dir;
  WriteEmptyDatabases(dir);
  dir.Write("b.ini", "[General]\nTopX=5\n");
  RunResult run = RunTallyhawkIn(dir, {"/Fa.ini", "-Fb.ini", "/Lrun.log",
                                       "/Zzones.txt", "/quieter", "Fx.ini"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.console.find("Loading settings from 'b.ini' ... Done\n"),
            std::string::npos);
  EXPECT_EQ(dir.Read("run.log"), CrLf(run.console));
  EXPECT_TRUE(dir.Exists("zones.txt"));
  for (const char* untouched :
       {"tallyhawk.log", "zoneinfo.txt", "tallyhawk.ini"}) {
    EXPECT_FALSE(dir.Exists(untouched)) << untouched;
  }
}

TEST(RunTest, LogThatCannotBeOpenedOnlyWarns) {
  TempDir dir;
  WriteEmptyDatabases(dir);
  RunResult run = RunTallyhawkIn(dir, {"/Lmissing/run.log"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(Masked(run.console)
                  .starts_with("WARNING:  Unable to open log file "
                               "'missing/run.log', no log will be kept\n" +
                               std::string(kBanner)));
}

// Each fatal error: the console (and log) lines, the error file, exit code 1.
TEST(RunTest, FatalErrorsAtStartUp) {
  struct Case {
    std::vector<std::string> args;
    std::string directory;  // made where the program wants a file
    std::string before_error;
    std::string message;
  };
  const std::string created = std::string(kCreated) + "Done\n";
  const Case cases[] = {
      {{"/Fother.ini"}, "", "", "Unable to load configuration settings"},
      {{}, "user.dat", created, "Failed to open user database"},
      {{"/Zno/zones.txt"}, "", created, "Unable to create zone info template"},
      // Such a directory can be neither read as settings nor replaced.
      {{}, "tallyhawk.ini", kCreated, "Unable to create INI template"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteEmptyDatabases(dir);
    if (!c.directory.empty()) {
      std::filesystem::remove(dir.path() + "/" + c.directory);
      dir.MakeDirectory(c.directory);
    }
    const std::string message = c.message + ", exiting";
    RunResult run = RunTallyhawkIn(dir, c.args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(Masked(run.console),
              kBanner + c.before_error + FatalConsole(message));
    EXPECT_EQ(Masked(dir.Read("tallyhawk.err")),
              Masked(CrLf(kFrozenDateText + message + "\n\n")));
    EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(run.console));
  }
}

// Where the clock is not frozen, only the shape of the date is known.
TEST(RunTest, ErrorFileDateIsLocalTimeAndVeryquietStillWritesIt) {
  TempDir dir;
  RunResult run =
      RunTallyhawkIn(dir, {"/veryquiet", "/Fnone.ini"}, {.tz = "EST5"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.console, "");
  EXPECT_FALSE(dir.Exists("tallyhawk.log"));
  EXPECT_EQ(Masked(dir.Read("tallyhawk.err")),
            Masked(CrLf("Sun Dec 06 07:00:00 2026\n"
                        "Unable to load configuration settings, exiting\n\n")));
}

TEST(RunTest, HelpAndVersionTouchNoFile) {
  TempDir dir;
  RunResult help = RunTallyhawkIn(dir, {"/quiet", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.console.starts_with("Usage: tallyhawk"));
  RunResult version = RunTallyhawkIn(dir, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(Masked(version.console), "Tallyhawk v0.2 Build <build date>\n");
  EXPECT_TRUE(dir.Files().empty());
}

}  // namespace
}  // namespace tallyhawk::testing

// Whole runs of the real program: command line, console, log, templates and
// the fatal-error path. The template bytes are pinned by the golden runs.
#include <gtest/gtest.h>

#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

const char kCreated[] = "Settings not found, creating 'tallyhawk.ini' ... ";
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

// A zone whose three databases exist and are empty.
struct EmptyZone : TempDir {
  EmptyZone() {
    for (const char* name : {"user.dat", "squad.dat", "score.dat"})
      Write(name, "");
  }
};

TEST(RunTest, FirstRunWritesBothTemplatesAndALogEqualToTheConsole) {
  EmptyZone dir;
  RunResult run = RunTallyhawkIn(dir);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.console, ConsoleBanner() + kCreated + "Done\n" + kEmptyZoneRun);
  EXPECT_EQ(dir.Files().size(), 6u);
  EXPECT_TRUE(dir.Read("zoneinfo.txt").ends_with("\r\n\r\n1234:My Zone\r\n"));
  EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(run.console));
}

TEST(RunTest, ExistingSettingsAreReadAndTheLogIsTruncated) {
  EmptyZone dir;
  dir.Write("tallyhawk.ini", "[Output]\nDirectory=out\nStyleSheet= \n");
  dir.Write("tallyhawk.log", std::string(5000, 'x'));
  RunResult run = RunTallyhawkIn(dir);
  std::string zone_run = kEmptyZoneRun;
  zone_run.insert(zone_run.find("scoreID's\n") + 10,
                  "Using output directory out/\nStyle sheet defined:  \n");
  EXPECT_EQ(run.console,
            ConsoleBanner() +
                "Loading settings from 'tallyhawk.ini' ... Done\n" + zone_run);
  EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(run.console));
}

TEST(RunTest, QuietKeepsTheLogAndVeryquietTouchesNoLog) {
  EmptyZone dir;
  RunResult quiet = RunTallyhawkIn(dir, {"/quiet"});
  EXPECT_EQ(quiet.console, "");
  EXPECT_TRUE(dir.Read("tallyhawk.log")
                  .ends_with("Score extraction complete.\r\n\r\n"));
  dir.Write("tallyhawk.log", "earlier log");
  for (auto args : {std::vector<std::string>{"-veryquiet"},
                    std::vector<std::string>{"/veryquiet", "/quiet"}}) {
    RunResult run = RunTallyhawkIn(dir, args);
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.console, "");
    EXPECT_EQ(dir.Read("tallyhawk.log"), "earlier log");
  }
}

TEST(RunTest, FileNameSwitchesNameTheLogSettingsAndZoneMap) {
  EmptyZone dir;
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
  EmptyZone dir;
  RunResult run = RunTallyhawkIn(dir, {"/Lmissing/run.log"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(
      run.console.starts_with("WARNING:  Unable to open log file "
                              "'missing/run.log', no log will be kept\n" +
                              ConsoleBanner()));
}

// Each fatal error: the console (and log) lines, the error file, exit code 1.
TEST(RunTest, FatalErrorsAtStartUp) {
  struct Case {
    std::vector<std::string> args;
    bool databases;
    std::string before_error;
    std::string message;
  };
  const Case cases[] = {
      {{"/Fother.ini"},
       true,
       "",
       "Unable to load configuration settings, exiting"},
      {{},
       false,
       std::string(kCreated) + "Done\n",
       "Failed to open user database, exiting"},
      {{"/Zno/dir/zones.txt"},
       true,
       std::string(kCreated) + "Done\n",
       "Unable to create zone info template, exiting"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (c.databases) {
      for (const char* name : {"user.dat", "squad.dat", "score.dat"})
        dir.Write(name, "");
    }
    RunResult run = RunTallyhawkIn(dir, c.args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.console,
              ConsoleBanner() + c.before_error + FatalConsole(c.message));
    EXPECT_EQ(dir.Read("tallyhawk.err"),
              CrLf(std::string(kFrozenDateText) + c.message + "\n\n"));
    EXPECT_EQ(dir.Read("tallyhawk.log"), CrLf(run.console));
  }
}

TEST(RunTest, SettingsTemplateThatCannotBeWrittenIsFatal) {
  TempDir dir;
  // A directory of that name can be neither read as settings nor replaced.
  dir.MakeDirectory("tallyhawk.ini");
  RunResult run = RunTallyhawkIn(dir);
  EXPECT_EQ(run.console,
            ConsoleBanner() + kCreated +
                FatalConsole("Unable to create INI template, exiting"));
  EXPECT_FALSE(dir.Exists("zoneinfo.txt"));
}

TEST(RunTest, ErrorFileDateIsLocalTimeAndVeryquietStillWritesIt) {
  TempDir dir;
  RunResult run =
      RunTallyhawkIn(dir, {"/veryquiet", "/Fnone.ini"}, {.tz = "EST5"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.console, "");
  EXPECT_FALSE(dir.Exists("tallyhawk.log"));
  EXPECT_EQ(dir.Read("tallyhawk.err"),
            CrLf("Sun Dec 06 07:00:00 2026\n"
                 "Unable to load configuration settings, exiting\n\n"));
}

TEST(RunTest, HelpAndVersionTouchNoFile) {
  TempDir dir;
  RunResult help = RunTallyhawkIn(dir, {"/quiet", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.console.starts_with("Usage: tallyhawk"));
  RunResult version = RunTallyhawkIn(dir, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.console,
            ConsoleBanner().substr(0, ConsoleBanner().find('\n') + 1));
  EXPECT_TRUE(dir.Files().empty());
}

}  // namespace
}  // namespace tallyhawk::testing

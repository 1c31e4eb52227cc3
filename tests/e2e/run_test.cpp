// Whole runs of the real program beyond the golden ones: command line,
// console and log; runs that fail, with their error file and the earlier
// reports kept; and runs as an unattended admin's scheduler makes them, with
// outputs named like databases and what killed runs left behind.
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

void WriteZone(const TempDir& dir, const std::string& settings = kAllOutputs) {
  for (const auto& [name, bytes] : SmallZone()) dir.Write(name, bytes);
  dir.Write("zoneinfo.txt", "");
  dir.Write("tallyhawk.ini", settings);
}

bool HasTemporaryFiles(const std::map<std::string, std::string>& files) {
  for (const auto& [path, bytes] : files) {
    if (path.find(".tallyhawk-") != std::string::npos) return true;
  }
  return false;
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
  for (const char* name : {"--help", "-h", "-?", "/?"}) {
    RunResult help = RunTallyhawkIn(dir, {"/quiet", name});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_TRUE(help.console.starts_with("Usage: tallyhawk")) << name;
  }
  RunResult version = RunTallyhawkIn(dir, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(Masked(version.console), "Tallyhawk v0.2 Build <build date>\n");
  EXPECT_TRUE(dir.Files().empty());
}

// --check writes nothing, whatever it finds, and its exit code tells a run
// that would succeed (0), succeed with warnings (2) or fail (1).
TEST(RunTest, CheckWritesNothingAndTellsWhatARunWouldMeet) {
  const struct {
    std::string settings;  // none: no settings file
    int exit_code;
    std::string last_line;
  } kCases[] = {
      {"[Output]\nDirectory=out\nText=1\nJSON=1\n", 0,
       "A run would succeed.\n"},
      {"", 0, "A run would succeed.\n"},
      {"[General]\nTopX=abc\n", 2, "A run would succeed, with 1 warning.\n"},
      {"[Output]\nDirectory=missing\n", 1,
       "A run would fail: 1 error, 0 warnings.\n"},
      {"[Output]\nUseSubDir=1\nDirectory=missing\n", 1,
       "A run would fail: 2 errors, 0 warnings.\n"},
      {"[General]\nDatScore=none.dat\n[Output]\nTopX=5\n", 1,
       "A run would fail: 1 error, 1 warning.\n"},
  };
  for (const auto& c : kCases) {
    TempDir dir;
    for (const auto& [name, bytes] : SmallZone()) dir.Write(name, bytes);
    if (!c.settings.empty()) dir.Write("tallyhawk.ini", c.settings);
    dir.MakeDirectory("out");
    const auto before = dir.Files();
    const RunResult check = RunTallyhawkIn(dir, {"--check"});
    EXPECT_EQ(check.exit_code, c.exit_code) << check.console;
    EXPECT_TRUE(check.console.ends_with(c.last_line)) << check.console;
    EXPECT_EQ(dir.Files(), before);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() + "/out"));
    EXPECT_EQ(check.errors, "");
  }
  // What it tells of a zone that a run would write as it should.
  TempDir dir;
  for (const auto& [name, bytes] : SmallZone()) dir.Write(name, bytes);
  dir.Write("tallyhawk.ini", kCases[0].settings);
  dir.Write("zoneinfo.txt", "7:Arena\n");
  dir.MakeDirectory("out");
  EXPECT_EQ(PosixPaths(RunTallyhawkIn(dir, {"--check"}).console),
            "Settings: 'tallyhawk.ini'\n"
            "Site: off\n"
            "Zone map: 'zoneinfo.txt'\n"
            "Database: 'user.dat', 2 user records\n"
            "Database: 'squad.dat', 1 squad record\n"
            "Database: 'score.dat', 2 score records\n"
            "Score IDs: 7\n"
            "Score ID 7: 19 reports in 'out/'\n"
            "Usage: 3 reports in 'out/'\n"
            "A run would succeed.\n");
  // The site: where it goes, its templates, and one that does not parse.
  dir.Write("tallyhawk.ini",
            kCases[0].settings + "[Site]\nEnabled=1\nTemplates=tpl\n");
  dir.Write("tpl/squad.mustache", "{{#a}}\n{{/a}}\n");
  const std::string site =
      "Site: on, titled 'Zone statistics': index.html, pilots/ and squads/ "
      "in 'out/'\n"
      "Site templates: index.mustache built in, pilot.mustache built in, "
      "squad.mustache from 'tpl/squad.mustache'\n";
  RunResult check = RunTallyhawkIn(dir, {"--check"});
  EXPECT_EQ(check.exit_code, 0);
  EXPECT_NE(PosixPaths(check.console).find(site), std::string::npos)
      << check.console;
  dir.Write("tpl/pilot.mustache", "<p>\n{{#a}}\n");
  check = RunTallyhawkIn(dir, {"--check"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(
      PosixPaths(check.console)
          .find("error: 'tpl/pilot.mustache' (in " + PosixPaths(dir.path()) +
                "), line 2: the template does not parse: Unclosed "
                "section \"a\"\n"),
      std::string::npos)
      << check.console;
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
  EXPECT_FALSE(HasTemporaryFiles(after));
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
// run at the first report: here the grouped page. The error file cannot be
// written either, and the last line says so.
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
  dir.Write("PilotStats7.html", "the earlier page");
  dir.Write("filler", std::string(200 * 1024, 'x'));  // fills the disk
  const RunResult run = RunToFailure(dir);
  EXPECT_TRUE(run.console.ends_with(
      "SCORE ID 7\n--------------------------\n"
      "ERROR: Unable to write file for group HTML output\n"
      "*** Error occurred, exiting.  (Unable to write error file)\n"))
      << run.console;
#else
  GTEST_SKIP() << "a small file system is mounted on Linux only";
#endif
}

// A disk nearly full of an earlier run's reports: each report replaced gives
// its space back before the next needs it, so the run completes, every
// time, however far the threads that let old files go have come.
TEST(RunTest, ReportsReplacedOnANearlyFullDiskMakeRoomForTheNext) {
#ifdef __linux__
  TempDir dir;
  if (::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=1m") != 0)
    GTEST_SKIP() << "cannot mount a small file system here";
  struct Unmount {
    const std::string& path;
    ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
  } unmount{dir.path()};
  WriteZone(dir, std::string(kAllOutputs) + "JSON=1\n");
  ASSERT_EQ(RunTallyhawkIn(dir, {"/veryquiet"}).exit_code, 0);
  // What is left free holds a dozen pages, not every report once more.
  const auto free = std::filesystem::space(dir.path()).available;
  dir.Write("filler", std::string(free - 12 * 4096, 'x'));
  for (int run = 0; run < 5; ++run) {
    const RunResult again = RunTallyhawkIn(dir, {"/veryquiet"});
    ASSERT_EQ(again.exit_code, 0)
        << run << ": " << again.errors << " free now "
        << std::filesystem::space(dir.path()).available << " of " << free;
  }
#else
  GTEST_SKIP() << "a small file system is mounted on Linux only";
#endif
}

// An output named like a database counts as one that cannot be opened, and
// the database stays byte for byte as it was.
TEST(ReliabilityTest, NoOutputEverReplacesOrEmptiesADatabase) {
  const struct {
    std::string args;
    std::string settings;
    std::string database;  // "user", "squad" or "score"
    std::string file;      // that holds it
    std::string console;   // a line the console shows
  } kCases[] = {
      {"/Luser.dat", "", "user", "user.dat",
       "WARNING:  Unable to open log file 'user.dat', no log will be kept\n"},
      {"", "[General]\nDatSquad=Usage.html\n", "squad", "Usage.html",
       "ERROR: Unable to open file for HTML output\n"},
      {"", "[General]\nDatScore=./7/TotPts.txt\n[Output]\nText=1\nUseSubDir=1",
       "score", "7/TotPts.txt", "ERROR: Unable to open file for text output\n"},
      // The run fails at its first report; the error file is the database.
      {"", "[General]\nDatUser=tallyhawk.err\n[Output]\nDirectory=none\n",
       "user", "tallyhawk.err",
       "ERROR: Unable to open file for group HTML output\n"},
  };
  for (const auto& test : kCases) {
    SCOPED_TRACE(test.file);
    TempDir dir;
    WriteZone(dir, test.settings);
    dir.MakeDirectory("7");
    const std::string bytes = SmallZone()[test.database + ".dat"];
    dir.Write(test.file, bytes);
    RunResult run = RunTallyhawkIn(dir, {test.args});
    EXPECT_NE(run.console.find(test.console), std::string::npos) << run.console;
    EXPECT_EQ(dir.Read(test.file), bytes);
    EXPECT_FALSE(HasTemporaryFiles(dir.Files()));
  }
  // A missing database named like the log stays missing.
  TempDir dir;
  WriteZone(dir, "[General]\nDatUser=none.dat\n");
  RunResult run = RunTallyhawkIn(dir, {"/Lnone.dat"});
  EXPECT_NE(run.console.find("ERROR: Failed to open user database"),
            std::string::npos);
  EXPECT_FALSE(dir.Files().count("none.dat"));
}

// Killed runs leave their temporary files; the next run removes those of
// the reports it writes and nothing else.
TEST(ReliabilityTest, TemporariesOfKilledRunsAreRemovedByTheNextRun) {
  TempDir dir;
  WriteZone(dir, "[Output]\nText=1\nUseSubDir=1\n");
  const std::string kLeftovers[] = {"Usage.html.tallyhawk-99999-0.tmp",
                                    "7/Wins.txt.tallyhawk-123-45.tmp",
                                    "7/PilotStats.html.tallyhawk-1-2.tmp"};
  dir.MakeDirectory("7");
  for (const std::string& name : kLeftovers) dir.Write(name, "partial");
  dir.Write("7/Wins.html.tallyhawk-1-2.tmp", "not a report of this run");
  dir.Write("notes.tallyhawk-1-2.tmp", "not a report at all");
  ASSERT_EQ(RunTallyhawkIn(dir).exit_code, 0);
  for (const std::string& name : kLeftovers)
    EXPECT_FALSE(dir.Files().count(name));
  EXPECT_TRUE(dir.Files().count("7/Wins.html.tallyhawk-1-2.tmp"));
  EXPECT_TRUE(dir.Files().count("notes.tallyhawk-1-2.tmp"));
}

}  // namespace
}  // namespace tallyhawk::testing

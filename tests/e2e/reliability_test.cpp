// The real program run as an unattended admin's scheduler runs it: outputs
// whose names lead to a database, databases that are no regular files, and
// what earlier runs that were killed left behind.
#include <gtest/gtest.h>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

struct Zone : TempDir {
  explicit Zone(const std::string& settings) {
    for (const auto& [name, bytes] : SmallZone()) Write(name, bytes);
    Write("zoneinfo.txt", "");
    Write("tallyhawk.ini", settings);
  }
};

bool HasTemporaryFiles(const std::map<std::string, std::string>& files) {
  for (const auto& [path, bytes] : files) {
    if (path.find(".tallyhawk-") != std::string::npos) return true;
  }
  return false;
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
    Zone dir(test.settings);
    dir.MakeDirectory("7");
    const std::string bytes = SmallZone()[test.database + ".dat"];
    dir.Write(test.file, bytes);
    RunResult run = RunTallyhawkIn(dir, {test.args});
    EXPECT_NE(run.console.find(test.console), std::string::npos) << run.console;
    EXPECT_EQ(dir.Read(test.file), bytes);
    EXPECT_FALSE(HasTemporaryFiles(dir.Files()));
  }
  // A missing database named like the log stays missing.
  Zone dir("[General]\nDatUser=none.dat\n");
  RunResult run = RunTallyhawkIn(dir, {"/Lnone.dat"});
  EXPECT_NE(run.console.find("ERROR: Failed to open user database"),
            std::string::npos);
  EXPECT_FALSE(dir.Files().count("none.dat"));
}

// Killed runs leave their temporary files; the next run removes those of
// the reports it writes and nothing else.
TEST(ReliabilityTest, TemporariesOfKilledRunsAreRemovedByTheNextRun) {
  Zone dir("[Output]\nText=1\nUseSubDir=1\n");
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

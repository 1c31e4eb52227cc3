// The real program run as an unattended admin's scheduler runs it: outputs
// whose names lead to a database, databases that are no regular files, and
// what earlier runs that were killed left behind.
#include <gtest/gtest.h>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

const std::string kUsers = MakeUser(1, "Ace", 10) + MakeUser(2, "Bo", 10);
const std::string kSquads = MakeSquad(10, "Red");
const std::string kScores = MakeScore(1, 7, 1, 60, 40, 500, 100);

struct Zone : TempDir {
  explicit Zone(const std::string& settings) {
    Write("user.dat", kUsers);
    Write("squad.dat", kSquads);
    Write("score.dat", kScores);
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
  struct Case {
    std::vector<std::string> args;
    std::string settings;
    std::string database;  // the file that holds one of the databases
    std::string bytes;
    std::string console;  // what the console shows, at its end
  };
  const Case kCases[] = {
      {{"/Luser.dat"},
       "",
       "user.dat",
       kUsers,
       "Loading settings from 'tallyhawk.ini' ... Done\n"
       "WARNING:  Unable to open log file 'user.dat', no log will be kept\n"
       "Loading users . Done\nRead 2 users\n"},
      {{},
       "[General]\nDatSquad=Usage.html\n",
       "Usage.html",
       kSquads,
       "ERROR: Unable to open file for HTML output\n"},
      {{},
       "[General]\nDatScore=./7/TotPts.txt\n[Output]\nText=1\nUseSubDir=1",
       "7/TotPts.txt",
       kScores,
       "ERROR: Unable to open file for text output\n"},
      // The run fails at its first report; the error file is the database.
      {{},
       "[General]\nDatUser=tallyhawk.err\n[Output]\nDirectory=none\n",
       "tallyhawk.err",
       kUsers,
       "ERROR: Unable to open file for group HTML output\n"},
  };
  for (const Case& test : kCases) {
    SCOPED_TRACE(test.database);
    Zone dir(test.settings);
    dir.MakeDirectory("7");
    dir.Write(test.database, test.bytes);
    RunResult run = RunTallyhawkIn(dir, test.args);
    EXPECT_NE(run.console.find(test.console), std::string::npos) << run.console;
    EXPECT_EQ(dir.Read(test.database), test.bytes);
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

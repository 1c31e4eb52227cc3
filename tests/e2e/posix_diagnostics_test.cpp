// Standard error as an admin reads it: the file as given, the directory a
// relative name was looked up in, and the system's reason, in its words on
// this platform.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

// `text` with every "<dir>" replaced by `dir`.
std::string In(const TempDir& dir, std::string text) {
  for (size_t at = text.find("<dir>"); at != std::string::npos;
       at = text.find("<dir>")) {
    text.replace(at, 5, dir.path());
  }
  return text;
}

TEST(DiagnosticsTest, StandardErrorNamesTheFileAndTheSystemsReason) {
  const std::string trailing_space =
      "tallyhawk: warning: 'tallyhawk.ini' (in <dir>), line 2: 'DatUser="
      "user.dat ' begins or ends with white space, which is part of the "
      "name\n";
  const std::string no_user_database =
      "tallyhawk: error: 'user.dat ' (in <dir>): cannot open the user "
      "database: No such file or directory\n";
  struct Case {
    std::vector<std::string> args;
    std::string settings;
    std::string errors;
    int exit_code;
    std::string score_tail = "";  // bytes after score.dat's last record
  };
  const Case cases[] = {
      {{},
       "[General]\nDatUser=user.dat \n",
       trailing_space + no_user_database,
       1},
      // Warnings are left out with /veryquiet, fatal errors never.
      {{"/veryquiet"}, "[General]\nDatUser=user.dat \n", no_user_database, 1},
      {{"-v", "/Lmissing/run.log", "my.ini"},
       "",
       "tallyhawk: warning: command line: unknown switch '-v', ignored\n"
       "tallyhawk: warning: command line: argument 'my.ini' is no switch, "
       "ignored\n"
       "tallyhawk: warning: 'missing/run.log' (in <dir>): cannot open the "
       "log; no log will be kept: No such file or directory\n",
       0},
      {{},
       "[Output]\nDirectory=/nonexistent/out\n",
       "tallyhawk: error: '/nonexistent/out/PilotStats7.html': cannot create "
       "the report: No such file or directory\n",
       1},
      {{},
       "[Output]\nUseSubDir=1\nDirectory=score.dat\n",
       "tallyhawk: error: 'score.dat/7/' (in <dir>): cannot create the "
       "subdirectory: Not a directory\n",
       1},
      {{},
       "",
       "tallyhawk: warning: 'score.dat' (in <dir>): the size is not a whole "
       "number of 28-byte records: the last 10 bytes are left out\n",
       0,
       "0123456789"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    for (const auto& [name, bytes] : SmallZone()) dir.Write(name, bytes);
    dir.Write("score.dat", SmallZone()["score.dat"] + c.score_tail);
    dir.Write("tallyhawk.ini", c.settings);
    const RunResult run = RunTallyhawkIn(dir, c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.settings;
    EXPECT_EQ(run.errors, In(dir, c.errors)) << c.settings;
  }
  // A page published through a loop of links names the page it was given.
  TempDir dir;
  for (const auto& [name, bytes] : SmallZone()) dir.Write(name, bytes);
  std::filesystem::create_symlink("PilotStats7.html",
                                  dir.path() + "/PilotStats7.html");
  const RunResult run = RunTallyhawkIn(dir);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.errors,
            In(dir,
               "tallyhawk: error: 'PilotStats7.html' (in <dir>): cannot "
               "create the report: Too many levels of symbolic links\n"));
}

}  // namespace
}  // namespace tallyhawk::testing

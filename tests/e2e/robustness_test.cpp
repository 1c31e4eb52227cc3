// Whatever bytes the configuration files and databases hold, a run ends with
// exit code 0 or 1 and never crashes or hangs.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "support/db_builder.h"
#include "support/e2e_harness.h"

namespace tallyhawk::testing {
namespace {

using namespace std::string_literals;

// Random bytes, or random text of the characters the configuration readers
// care about (NUL and 0xFF included).
class Bytes {
 public:
  explicit Bytes(uint64_t seed) : engine_(seed) {}
  std::string Random(size_t size) { return Draw(size, ""); }
  std::string Config(size_t size) {
    return Draw(size,
                "[]=:/\\ \t\r\n\v\f0123456789-+UserSquadTopXDoWinsHTML\0\xff"s);
  }

 private:
  std::string Draw(size_t size, const std::string& alphabet) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
      uint64_t r = engine_();
      c = alphabet.empty() ? static_cast<char>(r)
                           : alphabet[r % alphabet.size()];
    }
    return bytes;
  }
  std::mt19937_64 engine_;
};

// Runs quietly in `dir`; the log tells how the run ended.
void ExpectCleanEnd(const TempDir& dir) {
  RunResult run = RunTallyhawkIn(dir, {"/quiet"});
  std::string log = dir.Read("tallyhawk.log");
  ASSERT_TRUE(run.exit_code == 0 || run.exit_code == 1)
      << "exit code " << run.exit_code << "\n"
      << log;
  EXPECT_TRUE(log.ends_with(run.exit_code == 0
                                ? "\r\nScore extraction complete.\r\n\r\n"
                                : "(Logged to error file)\r\n"))
      << log;
}

// Random databases under every output, and random settings and zone maps.
TEST(RobustnessTest, RandomInputsEndCleanly) {
  for (uint64_t seed = 1; seed <= 8; ++seed) {
    Bytes bytes(seed);
    TempDir dir;
    dir.Write("user.dat", bytes.Random(196 * 40 + seed));
    dir.Write("squad.dat", bytes.Random(72 * 30 + seed));
    dir.Write("score.dat", bytes.Random(28 * 200 + seed));
    dir.Write("tallyhawk.ini",
              seed % 2 ? bytes.Config(5000) : bytes.Random(3000));
    dir.Write("zoneinfo.txt",
              seed % 3 ? bytes.Config(4000) : bytes.Random(2000));
    ExpectCleanEnd(dir);
    dir.Write("tallyhawk.ini", "[Output]\nText=1\nHTML=1\nUseSubDir=1\n");
    ExpectCleanEnd(dir);
  }
}

TEST(RobustnessTest, ExtremeIdsCostNoMemoryInProportionToTheirValue) {
  TempDir dir;
  dir.Write("user.dat", MakeUser(0, "A") + MakeUser(4294967295u, "P") +
                            MakeUser(2147483648u, "B"));
  dir.Write("squad.dat", "");
  // Rows of user 4294967295 under score ID 3, one in the last slot.
  dir.Write("score.dat", MakeScore(4294967295u, 3, 4294967295u, 100) +
                             MakeScore(7, 3, 4294967295u, 100));
  RunResult run = RunTallyhawkIn(dir);
  ASSERT_EQ(run.exit_code, 0) << run.console;
  EXPECT_NE(run.console.find("Read 3 users\n"), std::string::npos);
  EXPECT_NE(run.console.find(" Done, found 1 scoreID's\n"), std::string::npos);
  EXPECT_NE(dir.Read("PilotStats3.html").find("<TD>P</TD>"), std::string::npos);
}

}  // namespace
}  // namespace tallyhawk::testing

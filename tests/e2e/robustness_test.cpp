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

// The characters the configuration readers care about, NUL and 0xFF included.
const std::string kConfigText =
    "[]=:/\\ \t\r\n\v\f0123456789-+UserSquadTopXDoWinsHTML\0\xff"s;

// `size` random bytes of `alphabet`, or of any value when it is empty.
std::string Draw(std::mt19937_64& engine, size_t size,
                 const std::string& alphabet = "") {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    const uint64_t r = engine();
    c = alphabet.empty() ? static_cast<char>(r) : alphabet[r % alphabet.size()];
  }
  return bytes;
}

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
    std::mt19937_64 engine(seed);
    TempDir dir;
    dir.Write("user.dat", Draw(engine, 196 * 40 + seed));
    dir.Write("squad.dat", Draw(engine, 72 * 30 + seed));
    dir.Write("score.dat", Draw(engine, 28 * 200 + seed));
    dir.Write("tallyhawk.ini",
              seed % 2 ? Draw(engine, 5000, kConfigText) : Draw(engine, 3000));
    dir.Write("zoneinfo.txt",
              seed % 3 ? Draw(engine, 4000, kConfigText) : Draw(engine, 2000));
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
